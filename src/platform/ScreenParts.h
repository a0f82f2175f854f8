#pragma once

#include <QString>

class QLabel;
class QWidget;

// The parts every screen opens with: a title panel with its caption, and an instruction label
// (the control array lblInstructions, element `index`).
QWidget* MakeTitlePanel(QWidget* parent, const QString& panelName, const QString& labelName, const QString& caption);
QLabel* MakeInstructions(QWidget* parent, const QString& text, int index);
// A label with a name, its font enlarged (or reduced) by some points and bold or not.
QLabel* MakeLabel(const QString& name, const QString& text, QWidget* parent, int pointDelta, bool bold);
