#pragma once

#include <QString>

#include <functional>
#include <memory>

class QWidget;
class frmMain;

// A main window, not started yet, that holds its own session and library connection as main()
// holds them for the program: they are made before the window and go after it.
std::unique_ptr<frmMain> newMainWindow();

// Main with the command line on a new window, as the program runs it (the tip of the day and the
// first-run prompt as the settings say).
std::unique_ptr<frmMain> runMain(const QString& commandLine = QString());

// Starts the program as a user does (Main with the command line), with the start-up extras that
// would wait for a person turned off: no tip of the day, no first-run prompt, and a splash screen
// that closes after a few milliseconds.
std::unique_ptr<frmMain> startProgram(const QString& commandLine = QString());

// Closes the program without any save question and ends the scripted prompts; returns the
// prompts that appeared without a scripted answer, joined for a failure message ("" when none).
QString stopProgram(std::unique_ptr<frmMain>& window);

// Shortens the splash screen to a few milliseconds, for tests that run Main themselves.
void quickSplash();

// Waits (up to two seconds) for the next modal dialog whose objectName is given, lets the test
// look at it, then closes it. Call before the code that opens the dialog; the record of what was
// seen is filled once it has appeared.
struct ModalSeen {
    bool shown = false;
};
std::shared_ptr<ModalSeen> handleNextModal(const QString& objectName, std::function<void(QWidget*)> inspect = {});
