#include "platform/AppPath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <optional>

#ifndef TESSIVO_SHIPPED_FROM_BIN
#define TESSIVO_SHIPPED_FROM_BIN "../share/tessivo"
#endif

namespace {

const QString kLibrary = QStringLiteral("Library.mdb");

std::optional<ProgramFolders>& chosenFolders()
{
    static std::optional<ProgramFolders> folders;
    return folders;
}

const ProgramFolders& folders()
{
    std::optional<ProgramFolders>& chosen = chosenFolders();
    if (!chosen)
        chosen = findProgramFolders(QCoreApplication::applicationDirPath());
    return *chosen;
}

// The template is what New cannot do without: where it lies, the other shipped files lie.
bool holdsShippedFiles(const QString& folder)
{
    return QFileInfo::exists(QDir(folder).filePath(QStringLiteral("blank.mdb")));
}

QString userDataFolder(const QString& fallback)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? fallback : QDir::cleanPath(folder);
}

bool sameFolder(const QString& a, const QString& b)
{
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) == QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

// Copies a file whole or not at all; the copy may be read by all and written by its owner.
bool copyWhole(const QString& from, const QString& to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError || out.write(bytes) != bytes.size() || !out.commit())
        return false;
    QFile::setPermissions(
        to, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return true;
}

} // namespace

ProgramFolders findProgramFolders(const QString& executableFolder)
{
    const QString beside = QDir::cleanPath(executableFolder);
    if (holdsShippedFiles(beside)) {
        // A build: everything stays in its folder, as long as the user may write there.
        return { beside, QFileInfo(beside).isWritable() ? beside : userDataFolder(beside) };
    }
    const QString installed = QDir::cleanPath(QDir(beside).filePath(QStringLiteral(TESSIVO_SHIPPED_FROM_BIN)));
    if (holdsShippedFiles(installed)) {
        // Installed: the install's folders are the system's (or the package's), never the user's
        // files, even for a user who could write there.
        return { installed, userDataFolder(beside) };
    }
    // No shipped files anywhere: the failures name the executable's folder.
    return { beside, QFileInfo(beside).isWritable() ? beside : userDataFolder(beside) };
}

QString appPath()
{
    return folders().shipped;
}

QString appFile(const QString& name)
{
    return QDir(appPath()).filePath(name);
}

QString writablePath()
{
    const QString& folder = folders().writable;
    if (!QFileInfo::exists(folder) && QDir().mkpath(folder))
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return folder;
}

QString writableFile(const QString& name)
{
    return QDir(writablePath()).filePath(name);
}

QString libraryFile()
{
    const QString shipped = appFile(kLibrary);
    if (sameFolder(folders().shipped, folders().writable))
        return shipped;
    const QString own = writableFile(kLibrary);
    if (QFileInfo::exists(own))
        return own;
    if (!QFileInfo::exists(shipped))
        return shipped; // the open says that it is missing
    // When no copy can be made (a full disk), the shipped library still opens: the program reads
    // it only, and the user has nothing of their own in it yet. The next start tries again.
    return copyWhole(shipped, own) ? own : shipped;
}

void setProgramFolders(const ProgramFolders& folders)
{
    chosenFolders() = folders;
}

void setAppPath(const QString& folder)
{
    if (folder.isEmpty())
        chosenFolders().reset();
    else
        chosenFolders() = ProgramFolders { folder, folder };
}

QString appExeName()
{
    const QString path = QCoreApplication::applicationFilePath();
    const QString name = path.isEmpty() ? QString() : QFileInfo(path).completeBaseName();
    return name.isEmpty() ? QStringLiteral("tessivo") : name;
}
