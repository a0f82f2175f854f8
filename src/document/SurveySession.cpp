// Saving the open survey: into its own file, and under another name through a part file that
// replaces the target only once it is whole.
#include "document/SurveySession.h"

#include "document/ReportFile.h"
#include "document/StoredSurvey.h"
#include "document/SurveyFile.h"
#include "platform/AppPath.h"
#include "platform/TempFile.h"
#include "platform/TextUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <filesystem>
#include <system_error>
#include <vector>

namespace {

QString templateFile()
{
    return appFile(QStringLiteral("blank.mdb"));
}

// The file a name stands for: a symbolic link is followed (also a chain of them, also one whose
// file does not exist yet), so that saving writes through the link and leaves the link itself.
QString followLinks(const QString& path)
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
QString createPartFile(const QString& folder)
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
    throw db::programError(
        QStringLiteral("Could not create a file in '%1': %2").arg(folder, error), db::kErrPathAccess);
}

// Moves a complete file onto the target. A file it replaces gives it its permissions.
void replaceWith(const QString& part, const QString& target)
{
    std::error_code ec;
    const std::filesystem::path to = target.toStdString();
    const std::filesystem::file_status replaced = std::filesystem::status(to, ec);
    if (!ec && std::filesystem::exists(replaced)) {
        std::filesystem::permissions(part.toStdString(), replaced.permissions() & std::filesystem::perms::mask, ec);
        if (ec)
            throw db::programError(QStringLiteral("Could not give '%1' the permissions of '%2': %3")
                                       .arg(part, target, QString::fromStdString(ec.message())),
                db::kErrPathAccess);
    }
    std::filesystem::rename(part.toStdString(), to, ec);
    if (ec)
        throw db::programError(
            QStringLiteral("Could not replace '%1': %2").arg(target, QString::fromStdString(ec.message())),
            db::kErrPathAccess);
}

// Copies a file whole into another, which keeps its mode; throws on failure.
void copyFile(const QString& from, const QString& to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        throw db::programError(
            QStringLiteral("Could not read '%1': %2").arg(from, in.errorString()), db::kErrFileNotFound);
    const QByteArray bytes = in.readAll();
    // A write that fails makes the commit fail.
    ReportFile::writeWhole(to, [&bytes](QIODevice& out) {
        out.write(bytes);
        return true;
    });
}

// Opens the connection on a copy of the template and checks that it is a survey file of this
// version; a failure names the template rather than its copy.
void checkTemplate(db::Connection& connection, const QString& copy, const QString& blank)
{
    try {
        SurveyFile::openConnection(connection, copy);
        if (const std::optional<QString> found = SurveyFile::versionMismatch(connection))
            throw db::programError(
                QStringLiteral("The survey template %1 is of version %2; version 1.7 is expected").arg(blank, *found),
                db::kErrBadFileFormat);
    } catch (const db::Error& e) {
        connection.close();
        throw db::Error(QString(e.description()).replace(copy, blank), e.number(), e.source());
    }
}

// Deletes a part file that was not used, unless it was moved into place.
class PartFile {
public:
    explicit PartFile(const QString& folder)
        : path_(createPartFile(folder))
    { }
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
        replaceWith(path_, target);
        path_.clear();
    }

private:
    QString path_;
};

// The copy of the open survey could not be made.
class CopyFailure : public db::Error {
public:
    using db::Error::Error;
};

// The open survey's file cannot be read whole: damaged, or a read of it failed while it was copied.
// (A busy file, a full disk or a folder that cannot be written are not: the template would fare
// no better, and the file may be fine.)
bool unreadableSurvey(const db::Error& error)
{
    return error.isDamage() || (dynamic_cast<const CopyFailure*>(&error) && error.isIoError());
}

// A new file beside `file` gets a copy of the open survey's database (answers and all) with the
// survey saved over it, and then replaces `file`.
void writeFromOpenSurvey(SurveySession& session, const QString& file)
{
    PartFile part(QFileInfo(file).absolutePath());
    // The copy is made from the open connection, not from the file's path, which may name another
    // file by now or none.
    try {
        session.SurveyConnection.backupTo(part.path());
    } catch (const db::Error& e) {
        throw CopyFailure(e.description(), e.number(), e.source());
    }
    db::Connection out;
    SurveyFile::openConnection(out, part.path());
    StoredSurvey stored(session);
    SurveyFile::save(out, stored.survey());
    out.close();
    part.moveOnto(file);
}

// A new file beside `file` gets a copy of the template with the questions and responses as new
// rows and, when they can be read, the open survey's answer scales; then it replaces `file`.
// False when the scales could not be read.
bool writeFromTemplate(SurveySession& session, const QString& file)
{
    const QString blank = templateFile();
    PartFile part(QFileInfo(file).absolutePath());
    copyFile(blank, part.path()); // the part file keeps its mode
    db::Connection out;
    checkTemplate(out, part.path(), blank);
    bool scales = true;
    if (session.SurveyConnection.isOpen()) {
        try {
            SurveyFile::copyAnswerScales(session.SurveyConnection, out);
        } catch (const db::Error&) {
            scales = false; // the caller tells the user
        }
    }
    SurveyFile::saveAsNew(out, StoredSurvey(session).survey());
    out.close();
    part.moveOnto(file);
    return scales;
}

} // namespace

int SurveySession::save()
{
    StoredSurvey stored(*this);
    SurveyFile::save(SurveyConnection, stored.survey());
    return stored.leftOut();
}

bool SurveySession::saveAsGetsAround(const db::Error& error) const
{
    return error.isDamage() || error.isReadOnly() || error.isCantOpen() || error.isIoError()
        || !QFileInfo::exists(CurrentFile);
}

SurveySession::Carried SurveySession::saveAs(const QString& fileName)
{
    const QString file = followLinks(QFileInfo(fileName).absoluteFilePath());
    std::vector<int> idsBefore;
    for (int i = 1; i <= Survey.QCount(); ++i)
        idsBefore.push_back(Survey.GetQIndex(i)->DatabaseID);
    try {
        if (!SurveyConnection.isOpen()) {
            writeFromTemplate(*this, file);
            return Carried::Everything;
        }
        try {
            writeFromOpenSurvey(*this, file);
            return Carried::Everything;
        } catch (const db::Error& e) {
            if (!unreadableSurvey(e))
                throw;
        }
        // The questions in memory are whole even when their file is not.
        return writeFromTemplate(*this, file) ? Carried::QuestionsAndScales : Carried::Questions;
    } catch (const db::Error&) {
        // The ids the failed file gave new questions mean nothing in the open one.
        for (int i = 1; i <= Survey.QCount() && size_t(i - 1) < idsBefore.size(); ++i)
            Survey.GetQIndex(i)->DatabaseID = idsBefore[size_t(i - 1)];
        throw;
    }
}

QString SurveySession::createUntitledFile()
{
    const QString folder = writablePath();
    const QString file = TrimNull(createTempFileName(folder, QStringLiteral("HC")));
    if (file.isEmpty())
        throw db::programError(
            QStringLiteral("Could not create a new file in the folder %1").arg(QDir::toNativeSeparators(folder)),
            db::kErrPathAccess);
    // The copy is checked here, before the caller closes anything, so that a template that is no
    // survey file leaves the open survey open.
    const QString blank = templateFile();
    try {
        copyFile(blank, file);
        db::Connection check;
        checkTemplate(check, file, blank);
    } catch (const db::Error&) {
        QFile::remove(file);
        throw;
    }
    return file;
}
