// The survey file commands of the main window: open, close, save, save as, new, and the question
// to save before the survey is dropped.
#include "shell/frmMain.h"

#include "designer/DesignScreen.h"
#include "document/StoredSurvey.h"
#include "document/SurveyFile.h"
#include "platform/AppPath.h"
#include "widgets/Dialogs.h"
#include "widgets/HelpWindow.h"
#include "widgets/RichTextBox.h"
#include "platform/Rtf.h"
#include "platform/TempFile.h"
#include "platform/TextUtil.h"
#include "widgets/TreeNodes.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTreeWidget>

#include <sqlite3.h>

#include <filesystem>
#include <system_error>

namespace {

const QString kSurveyFilter = QStringLiteral("Orvalen Tessivo (*.tvq)|*.tvq");
const QString kSource = QStringLiteral("Tessivo");
constexpr int kErrFileNotFound = 53;
constexpr int kErrPathAccess = 75;
constexpr int kErrBadFileFormat = 321;

const QString kDamagedMessage = QStringLiteral(
    "The survey file is damaged. The questions were saved to a new survey made from the template; the answers "
    "could not be carried over.");
const QString kDamagedScalesMessage = QStringLiteral(
    "The survey file is damaged. The questions were saved to a new survey made from the template; the answers "
    "and the answer scales could not be carried over.");

// A failure that says the survey file itself cannot be read whole.
bool IsDamage(const db::Error& error)
{
    const int code = error.number() & 0xff;
    return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

// A failure of the open file that writing the survey to another file gets around: the file is
// damaged, read-only, or was deleted or moved while it was open.
bool SaveAsGetsAround(const db::Error& error, const QString& file)
{
    const int code = error.number() & 0xff;
    return IsDamage(error) || code == SQLITE_READONLY || code == SQLITE_CANTOPEN || code == SQLITE_IOERR
           || !QFileInfo::exists(file);
}

// The file a name stands for: a symbolic link is followed (also a chain of them, also one whose
// file does not exist yet), so that saving writes through the link and leaves the link itself.
QString FollowLinks(const QString& path)
{
    std::filesystem::path p = path.toStdString();
    std::error_code ec;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(p, ec); ++hops) {
        const std::filesystem::path next = std::filesystem::read_symlink(p, ec);
        if (ec)
            break;
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    return QFileInfo(QString::fromStdString(p.lexically_normal().string())).absoluteFilePath();
}

// A new empty file in the folder, made as any new file is (read and write for all, less the
// umask), with a name of its own beginning with a dot; its path.
QString CreatePartFile(const QString& folder)
{
    QString error;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = QStringLiteral("%1/.tessivo-%2.part")
                                 .arg(folder, QString::number(QRandomGenerator::global()->generate(), 36));
        QFile file(name);
        const QFileDevice::Permissions all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                             | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly, all))
            return name;
        error = file.errorString();
        if (QFileInfo::exists(name))
            continue;
        break;
    }
    throw db::Error(QStringLiteral("Could not create a file in '%1': %2").arg(folder, error), kErrPathAccess, kSource);
}

// Moves a complete file onto the target. A file it replaces gives it its permissions.
void ReplaceWith(const QString& part, const QString& target)
{
    std::error_code ec;
    const std::filesystem::path to = target.toStdString();
    const std::filesystem::file_status replaced = std::filesystem::status(to, ec);
    if (!ec && std::filesystem::exists(replaced)) {
        std::filesystem::permissions(part.toStdString(), replaced.permissions() & std::filesystem::perms::mask, ec);
        if (ec)
            throw db::Error(QStringLiteral("Could not give '%1' the permissions of '%2': %3")
                                .arg(part, target, QString::fromStdString(ec.message())),
                            kErrPathAccess, kSource);
    }
    std::filesystem::rename(part.toStdString(), to, ec);
    if (ec)
        throw db::Error(QStringLiteral("Could not replace '%1': %2").arg(target, QString::fromStdString(ec.message())),
                        kErrPathAccess, kSource);
}

