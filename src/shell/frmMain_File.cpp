// The survey file commands of the main window: open, close, save, save as, new, and the question
// to save before the survey is dropped.
#include "shell/frmMain.h"

#include "designer/DesignScreen.h"
#include "document/StoredSurvey.h"
#include "document/SurveyFile.h"
#include "widgets/Dialogs.h"
#include "widgets/HelpWindow.h"
#include "widgets/ReportError.h"
#include "widgets/RichTextBox.h"
#include "platform/Rtf.h"
#include "platform/TextUtil.h"
#include "widgets/TreeNodes.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QTreeWidget>

namespace {

const QString kSurveyFilter = QStringLiteral("Orvalen Tessivo (*.tvq)|*.tvq");
const QString kCannotWrite = QStringLiteral("Unable to write to file ");

const QString kDamagedMessage = QStringLiteral(
    "The survey file is damaged. The questions were saved to a new survey made from the template; the answers "
    "could not be carried over.");
const QString kDamagedScalesMessage = QStringLiteral(
    "The survey file is damaged. The questions were saved to a new survey made from the template; the answers "
    "and the answer scales could not be carried over.");

}  // namespace

// Opening and closing

bool frmMain::DoOpen(const QString& sFilename, bool bIsNew, int SelectIndex)
{
    session_.OpenIsNew = bIsNew;
    session_.PlaceholderKey.clear();
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
        ReportError(QStringLiteral("Unable to open ") + sFilename, e, ErrorDetail::Sentences);
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
    const QScopedValueRollback<bool> resettingGuard(resetting_, true);
    try {
        StartNewSurvey();
    } catch (const db::Error& e) {
        // The program stays with no survey open, and says why.
        ReportNewFailure(e);
    }
}

void frmMain::DoClose()
{
    design_->removeAllNodes();
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
    ReportError(kCannotWrite + fileName, error);
}

void frmMain::SaveAndReload()
{
    QTreeWidgetItem* node = design_->currentNode();
    const QString key = TreeNodes::Key(node);
    int selected = (node && key != QLatin1String("S_Parent")) ? session_.Survey.GetQIndexFromKey(key) : -1;

    const int leftOut = session_.save();
    // A blank placeholder that was not stored comes back after the reload, at the end.
    const bool placeholderSelected = leftOut > 0 && selected == leftOut;
    if (leftOut > 0 && selected > leftOut)
        --selected;

    const QString file = session_.CurrentFile;
    DoClose();
    session_.CurrentFile = file;
    if (DoOpen(file, false, placeholderSelected ? -1 : selected) && leftOut > 0)
        AddPlaceholderQuestion(placeholderSelected);
}

void frmMain::AddPlaceholderQuestion(bool select)
{
    QTreeWidgetItem* kept = design_->currentNode();
    const bool changed = session_.FileChanged();
    AddBlankOpenEndedQuestion();
    session_.PlaceholderKey = session_.Survey.GetQIndex(session_.Survey.QCount())->Key;
    if (!select && kept)
        design_->SelectNode(kept);
    session_.setFileChanged(changed);
}

bool frmMain::DoSave()
{
    try {
        SaveAndReload();
        return true;
    } catch (const db::Error& e) {
        if (!session_.saveAsGetsAround(e)) {
            ReportSaveFailure(session_.CurrentFile, e);
            return false;
        }
        // The survey in memory can still be written to another file: the user is offered that at once.
        if (Dialogs::MsgBox(FailureText(kCannotWrite + session_.CurrentFile, e)
                                + QStringLiteral("\n\nDo you want to save the survey under another name?"),
                            Dialogs::YesNo, Dialogs::Critical)
            != Dialogs::Yes)
            return false;
        return mnuFileSaveAs_Click();
    }
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

    // A failure leaves every file as it was, and the open survey stays open.
    const bool placeholder = BlankPlaceholder(session_) != nullptr;
    SurveySession::Carried carried = SurveySession::Carried::Everything;
    try {
        carried = session_.saveAs(*chosen);
    } catch (const db::Error& e) {
        ReportSaveFailure(*chosen, e);
        return false;
    }
    DoClose();
    // The survey lives in the chosen file now: an untitled file it came from holds nothing more,
    // unless it is the chosen file itself, which is then the user's.
    if (QFileInfo(*chosen).canonicalFilePath() != QFileInfo(old).canonicalFilePath())
        DropUntitledFile(old);
    else if (old == untitledFile_)
        untitledFile_.clear();
    const bool opened = DoOpen(QFileInfo(*chosen).absoluteFilePath(), true, 1);
    if (opened && placeholder)
        AddPlaceholderQuestion(false);
    if (carried != SurveySession::Carried::Everything)
        Dialogs::MsgBox(carried == SurveySession::Carried::QuestionsAndScales ? kDamagedMessage : kDamagedScalesMessage,
                        Dialogs::OKOnly, Dialogs::Exclamation);
    return opened;
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
        if (design_->editorIsEmpty() && rtf::toPlainText(q->Question, 1).isEmpty() && q->ResponsesCount() == 0)
            return false;
    }
    return session_.FileChanged();
}

bool frmMain::UntitledHoldsRespondents()
{
    if (untitledFile_.isEmpty() || session_.CurrentFile != untitledFile_ || !session_.SurveyConnection.isOpen())
        return false;
    try {
        return !session_.SurveyConnection.OpenRecordset(QStringLiteral("SELECT 1 FROM respondent LIMIT 1")).atEnd();
    } catch (const db::Error&) {
        return true;  // what cannot be read is not thrown away unasked
    }
}

bool frmMain::SavePrompt()
{
    if (!IsFileChanged() && !UntitledHoldsRespondents())
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

void frmMain::DropUntitledFile(const QString& file)
{
    if (file.isEmpty() || file != untitledFile_)
        return;
    if (session_.CurrentFile == file)
        session_.SurveyConnection.Close();
    QFile::remove(file);
    untitledFile_.clear();
}

bool frmMain::StartNewSurvey()
{
    // The template is copied before the open survey is closed, so a missing template leaves it open.
    const QString file = SurveySession::createUntitledFile();
    const QString replaced = session_.CurrentFile;
    DoClose();
    // The save question has been answered: an untitled survey replaced now was saved or discarded.
    DropUntitledFile(replaced);
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
        ReportNewFailure(e);
        return false;
    }
}

void frmMain::ReportNewFailure(const db::Error& error)
{
    ReportError(QStringLiteral("Unable to create a new survey."), error, ErrorDetail::Description);
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
        const QString replaced = session_.CurrentFile;
        DoClose();
        DropUntitledFile(replaced);
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
    if (!SavePrompt()) {
        event->ignore();
        return;
    }
    // Saved under a name, discarded, or nothing in it to keep. Only the file New made is deleted;
    // a user's own file ending in ".tmp" never is.
    DropUntitledFile(session_.CurrentFile);
    Help::WinHelp(this, helpFile_, Help::HELP_QUIT, 0);
    event->accept();
}
