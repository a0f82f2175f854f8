#pragma once

#include <QColor>
#include <QString>
#include <QStyle>

#include <algorithm>
#include <initializer_list>

class QIcon;
class QLabel;
class QPushButton;
class QTableView;
class QWidget;

// The parts every screen opens with: a title panel with its caption (white on blue), and an
// instruction label (the control array lblInstructions, element `index`).
QWidget* makeTitlePanel(QWidget* parent, const QString& panelName, const QString& labelName, const QString& caption);
QLabel* makeInstructions(QWidget* parent, const QString& text, int index);
// A label with a name, its font enlarged (or reduced) by some points and bold or not.
QLabel* makeLabel(const QString& name, const QString& text, QWidget* parent, int pointDelta, bool bold);
// Element `index` of a control array of labels (objectName name, property Index).
QLabel* makeArrayLabel(const QString& name, int index, const QString& text, QWidget* parent);
// A push button with a name and a caption.
QPushButton* makeCommandButton(const QString& name, const QString& caption, QWidget* parent);
// A push button that shows a picture instead of a caption; `what` says what it does ("Move
// question up"), as its accessible name and its tooltip.
QPushButton* makePictureButton(const QString& name, const QIcon& picture, const QString& what, QWidget* parent);
// The widget's style's standard picture `which`, read once per style: a style reads its pictures
// afresh, in every size, at each call, and the screens ask for the same few many times.
QIcon styleIcon(const QWidget* widget, QStyle::StandardPixmap which);

// Gives a panel its own background and text colours.
void paintPanel(QWidget* panel, const QColor& background, const QColor& text);

// What the main window gives each screen to lay itself out by, in twips: the window's outer size
// (frame, title bar and menu bar included), the status bar's height, and the place the three
// screens share (the Design screen's, in the window's central area).
struct ScreenSpace {
    int windowWidth = 0;
    int windowHeight = 0;
    int statusBarHeight = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A layout rule sets its values only when every width and height it computed can be set; one that
// cannot apply (a negative size while the window is very small) is skipped whole.
template <typename Apply> void layoutRule(std::initializer_list<int> sizes, Apply apply)
{
    if (std::all_of(sizes.begin(), sizes.end(), [](int size) { return size >= 0; }))
        apply();
}

// The sum in twips of the widths of a grid's columns, leaving out column `except`.
int columnWidthsSum(const QTableView* grid, int except = -1);
// When the grid is wider than its columns, column 1 takes the room left less 100 twips.
void widenColumnOne(QTableView* grid);