// Opens the connection on a copy of the template and checks that it is a survey file of this
// version; a failure names the template rather than its copy.
void CheckTemplate(db::Connection& connection, const QString& copy, const QString& blank)
{
    try {
        SurveyFile::OpenConnection(connection, copy);
        if (const std::optional<QString> found = SurveyFile::VersionMismatch(connection))
            throw db::Error(QStringLiteral("The survey template %1 is of version %2; version 1.7 is expected")
                                .arg(blank, *found),
                            kErrBadFileFormat, kSource);
    } catch (const db::Error& e) {
        connection.Close();
        throw db::Error(QString(e.description()).replace(copy, blank), e.number(), e.source());
    }
}

// Deletes a part file that was not used, unless it was moved into place.
class PartFile {
public:
    explicit PartFile(const QString& folder) : path_(CreatePartFile(folder)) {}
    ~PartFile()
    {
        if (!path_.isEmpty())
            QFile::remove(path_);
    }
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;
    const QString& path() const { return path_; }
    void moveOnto(const QString& target)
    {
        ReplaceWith(path_, target);
        path_.clear();
    }

private:
    QString path_;
};

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
    } catch (const db::Error& e) {
        // The program stays with no survey open, and says why.
        ReportNewFailure(e);
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

QString frmMain::SaveFailureText(const QString& fileName, const db::Error& error)
{
    return QStringLiteral("Unable to write to file ") + fileName + QLatin1Char(' ') + error.description()
           + QLatin1Char(' ') + QString::number(error.number()) + QLatin1Char(' ') + error.source();
}

void frmMain::ReportSaveFailure(const QString& fileName, const db::Error& error)
{
    Dialogs::MsgBox(SaveFailureText(fileName, error), Dialogs::OKOnly, Dialogs::Critical);
}

void frmMain::SaveAndReload()
{
    QTreeWidgetItem* node = design_->tvTreeView->currentItem();
    const QString key = TreeNodes::Key(node);
    int selected = (node && key != QLatin1String("S_Parent")) ? session_.Survey.GetQIndexFromKey(key) : -1;

    int leftOut = 0;
    {
        StoredSurvey stored(session_);
        SurveyFile::Save(session_.SurveyConnection, stored.survey());
        leftOut = stored.leftOut();
    }
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
    QTreeWidgetItem* kept = design_->tvTreeView->currentItem();
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
        if (!SaveAsGetsAround(e, session_.CurrentFile)) {
            ReportSaveFailure(session_.CurrentFile, e);
            return false;
        }
        // The survey in memory can still be written to another file: the user is offered that at once.
        if (Dialogs::MsgBox(SaveFailureText(session_.CurrentFile, e)
                                + QStringLiteral("\n\nDo you want to save the survey under another name?"),
                            Dialogs::YesNo, Dialogs::Critical)
            != Dialogs::Yes)
            return false;
        return mnuFileSaveAs_Click();
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

namespace {

// The copy of the open survey could not be made.
class CopyFailure : public db::Error {
public:
    using db::Error::Error;
};

// The open survey's file cannot be read whole: damaged, or a read of it failed while it was copied.
// (A busy file, a full disk or a folder that cannot be written are not: the template would fare
// no better, and the file may be fine.)
bool UnreadableSurvey(const db::Error& error)
{
    return IsDamage(error) || (dynamic_cast<const CopyFailure*>(&error) && (error.number() & 0xff) == SQLITE_IOERR);
}

}  // namespace

void frmMain::WriteFromOpenSurvey(const QString& file)
{
    PartFile part(QFileInfo(file).absolutePath());
    // The copy is made from the open connection, not from the file's path, which may name another
    // file by now or none.
    try {
        session_.SurveyConnection.BackupTo(part.path());
    } catch (const db::Error& e) {
        throw CopyFailure(e.description(), e.number(), e.source());
    }
    db::Connection out;
    SurveyFile::OpenConnection(out, part.path());
    StoredSurvey stored(session_);
    SurveyFile::Save(out, stored.survey());
    out.Close();
    part.moveOnto(file);
}

bool frmMain::WriteFromTemplate(const QString& file)
{
    const QString blank = AppFile(QStringLiteral("blank.mdb"));
    PartFile part(QFileInfo(file).absolutePath());
    CopyFile(blank, part.path());  // the part file keeps its mode
    db::Connection out;
    CheckTemplate(out, part.path(), blank);
    bool scales = true;
    if (session_.SurveyConnection.isOpen()) {
        try {
            SurveyFile::CopyAnswerScales(session_.SurveyConnection, out);
        } catch (const db::Error&) {
            scales = false;  // the caller's message says so
        }
    }
    SurveyFile::SaveAsNew(out, StoredSurvey(session_).survey());
    out.Close();
    part.moveOnto(file);
    return scales;
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

    // The survey is written into a new file beside the one the chosen name stands for, which it
    // replaces only once it is complete: a failure leaves every file as it was, and the open
    // survey stays open.
    const QString target = QFileInfo(*chosen).absoluteFilePath();
    const QString file = FollowLinks(target);
    const bool placeholder = BlankPlaceholder(session_) != nullptr;
    std::vector<int> idsBefore;
    for (int i = 1; i <= session_.Survey.QCount(); ++i)
        idsBefore.push_back(session_.Survey.GetQIndex(i)->DatabaseID);
    QString notice;
    try {
        if (!session_.SurveyConnection.isOpen()) {
            WriteFromTemplate(file);
        } else {
            try {
                WriteFromOpenSurvey(file);
            } catch (const db::Error& e) {
                if (!UnreadableSurvey(e))
                    throw;
                // The questions in memory are whole even when their file is not.
                notice = WriteFromTemplate(file) ? kDamagedMessage : kDamagedScalesMessage;
            }
        }
    } catch (const db::Error& e) {
        // The ids the failed file gave new questions mean nothing in the open one.
        for (int i = 1; i <= session_.Survey.QCount() && size_t(i - 1) < idsBefore.size(); ++i)
            session_.Survey.GetQIndex(i)->DatabaseID = idsBefore[size_t(i - 1)];
        ReportSaveFailure(*chosen, e);
        return false;
    }
    DoClose();
    // The survey lives in the chosen file now: an untitled file it came from holds nothing more,
    // unless it is the chosen file itself, which is then the user's.
    if (QFileInfo(file).canonicalFilePath() != QFileInfo(old).canonicalFilePath())
        DropUntitledFile(old);
    else if (old == untitledFile_)
        untitledFile_.clear();
    const bool opened = DoOpen(target, true, 1);
    if (opened && placeholder)
        AddPlaceholderQuestion(false);
    if (!notice.isEmpty())
        Dialogs::MsgBox(notice, Dialogs::OKOnly, Dialogs::Exclamation);
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
        if (design_->txtQ->Text().isEmpty() && rtf::toPlainText(q->Question, 1).isEmpty() && q->ResponsesCount() == 0)
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

QString frmMain::CreateUntitledFile()
{
    const QString folder = WritablePath();
    const QString file = TrimNull(CreateTempFileName(folder, QStringLiteral("HC")));
    if (file.isEmpty()) {
        throw db::Error(QStringLiteral("Could not create a new file in the folder %1")
                            .arg(QDir::toNativeSeparators(folder)),
                        kErrPathAccess, kSource);
    }
    // The copy is checked before anything is closed, so that a template that is no survey file
    // leaves the open survey open.
    const QString blank = AppFile(QStringLiteral("blank.mdb"));
    try {
        CopyFile(blank, file);
        db::Connection check;
        CheckTemplate(check, file, blank);
    } catch (const db::Error&) {
        QFile::remove(file);
        throw;
    }
    return file;
}

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
    const QString file = CreateUntitledFile();
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
    Dialogs::MsgBox(QStringLiteral("Unable to create a new survey. ") + error.description(), Dialogs::OKOnly,
                    Dialogs::Critical);
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
