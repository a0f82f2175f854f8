#include "analysis/Printing.h"

#include "widgets/Dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPrinterInfo>
#include <QWidget>

#include <cmath>
#include <memory>

namespace Printing {

QPrinter& currentPrinter()
{
    static std::unique_ptr<QPrinter> printer = [] {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        return info.isNull() ? std::make_unique<QPrinter>() : std::make_unique<QPrinter>(info);
    }();
    return *printer;
}

void applyPageSetup(QPrinter& current, const PageChoice& choice, const QStringList& installed)
{
    for (const QString& name : installed) {
        if (name == choice.deviceName) {
            current.setPrinterName(name);
            break;
        }
    }
    current.setPageSize(choice.pageSize);
    current.setPaperSource(choice.paperSource);
    current.setPageOrientation(choice.orientation);
}

bool ShowPageSetupDialog(QWidget* owner, Margins& margins)
{
    (void)owner; // the dialog's parent is the active window, as for every prompt
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull())
        return false;
    QPrinter chosen(defaultPrinter);
    if (!Dialogs::showPageSetup(chosen))
        return false;

    const QPageLayout layout = chosen.pageLayout();
    applyPageSetup(currentPrinter(),
        { chosen.printerName(), layout.pageSize(), chosen.paperSource(), layout.orientation() },
        QPrinterInfo::availablePrinterNames());
    const QMarginsF inches = layout.margins(QPageLayout::Inch);
    margins = { qint32(std::lround(inches.left() * 1000)), qint32(std::lround(inches.top() * 1000)),
        qint32(std::lround(inches.right() * 1000)), qint32(std::lround(inches.bottom() * 1000)) };
    return true;
}

void DoPrint(QWidget* window)
{
    QPrinter& printer = currentPrinter();
    if (!Dialogs::showPrinter(printer))
        return;

    // The snapshot goes through the clipboard, which holds it afterwards.
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    QWidget* active = QApplication::activeWindow();
    if (!active)
        active = window ? window->window() : nullptr;
    if (active)
        clipboard->setPixmap(active->grab());
    QApplication::processEvents();

    QPainter page;
    if (!page.begin(&printer))
        return; // no printer to print on
    const QImage picture = clipboard->image();
    if (!picture.isNull()) {
        // At its own size: the screen's pixels turned into the printer's, not fitted to the page.
        const double screenDpi = active ? active->logicalDpiX() : 96.0;
        const double scale = printer.resolution() / (screenDpi > 0 ? screenDpi : 96.0);
        const QSizeF size(picture.width() * scale / picture.devicePixelRatio(),
            picture.height() * scale / picture.devicePixelRatio());
        page.drawImage(QRectF(QPointF(0, 0), size), picture);
    }
    page.end();
}

} // namespace Printing
