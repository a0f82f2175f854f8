// The survey file commands of the main window: open, close, save, save as, new, and the question
// to save before the survey is dropped.
#include "shell/frmMain.h"

#include "designer/DesignScreen.h"
#include "document/SurveyFile.h"
#include "platform/AppPath.h"
#include "platform/Dialogs.h"
#include "platform/HelpWindow.h"
#include "platform/RichTextBox.h"
#include "platform/Rtf.h"
#include "platform/TempFile.h"
#include "platform/TextUtil.h"
#include "platform/TreeNodes.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QTreeWidget>

#include <filesystem>
#include <system_error>

namespace {

const QString kSurveyFilter = QStringLiteral("Orvalen Tessivo (*.tvq)|*.tvq");
const QString kSource = QStringLiteral("Tessivo");
constexpr int kErrFileNotFound = 53;
constexpr int kErrPathAccess = 75;

}  // namespace

// Opening and closing

bool frmMain::DoOpen(const QString& sFilename, bool bIsNew, int SelectIndex)
{
    session_.OpenIsNew = bIsNew;
    session_.CurrentFile = sFilename;
    setStatusFile(IsUntitledPath(sFilename) ? QString() : sFilename);

    try {
        SurveyFile::OpenConnection(session_.SurveyConnection, sFilename);
        if (const auto found = SurveyFile::VersionMismatch(session_.SurveyConnection)) {
            Dialogs::MsgBox(SurveyFile::VersionMismatchMessage(*found), Dialogs::OKOnly, Dialogs::NoIcon);
            ResetAfterFailedOpen();
            return false;
        }

        // The file is read whole before anything is replaced, so a file that fails half way
        // leaves no half-loaded survey behind.
        clsSurvey loaded;
        SurveyFile::Load(session_.SurveyConnection, loaded);

        design_->ResetTree();
        session_.Survey = loaded;
        LoadMatrixResponses();

        QTreeWidgetItem* selected = nullptr;
        QTreeWidgetItem* last = nullptr;
        for (int i = 1; i <= session_.Survey.QCount(); ++i) {
            const QPtr q = session_.Survey.GetQIndex(i);
            last = design_->AddQuestionNode(q->Key, DesignScreen::NodeCaption(*q));
            if (i == SelectIndex)
                selected = last;
        }
        // The pane shows the selected question as loaded, responses included.
        design_->SelectNode(selected ? selected : (last ? last : design_->RootNode()));

        session_.setFileChanged(false);
        session_.CurrentFile = sFilename;
        RefreshRespondeSummaryReportList(1, 0);
        RefreshRespondentList(1, 0);
        return true;
    } catch (const db::Error& e) {
        Dialogs::MsgBox(QStringLiteral("Unable to open ") + sFilename + QStringLiteral(". ") + e.description()
                            + QStringLiteral(". ") + QString::number(e.number()),
                        Dialogs::OKOnly, Dialogs::Critical);
        ResetAfterFailedOpen();
        return false;
    }
}

void frmMain::ResetAfterFailedOpen()
{
    const QString rejected = session_.CurrentFile;
    DoClose();
    session_.Survey.ClearAll();
    session_.setFileChanged(false);

    // A new survey whose own file fails to open (a damaged template) is not retried.
    if (rejected == untitledFile_) {
        QFile::remove(rejected);
        untitledFile_.clear();
        return;
    }
    if (resetting_)
        return;
    resetting_ = true;
    try {
        StartNewSurvey();
    } catch (const db::Error&) {
        // Without a template the program stays with no survey open; New reports why.
    }
    resetting_ = false;
}

void frmMain::DoClose()
{
    design_->tvTreeView->clear();
    design_->ClearEditor();
    session_.SurveyConnection.Close();
    session_.CurrentFile.clear();
    setStatusFile(QString());
    design_->ResetTree();
    design_->SelectNode(design_->RootNode());
}

// Saving

