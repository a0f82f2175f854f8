#include "widgets/AccessibleNames.h"

#include <QAbstractButton>
#include <QLabel>

QString accessibleNameOf(const QString& caption)
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

void labelFor(QLabel* label, QWidget* field)
{
    label->setBuddy(field);
    field->setAccessibleName(accessibleNameOf(label->text()));
}

void nameButton(QAbstractButton* button, const QString& name)
{
    button->setAccessibleName(name);
    button->setToolTip(name);
}

void nameControl(QWidget* control, const QString& name)
{
    control->setAccessibleName(name);
}
