#pragma once

#include <QString>

// The program's folder: where the executable lies with the files that ship beside it, and where
// the program's own writable files (untitled surveys, downloads) go.
QString AppPath();
// Points the program at another folder (tests give each program run its own).
void SetAppPath(const QString& folder);
// A file of the program's folder.
QString AppFile(const QString& name);
// The executable's own name (the settings of "Options" are kept under it).
QString AppExeName();
