#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;
class QWidget;

// Every message box and file dialog of the program goes through here. A cancelled file dialog is
// a result (no value), never an error. Tests script the answers in advance (Dialogs::Script); a
// prompt that finds no scripted answer is recorded as unexpected and answered with Cancel.
namespace Dialogs {

// The title of message boxes that give none of their own.
QString appTitle();

enum Buttons { OKOnly, OKCancel, YesNoCancel, YesNo, RetryCancel };
enum Icon { NoIcon, Critical, Question, Exclamation, Information };
enum Answer { OK = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7 };

Answer msgBox(const QString& prompt, Buttons buttons = OKOnly, Icon icon = NoIcon, const QString& title = QString());

// File dialog options.
enum FileFlag {
    OverwritePrompt = 0x2, // ask before replacing an existing file
    HideReadOnly = 0x4, // no read-only check box
    PathMustExist = 0x800, // the folder must exist
    FileMustExist = 0x1000, // the file must exist (open)
    NoReadOnlyReturn = 0x8000 // refuse a read-only file or folder
};

struct FileRequest {
    QString fileName; // pre-filled name (a path or a bare name)
    QString filter; // "Description (*.ext)|*.ext|..."
    int flags = 0;
    QString title;
};

// The chosen path, or nothing when the user cancelled.
std::optional<QString> showOpen(const FileRequest& request);
std::optional<QString> showSave(const FileRequest& request);

// Turns "Description (*.ext)|*.ext" into the filter list of a Qt file dialog.
QStringList qtFilters(const QString& filter);

// The printer dialogs on a printer, which they set up; false when the user cancelled.
bool showPrinter(QPrinter& printer);
bool showPageSetup(QPrinter& printer);

// Answers for tests, consumed in order by the prompts and file dialogs that follow.
namespace Script {
void begin(); // scripted mode on, nothing queued, nothing recorded
void end(); // back to real dialogs
bool active();
void answer(Answer a); // the next message box returns a
void fileName(const QString& path); // the next file dialog returns path
void cancelFile(); // the next file dialog is cancelled
void printerDialog(bool accept); // the next print or page-setup dialog is confirmed or cancelled
int pending(); // answers queued and not used yet
// Each prompt shown, as its text; each file dialog as "file dialog: " and its title or flags;
// each printer dialog as "printer dialog: " and its kind.
QStringList shown();
// Prompts that found no answer (or the wrong kind of answer) waiting.
QStringList unexpected();
// The last message box shown: its text, buttons and icon.
QString lastText();
Buttons lastButtons();
Icon lastIcon();
QString lastTitle();
// The last file dialog: its request.
FileRequest lastFileRequest();
} // namespace Script

} // namespace Dialogs
