#include "AccessibleControls.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QMap>
#include <QMetaEnum>
#include <QWidget>

namespace {

bool isInnerPart(const QWidget* w, const QWidget* root)
{
    if (w->window() != root->window())
        return true; // a popup of its own
    for (const QWidget* p = w->parentWidget(); p && p != root; p = p->parentWidget()) {
        if (qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QComboBox*>(p))
            return true;
    }
    return false;
}

QList<QWidget*> controls(const QWidget* root)
{
    QList<QWidget*> found;
    const QList<QWidget*> all = root->findChildren<QWidget*>();
    for (QWidget* w : all) {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->isHidden() && !isInnerPart(w, root))
            found << w;
    }
    return found;
}

QString nameOf(const QWidget* w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

QString nameOf(const QAccessibleInterface* iface)
{
    const QObject* object = iface->object();
    if (!object)
        return QStringLiteral("(no object)");
    return object->objectName().isEmpty() ? QString::fromLatin1(object->metaObject()->className())
                                          : object->objectName();
}

bool needsName(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::Chart:
    case QAccessible::Slider:
    case QAccessible::SpinBox:
    case QAccessible::ProgressBar:
        return true;
    default:
        return false;
    }
}

// Lists, tables and trees hold items of data; a drop-down list holds its popup list.
bool holdsItems(QAccessible::Role role)
{
    return role == QAccessible::List || role == QAccessible::Table || role == QAccessible::Tree
        || role == QAccessible::ComboBox;
}

void walk(QAccessibleInterface* iface, QStringList& unnamed)
{
    const QAccessible::Role role = iface->role();
    if (needsName(role) && iface->text(QAccessible::Name).trimmed().isEmpty())
        unnamed << QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(role)) + QLatin1Char(' ')
                + nameOf(iface);
    if (holdsItems(role))
        return;
    for (int i = 0; i < iface->childCount(); ++i) {
        if (QAccessibleInterface* child = iface->child(i))
            walk(child, unnamed);
    }
}

bool hasLabel(const QWidget* w)
{
    const QList<QLabel*> labels = w->window()->findChildren<QLabel*>();
    for (const QLabel* label : labels) {
        if (label->buddy() == w && !label->text().trimmed().isEmpty())
            return true;
    }
    return false;
}

} // namespace

QString accessibleNameOfControl(const QWidget* control)
{
    if (!control->accessibleName().isEmpty())
        return control->accessibleName();
    if (qobject_cast<const QComboBox*>(control))
        return hasLabel(control) ? QStringLiteral("(its label)") : QString();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(control));
    return iface ? iface->text(QAccessible::Name).trimmed() : QString();
}

QStringList unnamedControls(const QWidget* root)
{
    QStringList unnamed;
    for (const QWidget* w : controls(root)) {
        if (accessibleNameOfControl(w).isEmpty())
            unnamed << nameOf(w);
    }
    return unnamed;
}

QStringList unnamedInTree(const QWidget* root)
{
    QStringList unnamed;
    if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(root)))
        walk(iface, unnamed);
    return unnamed;
}

QString accessibleLabelOf(const QWidget* control)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(control));
    if (!iface)
        return QString();
    const auto labels = iface->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.constFirst().first->text(QAccessible::Name);
}

QStringList repeatedNames(const QWidget* root)
{
    QMap<QString, QStringList> byName;
    for (const QWidget* w : controls(root)) {
        const QString name = accessibleNameOfControl(w);
        if (!name.isEmpty())
            byName[name] << nameOf(w);
    }
    QStringList repeated;
    for (auto it = byName.cbegin(); it != byName.cend(); ++it) {
        if (it.value().size() > 1)
            repeated << it.key() + QStringLiteral(": ") + it.value().join(QStringLiteral(", "));
    }
    return repeated;
}
