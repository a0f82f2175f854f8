#include "ProgramFolder.h"

#include "platform/AppPath.h"

#include <QDir>
#include <QFile>

ProgramFolder::ProgramFolder()
{
    for (const char* name : {"blank.mdb", "Library.mdb", "TipOfTheDay.txt", "bhelp.hlp"}) {
        const QString from = QDir(buildFolder()).filePath(QString::fromLatin1(name));
        QFile::copy(from, dir_.filePath(QString::fromLatin1(name)));
        QFile::setPermissions(dir_.filePath(QString::fromLatin1(name)),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    SetAppPath(dir_.path());
}

ProgramFolder::~ProgramFolder()
{
    SetAppPath(QString());
}

QString ProgramFolder::newSurvey(const QString& name) const
{
    const QString path = dir_.filePath(name);
    QFile::remove(path);
    QFile::copy(dir_.filePath(QStringLiteral("blank.mdb")), path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return path;
}

QStringList ProgramFolder::files(const QString& pattern) const
{
    return QDir(dir_.path()).entryList({pattern}, QDir::Files, QDir::Name);
}

QString ProgramFolder::buildFolder()
{
    return QStringLiteral(TESSIVO_BIN_DIR);
}
