#include "widgets/ScreenParts.h"

#include "widgets/AccessibleNames.h"
#include "widgets/Twips.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

QLabel* MakeLabel(const QString& name, const QString& text, QWidget* parent, int pointDelta, bool bold)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() + pointDelta);
    f.setBold(bold);
    label->setFont(f);
    return label;
}

QWidget* MakeTitlePanel(QWidget* parent, const QString& panelName, const QString& labelName, const QString& caption)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(panelName);
    QLabel* title = MakeLabel(labelName, caption, panel, 6, true);
    Twips::Place(panel, 0, 0, 12000, 500);
    Twips::Place(title, 150, 60, 6000, 400);
    PaintPanel(panel, QColor(43, 79, 129), Qt::white);
    return panel;
}

void PaintPanel(QWidget* panel, const QColor& background, const QColor& text)
{
    panel->setAutoFillBackground(true);
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    panel->setPalette(p);
}

int ColumnWidthsSum(const QTableView* grid, int except)
{
    int sum = 0;
    for (int col = 0; col < grid->model()->columnCount(); ++col) {
        if (col != except)
            sum += Twips::FromPixelsX(grid->columnWidth(col));
    }
    return sum;
}

void WidenColumnOne(QTableView* grid)
{
    const int sum = ColumnWidthsSum(grid);
    const int width = Twips::Width(grid);
    if (width > sum)
        grid->setColumnWidth(1, Twips::ToPixelsX(width - sum + Twips::FromPixelsX(grid->columnWidth(1)) - 100));
}

QLabel* MakeInstructions(QWidget* parent, const QString& text, int index)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("lblInstructions"));
    label->setProperty("Index", index);
    label->setWordWrap(true);
    return label;
}

QLabel* MakeArrayLabel(const QString& name, int index, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setProperty("Index", index);
    return label;
}

QPushButton* MakeButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QPushButton* MakePictureButton(const QString& name, const QIcon& picture, const QString& what, QWidget* parent)
{
    QPushButton* button = MakeButton(name, QString(), parent);
    button->setIcon(picture);
    NameButton(button, what);
    return button;
}
