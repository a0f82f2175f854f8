// The survey file commands of the main window: open, close, save, save as, new, and the question
// to save before the survey is dropped.
#include "designer/DesignScreen.h"
#include "document/RespondentAnswers.h"
#include "document/StoredSurvey.h"
#include "document/SurveyFile.h"
#include "platform/Rtf.h"
#include "platform/TextUtil.h"
#include "shell/frmMain.h"
#include "widgets/Dialogs.h"
#include "widgets/HelpWindow.h"
#include "widgets/ReportError.h"
#include "widgets/RichTextBox.h"
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

} // namespace

// Opening and closing

bool frmMain::DoOpen(const QString& sFilename, bool bIsNew, int SelectIndex)
{
    session_.OpenIsNew = bIsNew;
    session_.PlaceholderKey.clear();
    session_.CurrentFile = sFilename;
    setStatusFile(isUntitledPath(sFilename) ? QString() : sFilename);

    try {
        SurveyFile::openConnection(session_.SurveyConnection, sFilename);
        if (const auto found = SurveyFile::versionMismatch(session_.SurveyConnection)) {
            Dialogs::msgBox(SurveyFile::versionMismatchMessage(*found), Dialogs::OKOnly, Dialogs::NoIcon);
            resetAfterFailedOpen();
            return false;
        }

        // The file is read whole before anything is replaced, so a file that fails half way
        // leaves no half-loaded survey behind.
        clsSurvey loaded;
        SurveyFile::load(session_.SurveyConnection, loaded);

        design_->resetTree();
        session_.Survey = loaded;
        LoadMatrixResponses();

        QTreeWidgetItem* selected = nullptr;
        QTreeWidgetItem* last = nullptr;
        for (int i = 1; i <= session_.Survey.QCount(); ++i) {
            const QPtr q = session_.Survey.GetQIndex(i);
            last = design_->addQuestionNode(q->Key, DesignScreen::nodeCaption(*q));
            if (i == SelectIndex)
                selected = last;
        }
        // The pane shows the selected question as loaded, responses included.
        design_->selectNode(selected ? selected : (last ? last : design_->rootNode()));

        session_.setFileChanged(false);
        session_.CurrentFile = sFilename;
        RefreshRespondeSummaryReportList(1, 0);
        RefreshRespondentList(1, 0);
        return true;
    } catch (const db::Error& e) {
        reportError(QStringLiteral("Unable to open ") + sFilename, e, ErrorDetail::Sentences);
        resetAfterFailedOpen();
        return false;
    }
}

void frmMain::resetAfterFailedOpen()
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
        startNewSurvey();
    } catch (const db::Error& e) {
        // The program stays with no survey open, and says why.
        reportNewFailure(e);
    }
}

void frmMain::DoClose()
{
    design_->removeAllNodes();
    design_->clearEditor();
    session_.SurveyConnection.close();
    session_.CurrentFile.clear();
    setStatusFile(QString());
    design_->resetTree();
    design_->selectNode(design_->rootNode());
}

// Saving

void frmMain::reportSaveFailure(const QString& fileName, const db::Error& error)
{
    reportError(kCannotWrite + fileName, error);
}

void frmMain::saveAndReload()
{
    QTreeWidgetItem* node = design_->currentNode();
    const QString key = TreeNodes::keyOf(node);
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
        addPlaceholderQuestion(placeholderSelected);
}

void frmMain::addPlaceholderQuestion(bool select)
{
    QTreeWidgetItem* kept = design_->currentNode();
    const bool changed = session_.FileChanged();
    AddBlankOpenEndedQuestion();
    session_.PlaceholderKey = session_.Survey.GetQIndex(session_.Survey.QCount())->Key;
    if (!select && kept)
        design_->selectNode(kept);
    session_.setFileChanged(changed);
}

