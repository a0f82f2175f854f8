#pragma once

#include <QString>

#include <memory>

class frmMain;

// The program's start: shows the main window with the survey named by the command line (or a new
// one), then appends a blank open-ended question. The caller runs the event loop and owns the
// window.
std::unique_ptr<frmMain> Main(const QString& commandLine);
