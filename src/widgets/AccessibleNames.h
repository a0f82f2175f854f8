#pragma once

#include <QString>

class QAbstractButton;
class QLabel;
class QWidget;

// Names of the controls for screen readers and other assistive technology. Every control the
// keyboard can reach gets one, set here when the control is made:
// - a field with a label over or beside it (text box, list, drop-down list, tree): labelFor, so
//   the label moves the focus to the field and names it;
// - a button whose caption is a picture, or repeats another button's caption on the same screen:
//   nameButton, with what it does to what ("Move question up", "Add response");
// - a field without a label of its own: nameControl.
// A button or option with a caption of its own is named by it and needs nothing here.

// Links the label to the field (the label's mnemonic then focuses it) and names the field after the
// label's text, without its "&" and a closing ":".
void labelFor(QLabel* label, QWidget* field);

// Gives the button an accessible name and a tooltip that say what it does.
void nameButton(QAbstractButton* button, const QString& name);

// Gives a control without a label an accessible name.
void nameControl(QWidget* control, const QString& name);

// A caption as a name: without the "&" of its mnemonic ("&&" stays one "&") and without a
// closing ":" or "...".
QString accessibleNameOf(const QString& caption);
