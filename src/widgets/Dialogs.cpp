#include "widgets/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QRegularExpression>

#include <deque>
#include <variant>

namespace Dialogs {

namespace {

struct FileAnswer {
    std::optional<QString> path;
};
struct PrinterAnswer {
    bool accept;
};
using Scripted = std::variant<Answer, FileAnswer, PrinterAnswer>;

struct ScriptState {
    bool active = false;
    std::deque<Scripted> queue;
    QStringList shown;
    QStringList unexpected;
    QString lastText;
    QString lastTitle;
    Buttons lastButtons = OKOnly;
    Icon lastIcon = NoIcon;
    FileRequest lastFile;
};

ScriptState& script()
{
    static ScriptState s;
    return s;
}

QWidget* dialogParent()
{
    QWidget* w = QApplication::activeModalWidget();
    if (!w)
        w = QApplication::activeWindow();
    return w;
}

Answer defaultAnswer(Buttons buttons)
{
    return buttons == OKOnly ? OK : Cancel;
}

bool fits(Answer a, Buttons buttons)
{
    switch (buttons) {
    case OKOnly:
        return a == OK;
    case OKCancel:
        return a == OK || a == Cancel;
    case YesNoCancel:
        return a == Yes || a == No || a == Cancel;
    case YesNo:
        return a == Yes || a == No;
    case RetryCancel:
        return a == Retry || a == Cancel;
    }
    return false;
}

std::optional<QString> scriptedFile(const FileRequest& request, const QString& kind)
{
    ScriptState& s = script();
    s.lastFile = request;
    s.shown << QStringLiteral("file dialog: ") + kind;
    if (s.queue.empty() || !std::holds_alternative<FileAnswer>(s.queue.front())) {
        s.unexpected << QStringLiteral("file dialog: ") + kind;
        return std::nullopt;
    }
    const FileAnswer a = std::get<FileAnswer>(s.queue.front());
    s.queue.pop_front();
    return a.path;
}

bool scriptedPrinter(const QString& kind)
{
    ScriptState& s = script();
    s.shown << QStringLiteral("printer dialog: ") + kind;
    if (s.queue.empty() || !std::holds_alternative<PrinterAnswer>(s.queue.front())) {
        s.unexpected << QStringLiteral("printer dialog: ") + kind;
        return false;
    }
    const PrinterAnswer a = std::get<PrinterAnswer>(s.queue.front());
    s.queue.pop_front();
    return a.accept;
}

QString defaultSuffix(const QString& filter)
{
    static const QRegularExpression ext(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    const QRegularExpressionMatch m = ext.match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
}

} // namespace

QString appTitle()
{
    return QStringLiteral("Orvalen Tessivo");
}

Answer msgBox(const QString& prompt, Buttons buttons, Icon icon, const QString& title)
{
    const QString caption = title.isEmpty() ? appTitle() : title;
    ScriptState& s = script();
    if (s.active) {
        s.shown << prompt;
        s.lastText = prompt;
        s.lastTitle = caption;
        s.lastButtons = buttons;
        s.lastIcon = icon;
        if (s.queue.empty() || !std::holds_alternative<Answer>(s.queue.front())
            || !fits(std::get<Answer>(s.queue.front()), buttons)) {
            s.unexpected << prompt;
            return defaultAnswer(buttons);
        }
        const Answer a = std::get<Answer>(s.queue.front());
        s.queue.pop_front();
        return a;
    }

    QMessageBox box(dialogParent());
    box.setWindowTitle(caption);
    // Messages carry file names, answers and servers' texts: never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(prompt);
    switch (icon) {
    case Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Information:
        box.setIcon(QMessageBox::Information);
        break;
    case NoIcon:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    switch (buttons) {
    case OKOnly:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case OKCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case RetryCancel:
        box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return OK;
    case QMessageBox::Yes:
        return Yes;
    case QMessageBox::No:
        return No;
    case QMessageBox::Retry:
        return Retry;
    default:
        return buttons == OKOnly ? OK : Cancel;
    }
}

QStringList qtFilters(const QString& filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts.at(i);
        const QString patterns = QString(parts.at(i + 1)).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (!description.contains(QLatin1Char('(')))
            description += QStringLiteral(" (") + patterns + QLatin1Char(')');
        result << description;
    }
    if (result.isEmpty() && !filter.isEmpty())
        result << filter;
    return result;
}

std::optional<QString> showOpen(const FileRequest& request)
{
    if (script().active)
        return scriptedFile(request, request.title.isEmpty() ? QStringLiteral("Open") : request.title);

    QFileDialog dialog(dialogParent(), request.title.isEmpty() ? QStringLiteral("Open") : request.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Any name may be typed, also one the filter hides: the dialog's existing-file mode would
    // refuse every name outside its filtered list, so the file's existence is checked here.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(qtFilters(request.filter));
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString path = dialog.selectedFiles().constFirst();
        const QFileInfo info(path);
        if ((request.flags & FileMustExist) && !info.isFile()) {
            msgBox(
                QStringLiteral("%1 was not found. Check the file name and try again.").arg(path), OKOnly, Exclamation);
            continue;
        }
        if ((request.flags & PathMustExist) && !info.absoluteDir().exists()) {
            msgBox(QStringLiteral("The folder of %1 does not exist.").arg(path), OKOnly, Exclamation);
            continue;
        }
        return path;
    }
    return std::nullopt;
}

std::optional<QString> showSave(const FileRequest& request)
{
    if (script().active)
        return scriptedFile(request, request.title.isEmpty() ? QStringLiteral("Save As") : request.title);

    QFileDialog dialog(dialogParent(), request.title.isEmpty() ? QStringLiteral("Save As") : request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(qtFilters(request.filter));
    dialog.setDefaultSuffix(defaultSuffix(request.filter));
    if (!(request.flags & OverwritePrompt))
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString path = dialog.selectedFiles().constFirst();
        const QFileInfo info(path);
        if ((request.flags & PathMustExist) && !info.absoluteDir().exists()) {
            msgBox(QStringLiteral("The folder of %1 does not exist.").arg(path), OKOnly, Exclamation);
            continue;
        }
        if ((request.flags & NoReadOnlyReturn) && info.exists() && !info.isWritable()) {
            msgBox(QStringLiteral("%1 is read-only. Choose another name.").arg(path), OKOnly, Exclamation);
            continue;
        }
        return path;
    }
    return std::nullopt;
}

bool showPrinter(QPrinter& printer)
{
    if (script().active)
        return scriptedPrinter(QStringLiteral("Print"));
    QPrintDialog dialog(&printer, dialogParent());
    return dialog.exec() == QDialog::Accepted;
}

bool showPageSetup(QPrinter& printer)
{
    if (script().active)
        return scriptedPrinter(QStringLiteral("Page Setup"));
    QPageSetupDialog dialog(&printer, dialogParent());
    return dialog.exec() == QDialog::Accepted;
}

namespace Script {

void begin()
{
    script() = ScriptState {};
    script().active = true;
}

void end()
{
    script() = ScriptState {};
}

bool active()
{
    return script().active;
}

void answer(Answer a)
{
    script().queue.emplace_back(a);
}

void fileName(const QString& path)
{
    script().queue.emplace_back(FileAnswer { path });
}

void cancelFile()
{
    script().queue.emplace_back(FileAnswer { std::nullopt });
}

void printerDialog(bool accept)
{
    script().queue.emplace_back(PrinterAnswer { accept });
}

int pending()
{
    return int(script().queue.size());
}

QStringList shown()
{
    return script().shown;
}

QStringList unexpected()
{
    return script().unexpected;
}

QString lastText()
{
    return script().lastText;
}

Buttons lastButtons()
{
    return script().lastButtons;
}

Icon lastIcon()
{
    return script().lastIcon;
}

QString lastTitle()
{
    return script().lastTitle;
}

FileRequest lastFileRequest()
{
    return script().lastFile;
}

} // namespace Script

} // namespace Dialogs
