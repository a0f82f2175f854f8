#include "platform/AppPath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString& overridePath()
{
    static QString path;
    return path;
}
}  // namespace

QString AppPath()
{
    if (!overridePath().isEmpty())
        return overridePath();
    return QCoreApplication::applicationDirPath();
}

void SetAppPath(const QString& folder)
{
    overridePath() = folder;
}

QString AppFile(const QString& name)
{
    return QDir(AppPath()).filePath(name);
}

QString AppExeName()
{
    const QString path = QCoreApplication::applicationFilePath();
    const QString name = path.isEmpty() ? QString() : QFileInfo(path).completeBaseName();
    return name.isEmpty() ? QStringLiteral("tessivo") : name;
}
