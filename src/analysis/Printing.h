#pragma once

#include <QPageSize>
#include <QPrinter>
#include <QString>
#include <QStringList>

class QWidget;

// Page setup and printing of the File menu: the program's current printer, set up by the
// page-setup dialog, and the print command that prints a picture of the active window.
namespace Printing {

// The printer all printing goes through; it starts as the system's default printer and keeps
// the choices of page setup until the program ends.
QPrinter& currentPrinter();

// Page margins in thousandths of an inch.
struct Margins {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;
};

// What the page-setup dialog chose.
struct PageChoice {
    QString deviceName;
    QPageSize pageSize;
    QPrinter::PaperSource paperSource = QPrinter::Auto;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

// Makes the chosen printer the current one when it is among the installed printers (by its
// exact name), then gives the current printer the chosen paper size, source and orientation.
void applyPageSetup(QPrinter& current, const PageChoice& choice, const QStringList& installed);

// The page-setup dialog, opened on the system's default printer and its own settings. False,
// with nothing shown or changed, when no printer is installed; false when cancelled. On true
// the margins hold the dialog's margins.
bool ShowPageSetupDialog(QWidget* owner, Margins& margins);

// The print command: after the print dialog, the active window's picture (or `window`'s when no
// window is active) goes through the clipboard onto one page, at its own size, its top-left
// corner at the top-left of the printable area. Failures after the dialog are passed over.
void DoPrint(QWidget* window);

} // namespace Printing
