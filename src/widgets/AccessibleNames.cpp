#include "widgets/AccessibleNames.h"

#include <QAbstractButton>
#include <QLabel>

QString AccessibleNameOf(const QString& caption)
{
    QString name;
    name.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&') {
            if (i + 1 < caption.size() && caption.at(i + 1) == u'&')
                name.append(u'&');
            ++i;
            if (i >= caption.size())
                break;
        }
        name.append(caption.at(i));
    }
    name = name.trimmed();
    if (name.endsWith(QLatin1String("...")))
        name.chop(3);
    else if (name.endsWith(u':'))
        name.chop(1);
    return name.trimmed();
}

void LabelFor(QLabel* label, QWidget* field)
{
    label->setBuddy(field);
    field->setAccessibleName(AccessibleNameOf(label->text()));
}

void NameButton(QAbstractButton* button, const QString& name)
{
    button->setAccessibleName(name);
    button->setToolTip(name);
}

void NameControl(QWidget* control, const QString& name)
{
    control->setAccessibleName(name);
}
