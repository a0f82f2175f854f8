#pragma once

#include <QString>

#include <memory>

class frmMain;

// The names the desktop knows the program by, given to the application before Main: its name
// (which also names the user's data folder) and its desktop entry.
void SetApplicationIdentity();

// The program's start: the splash screen, then the main window with the survey named by the command
// line (or a new one) and a blank open-ended question appended; then the tip of the day when the
// user wants it and, on the very first start, the getting-started prompt. The caller runs the event
// loop and owns the window.
//
// The blank question added to a survey opened from the command line is a placeholder: it is no
// change to the survey, and no save stores it while it stays blank.
std::unique_ptr<frmMain> Main(const QString& commandLine);
