#pragma once

#include <QString>

class QIcon;
class QLabel;
class QPushButton;
class QWidget;

// The parts every screen opens with: a title panel with its caption, and an instruction label
// (the control array lblInstructions, element `index`).
QWidget* MakeTitlePanel(QWidget* parent, const QString& panelName, const QString& labelName, const QString& caption);
QLabel* MakeInstructions(QWidget* parent, const QString& text, int index);
// A label with a name, its font enlarged (or reduced) by some points and bold or not.
QLabel* MakeLabel(const QString& name, const QString& text, QWidget* parent, int pointDelta, bool bold);
// Element `index` of a control array of labels (objectName name, property Index).
QLabel* MakeArrayLabel(const QString& name, int index, const QString& text, QWidget* parent);
// A push button with a name and a caption.
QPushButton* MakeButton(const QString& name, const QString& caption, QWidget* parent);
// A push button that shows a picture instead of a caption; `what` says what it does ("Move
// question up"), as its accessible name and its tooltip.
QPushButton* MakePictureButton(const QString& name, const QIcon& picture, const QString& what, QWidget* parent);