void frmMain::ReportSaveFailure(const QString& fileName, const db::Error& error)
{
    Dialogs::MsgBox(QStringLiteral("Unable to write to file ") + fileName + QLatin1Char(' ') + error.description()
                        + QLatin1Char(' ') + QString::number(error.number()) + QLatin1Char(' ') + error.source(),
                    Dialogs::OKOnly, Dialogs::Critical);
}

void frmMain::SaveAndReload()
{
    QTreeWidgetItem* node = design_->tvTreeView->currentItem();
    const QString key = TreeNodes::Key(node);
    const int selected = (node && key != QLatin1String("S_Parent")) ? session_.Survey.GetQIndexFromKey(key) : -1;

    SurveyFile::Save(session_.SurveyConnection, session_.Survey);

    const QString file = session_.CurrentFile;
    DoClose();
    session_.CurrentFile = file;
    DoOpen(file, false, selected);
}

bool frmMain::DoSave()
{
    try {
        SaveAndReload();
        return true;
    } catch (const db::Error& e) {
        ReportSaveFailure(session_.CurrentFile, e);
        return false;
    }
}

void frmMain::CopyFile(const QString& from, const QString& to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        throw db::Error(QStringLiteral("Could not read '%1': %2").arg(from, in.errorString()), kErrFileNotFound, kSource);
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly))
        throw db::Error(QStringLiteral("Could not write '%1': %2").arg(to, out.errorString()), kErrPathAccess, kSource);
    const QByteArray bytes = in.readAll();
    if (out.write(bytes) != bytes.size() || !out.commit())
        throw db::Error(QStringLiteral("Could not write '%1': %2").arg(to, out.errorString()), kErrPathAccess, kSource);
}

bool frmMain::mnuFileSaveAs_Click()
{
    const QString old = session_.CurrentFile;
    Dialogs::FileRequest request;
    request.fileName = IsUntitledPath(old) ? QString() : old;
    request.filter = kSurveyFilter;
    request.flags = Dialogs::OverwritePrompt | Dialogs::HideReadOnly | Dialogs::PathMustExist
                    | Dialogs::NoReadOnlyReturn;
    const std::optional<QString> chosen = Dialogs::ShowSave(request);
    if (!chosen || chosen->isEmpty())
        return false;

    // The survey is written into a copy beside the chosen name, which replaces the chosen file
    // only once it is complete: a failure leaves both files as they were.
    const QString target = QFileInfo(*chosen).absoluteFilePath();
    QString part;
    try {
        session_.SurveyConnection.Close();
        session_.CurrentFile.clear();
        {
            QTemporaryFile temporary(QFileInfo(target).absolutePath() + QStringLiteral("/.tessivo-XXXXXX.part"));
            temporary.setAutoRemove(false);
            if (!temporary.open())
                throw db::Error(QStringLiteral("Could not create a file in '%1': %2")
                                    .arg(QFileInfo(target).absolutePath(), temporary.errorString()),
                                kErrPathAccess, kSource);
            part = temporary.fileName();
        }
        CopyFile(old.isEmpty() ? AppFile(QStringLiteral("blank.mdb")) : old, part);
        SurveyFile::OpenConnection(session_.SurveyConnection, part);
        SurveyFile::Save(session_.SurveyConnection, session_.Survey);
        session_.SurveyConnection.Close();
        std::error_code ec;
        std::filesystem::rename(part.toStdString(), target.toStdString(), ec);
        if (ec)
            throw db::Error(QStringLiteral("Could not replace '%1': %2").arg(target, QString::fromStdString(ec.message())),
                            kErrPathAccess, kSource);
        part.clear();
    } catch (const db::Error& e) {
        session_.SurveyConnection.Close();
        if (!part.isEmpty())
            QFile::remove(part);
        ReportSaveFailure(*chosen, e);
        session_.CurrentFile = old;
        if (!old.isEmpty()) {
            try {
                SurveyFile::OpenConnection(session_.SurveyConnection, old);
            } catch (const db::Error& reopen) {
                Dialogs::MsgBox(QStringLiteral("Unable to open ") + old + QStringLiteral(". ") + reopen.description()
                                    + QStringLiteral(". ") + QString::number(reopen.number()),
                                Dialogs::OKOnly, Dialogs::Critical);
            }
        }
        return false;
    }
    DoClose();
    return DoOpen(target, true, 1);
}

