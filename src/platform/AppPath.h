#pragma once

#include <QString>

// The program's folders.
//
// The files the program ships with (the survey template, the question library, the tips and the
// help file) lie beside the executable in a build, and in the install's share/tessivo when the
// program is installed (the Debian package, `cmake --install`).
//
// What the program writes (untitled surveys, the web service's answers, the exchange file,
// downloaded results and the user's own copy of the question library) goes into the program's
// folder when the program runs from a folder that holds its files and the user may write into it
// (a build), and otherwise into the user's data folder (QStandardPaths::AppDataLocation).
struct ProgramFolders {
    QString shipped; // where the shipped files are read
    QString writable; // where the program's own files are written
};

// The folders of a program whose executable lies in the given folder.
ProgramFolders findProgramFolders(const QString& executableFolder);

// The folder of the shipped files.
QString appPath();
// A shipped file.
QString appFile(const QString& name);
// The folder the program writes its own files into; made (private to the user) when missing.
QString writablePath();
// A file of that folder.
QString writableFile(const QString& name);
// The question library to open: the shipped one when the program writes beside its shipped
// files, otherwise the user's own copy in the writable folder, copied from the shipped one on
// first use so that what the user adds to it is kept; a later update of the program's files
// leaves the copy as it is.
QString libraryFile();

// Points the program at other folders (tests give each program run its own).
void setProgramFolders(const ProgramFolders& folders);
// The same folder for both (an empty text goes back to the folders of the executable).
void setAppPath(const QString& folder);

// The executable's own name (the settings of "Options" are kept under it).
QString appExeName();
