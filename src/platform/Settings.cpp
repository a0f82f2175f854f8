#include "platform/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {
// One file per application name under the user's configuration folder (XDG_CONFIG_HOME).
QSettings store(const QString& appName)
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("tessivo"), appName);
}

// Settings may hold passwords (the FTP logins of the server list), so only their owner may read
// the file: it is made private before the first value goes into it, and kept so.
void keepPrivate(const QString& fileName)
{
    if (!QFileInfo::exists(fileName)) {
        QDir().mkpath(QFileInfo(fileName).absolutePath());
        QFile file(fileName);
        if (file.open(QIODevice::WriteOnly))
            file.close();
    }
    QFile::setPermissions(fileName, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}
} // namespace

QString getSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue)
{
    QSettings s = store(appName);
    s.beginGroup(section);
    const QVariant value = s.value(key);
    return value.isValid() ? value.toString() : defaultValue;
}

bool saveSetting(const QString& appName, const QString& section, const QString& key, const QString& value)
{
    QSettings s = store(appName);
    keepPrivate(s.fileName());
    s.beginGroup(section);
    s.setValue(key, value);
    s.endGroup();
    s.sync();
    keepPrivate(s.fileName());
    return s.status() == QSettings::NoError;
}

void deleteSetting(const QString& appName, const QString& section, const QString& key)
{
    QSettings s = store(appName);
    s.beginGroup(section);
    s.remove(key);
    s.endGroup();
    s.sync();
}

QList<QPair<QString, QString>> getAllSettings(const QString& appName, const QString& section)
{
    QSettings s = store(appName);
    s.beginGroup(section);
    QList<QPair<QString, QString>> all;
    for (const QString& key : s.childKeys())
        all.append({ key, s.value(key).toString() });
    return all;
}
