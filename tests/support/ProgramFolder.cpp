#include "ProgramFolder.h"

#include "document/SurveyFile.h"
#include "platform/AppPath.h"
#include "platform/Rtf.h"

#include <QDir>
#include <QFile>

ProgramFolder::ProgramFolder()
{
    for (const char* name : { "blank.mdb", "Library.mdb", "TipOfTheDay.txt", "bhelp.hlp" }) {
        const QString from = QDir(buildFolder()).filePath(QString::fromLatin1(name));
        QFile::copy(from, dir_.filePath(QString::fromLatin1(name)));
        QFile::setPermissions(
            dir_.filePath(QString::fromLatin1(name)), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    setAppPath(dir_.path());
}

ProgramFolder::~ProgramFolder()
{
    setAppPath(QString());
}

QString ProgramFolder::newSurvey(const QString& name) const
{
    const QString path = dir_.filePath(name);
    QFile::remove(path);
    QFile::copy(dir_.filePath(QStringLiteral("blank.mdb")), path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return path;
}

QString ProgramFolder::writeSurvey(const QString& name, const QList<QPair<qint32, QString>>& questions) const
{
    const QString path = newSurvey(name);
    db::Connection c;
    SurveyFile::openConnection(c, path);
    clsSurvey s;
    for (const auto& [type, text] : questions) {
        const QStringList parts = text.split(QLatin1Char('|'));
        const QString key = s.AddQ(rtf::fromPlainText(parts.first()), type, -1, 2);
        for (int i = 1; i < parts.size(); ++i)
            s.GetQ(key)->AddResponse(parts.at(i), -1, -1, QString());
    }
    SurveyFile::save(c, s);
    return path;
}

QStringList ProgramFolder::files(const QString& pattern) const
{
    return QDir(dir_.path()).entryList({ pattern }, QDir::Files, QDir::Name);
}

QString ProgramFolder::buildFolder()
{
    return QStringLiteral(TESSIVO_BIN_DIR);
}