bool frmMain::SaveCurrent()
{
    if (session_.CurrentFile.isEmpty() || IsUntitledPath(session_.CurrentFile))
        return mnuFileSaveAs_Click();
    return DoSave();
}

bool frmMain::mnuFileSave_Click()
{
    return SaveCurrent();
}

// Unsaved changes

bool frmMain::IsFileChanged() const
{
    // One untouched question (a new survey's blank first question) is nothing to save.
    if (session_.Survey.QCount() == 1) {
        const QPtr q = session_.Survey.GetQIndex(1);
        if (design_->txtQ->Text().isEmpty() && rtf::toPlainText(q->Question, 1).isEmpty() && q->ResponsesCount() == 0)
            return false;
    }
    return session_.FileChanged();
}

bool frmMain::SavePrompt()
{
    if (!IsFileChanged())
        return true;
    switch (Dialogs::MsgBox(QStringLiteral("Do you want to save the changes you made?"), Dialogs::YesNoCancel,
                            Dialogs::Question)) {
    case Dialogs::Yes:
        return SaveCurrent();
    case Dialogs::No:
        return true;
    default:
        return false;
    }
}

// New, Open, Close

QString frmMain::CreateUntitledFile()
{
    const QString file = TrimNull(CreateTempFileName(AppPath(), QStringLiteral("HC")));
    if (file.isEmpty()) {
        throw db::Error(QStringLiteral("Could not create a new file in the folder %1")
                            .arg(QDir::toNativeSeparators(AppPath())),
                        kErrPathAccess, kSource);
    }
    try {
        CopyFile(AppFile(QStringLiteral("blank.mdb")), file);
    } catch (const db::Error&) {
        QFile::remove(file);
        throw;
    }
    return file;
}

bool frmMain::StartNewSurvey()
{
    // The template is copied before the open survey is closed, so a missing template leaves it open.
    const QString file = CreateUntitledFile();
    DoClose();
    untitledFile_ = file;
    return DoOpen(file, true, -1);
}

bool frmMain::mnuNew_Click()
{
    if (!SavePrompt())
        return false;
    try {
        return StartNewSurvey();
    } catch (const db::Error& e) {
        Dialogs::MsgBox(QStringLiteral("Unable to create a new survey. ") + e.description(), Dialogs::OKOnly,
                        Dialogs::Critical);
        return false;
    }
}

void frmMain::mnuFileOpen_Click()
{
    try {
        if (!SavePrompt())
            return;
        Dialogs::FileRequest request;
        request.filter = kSurveyFilter;
        request.flags = Dialogs::FileMustExist | Dialogs::HideReadOnly;
        const std::optional<QString> name = Dialogs::ShowOpen(request);
        if (!name || name->isEmpty())
            return;
        DoClose();
        DoOpen(*name, true, 1);
    } catch (const std::exception&) {
        Dialogs::MsgBox(QStringLiteral("Unable to open file."), Dialogs::OKOnly, Dialogs::Critical);
    }
}

void frmMain::mnuFileClose_Click()
{
    mnuNew_Click();
}

void frmMain::mnuFileExit_Click()
{
    close();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (IsFileChanged()) {
        if (!SavePrompt()) {
            event->ignore();
            return;
        }
    } else if (IsUntitledPath(session_.CurrentFile) && session_.CurrentFile == untitledFile_) {
        // Only the file New made is deleted; a user's own file ending in ".tmp" never is.
        session_.SurveyConnection.Close();
        QFile::remove(session_.CurrentFile);
    }
    Help::WinHelp(this, helpFile_, Help::HELP_QUIT, 0);
    event->accept();
}
