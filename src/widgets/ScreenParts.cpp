#include "widgets/ScreenParts.h"

#include "widgets/AccessibleNames.h"
#include "widgets/Twips.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVariant>

QIcon styleIcon(const QWidget* widget, QStyle::StandardPixmap which)
{
    // Kept on the style itself, so that it goes with the style.
    QStyle* style = widget->style();
    const QByteArray key = QByteArrayLiteral("keptStandardIcon") + QByteArray::number(int(which));
    const QVariant kept = style->property(key.constData());
    if (kept.isValid())
        return kept.value<QIcon>();
    const QIcon icon = style->standardIcon(which);
    style->setProperty(key.constData(), QVariant::fromValue(icon));
    return icon;
}

QLabel* makeLabel(const QString& name, const QString& text, QWidget* parent, int pointDelta, bool bold)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() + pointDelta);
    f.setBold(bold);
    label->setFont(f);
    return label;
}

QWidget* makeTitlePanel(QWidget* parent, const QString& panelName, const QString& labelName, const QString& caption)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(panelName);
    QLabel* title = makeLabel(labelName, caption, panel, 6, true);
    Twips::place(panel, 0, 0, 12000, 500);
    Twips::place(title, 150, 60, 6000, 400);
    paintPanel(panel, QColor(43, 79, 129), Qt::white);
    return panel;
}

void paintPanel(QWidget* panel, const QColor& background, const QColor& text)
{
    panel->setAutoFillBackground(true);
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    panel->setPalette(p);
}

int columnWidthsSum(const QTableView* grid, int except)
{
    int sum = 0;
    for (int col = 0; col < grid->model()->columnCount(); ++col) {
        if (col != except)
            sum += Twips::fromPixelsX(grid->columnWidth(col));
    }
    return sum;
}

void widenColumnOne(QTableView* grid)
{
    const int sum = columnWidthsSum(grid);
    const int width = Twips::widthOf(grid);
    if (width > sum)
        grid->setColumnWidth(1, Twips::toPixelsX(width - sum + Twips::fromPixelsX(grid->columnWidth(1)) - 100));
}

QLabel* makeInstructions(QWidget* parent, const QString& text, int index)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("lblInstructions"));
    label->setProperty("Index", index);
    label->setWordWrap(true);
    return label;
}

QLabel* makeArrayLabel(const QString& name, int index, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setProperty("Index", index);
    return label;
}

QPushButton* makeCommandButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QPushButton* makePictureButton(const QString& name, const QIcon& picture, const QString& what, QWidget* parent)
{
    QPushButton* button = makeCommandButton(name, QString(), parent);
    button->setIcon(picture);
    nameButton(button, what);
    return button;
}