bool frmMain::DoSave()
{
    try {
        saveAndReload();
        return true;
    } catch (const db::Error& e) {
        if (!session_.saveAsGetsAround(e)) {
            reportSaveFailure(session_.CurrentFile, e);
            return false;
        }
        // The survey in memory can still be written to another file: the user is offered that at once.
        if (Dialogs::msgBox(failureText(kCannotWrite + session_.CurrentFile, e)
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
    request.fileName = isUntitledPath(old) ? QString() : old;
    request.filter = kSurveyFilter;
    request.flags
        = Dialogs::OverwritePrompt | Dialogs::HideReadOnly | Dialogs::PathMustExist | Dialogs::NoReadOnlyReturn;
    const std::optional<QString> chosen = Dialogs::showSave(request);
    if (!chosen || chosen->isEmpty())
        return false;

    // A failure leaves every file as it was, and the open survey stays open.
    const bool placeholder = blankPlaceholder(session_) != nullptr;
    SurveySession::Carried carried = SurveySession::Carried::Everything;
    try {
        carried = session_.saveAs(*chosen);
    } catch (const db::Error& e) {
        reportSaveFailure(*chosen, e);
        return false;
    }
    DoClose();
    // The survey lives in the chosen file now: an untitled file it came from holds nothing more,
    // unless it is the chosen file itself, which is then the user's.
    if (QFileInfo(*chosen).canonicalFilePath() != QFileInfo(old).canonicalFilePath())
        dropUntitledFile(old);
    else if (old == untitledFile_)
        untitledFile_.clear();
    const bool opened = DoOpen(QFileInfo(*chosen).absoluteFilePath(), true, 1);
    if (opened && placeholder)
        addPlaceholderQuestion(false);
    if (carried != SurveySession::Carried::Everything)
        Dialogs::msgBox(carried == SurveySession::Carried::QuestionsAndScales ? kDamagedMessage : kDamagedScalesMessage,
            Dialogs::OKOnly, Dialogs::Exclamation);
    return opened;
}

bool frmMain::saveCurrent()
{
    if (session_.CurrentFile.isEmpty() || isUntitledPath(session_.CurrentFile))
        return mnuFileSaveAs_Click();
    return DoSave();
}

bool frmMain::mnuFileSave_Click()
{
    return saveCurrent();
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

bool frmMain::untitledHoldsRespondents()
{
    if (untitledFile_.isEmpty() || session_.CurrentFile != untitledFile_ || !session_.SurveyConnection.isOpen())
        return false;
    try {
        return RespondentAnswers::hasRespondents(session_.SurveyConnection);
    } catch (const db::Error&) {
        return true; // what cannot be read is not thrown away unasked
    }
}

bool frmMain::savePrompt()
{
    if (!IsFileChanged() && !untitledHoldsRespondents())
        return true;
    switch (Dialogs::msgBox(
        QStringLiteral("Do you want to save the changes you made?"), Dialogs::YesNoCancel, Dialogs::Question)) {
    case Dialogs::Yes:
        return saveCurrent();
    case Dialogs::No:
        return true;
    default:
        return false;
    }
}

// New, Open, Close

void frmMain::dropUntitledFile(const QString& file)
{
    if (file.isEmpty() || file != untitledFile_)
        return;
    if (session_.CurrentFile == file)
        session_.SurveyConnection.close();
    QFile::remove(file);
    untitledFile_.clear();
}

bool frmMain::startNewSurvey()
{
    // The template is copied before the open survey is closed, so a missing template leaves it open.
    const QString file = SurveySession::createUntitledFile();
    const QString replaced = session_.CurrentFile;
    DoClose();
    // The save question has been answered: an untitled survey replaced now was saved or discarded.
    dropUntitledFile(replaced);
    untitledFile_ = file;
    return DoOpen(file, true, -1);
}

bool frmMain::mnuNew_Click()
{
    if (!savePrompt())
        return false;
    try {
        return startNewSurvey();
    } catch (const db::Error& e) {
        reportNewFailure(e);
        return false;
    }
}

void frmMain::reportNewFailure(const db::Error& error)
{
    reportError(QStringLiteral("Unable to create a new survey."), error, ErrorDetail::Description);
}

void frmMain::mnuFileOpen_Click()
{
    try {
        if (!savePrompt())
            return;
        Dialogs::FileRequest request;
        request.filter = kSurveyFilter;
        request.flags = Dialogs::FileMustExist | Dialogs::HideReadOnly;
        const std::optional<QString> name = Dialogs::showOpen(request);
        if (!name || name->isEmpty())
            return;
        const QString replaced = session_.CurrentFile;
        DoClose();
        dropUntitledFile(replaced);
        DoOpen(*name, true, 1);
    } catch (const std::exception&) {
        Dialogs::msgBox(QStringLiteral("Unable to open file."), Dialogs::OKOnly, Dialogs::Critical);
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
    if (!savePrompt()) {
        event->ignore();
        return;
    }
    // Saved under a name, discarded, or nothing in it to keep. Only the file New made is deleted;
    // a user's own file ending in ".tmp" never is.
    dropUntitledFile(session_.CurrentFile);
    Help::winHelp(this, helpFile_, Help::HELP_QUIT, 0);
    event->accept();
}
