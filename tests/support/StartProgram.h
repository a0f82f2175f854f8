#pragma once

#include <QString>

#include <memory>

class frmMain;

// Starts the program as a user does (Main with the command line), with the start-up extras that
// would wait for a person turned off: no tip of the day, no first-run prompt.
std::unique_ptr<frmMain> StartProgram(const QString& commandLine = QString());
