#include "designer/SelectComboByItemData.h"

#include <QComboBox>

void SelectComboByItemData(QComboBox* combo, const QString& number)
{
    if (!combo || combo->count() == 0)
        return;
    bool ok = false;
    const double wanted = number.trimmed().toDouble(&ok);
    if (!ok)
        return;
    for (int i = 0; i < combo->count(); ++i) {
        bool isNumber = false;
        const double data = combo->itemData(i).toDouble(&isNumber);
        if (isNumber && data == wanted) {
            combo->setCurrentIndex(i);
            return;
        }
    }
}
