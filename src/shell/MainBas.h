#pragma once

#include <QString>

class frmMain;

// The names the desktop knows the program by, given to the application before Main: its name
// (which also names the user's data folder) and its desktop entry.
void setApplicationIdentity();

// The program's start on its main window: the splash screen, then the window shown with the survey
// named by the command line (or a new one) and a blank open-ended question appended; then the tip
// of the day when the user wants it and, on the very first start, the getting-started prompt. The
// caller owns the window, and the session and library connection it works on, and runs the event
// loop.
//
// The blank question added to a survey opened from the command line is a placeholder: it is no
// change to the survey, and no save stores it while it stays blank.
void Main(frmMain& main, const QString& commandLine);
