#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// What assistive technology finds of the controls under a window or screen: every widget the
// keyboard can reach, also inside hidden panels and screens, except a control hidden itself (it
// is checked where it is shown) and the inner parts of compound controls (the line edit of a
// spin box or an editable drop-down list, the popup of a drop-down list).

// The accessible name of a control as a screen reader reads it: its own accessible name, else
// Qt's (a button's caption, a text box's label). A drop-down list is named only by its own name
// or a label linked to it (Qt would give its current entry).
QString accessibleNameOfControl(const QWidget* control);

// The controls without a name, each as its objectName (its class name when it has none).
QStringList unnamedControls(const QWidget* root);

// Names that two or more controls share, each as "name: objectName, objectName".
QStringList repeatedNames(const QWidget* root);

// What a screen reader lists of the window or screen through the accessibility tree (AT-SPI
// exports every object of it, hidden ones too): each object that a user can act on or read a
// value from (button, check or radio box, text field, drop-down list, list, table, tree, chart,
// slider, spin box, progress bar) and that has no name, as "role objectName". Items of lists,
// tables and trees are their data and are not walked, nor the popup list of a drop-down list.
QStringList unnamedInTree(const QWidget* root);

// The text of the label a screen reader reads with the control (its "labelled by" relation); ""
// when it has none.
QString accessibleLabelOf(const QWidget* control);
