#pragma once

#include <QString>

#include <memory>

class frmMain;

// The program's start: the splash screen, then the main window with the survey named by the command
// line (or a new one) and a blank open-ended question appended; then the tip of the day when the
// user wants it and, on the very first start, the getting-started prompt. The caller runs the event
// loop and owns the window.
std::unique_ptr<frmMain> Main(const QString& commandLine);
