#include "web/ServerList.h"

#include "platform/Settings.h"

#include <QRegularExpression>

#include <algorithm>
#include <limits>

namespace {

const QString kConfig = QStringLiteral("Config");
const QString kServerList = QStringLiteral("ServerList");
const QString kTotalServers = QStringLiteral("TotalServers");
const QString kServerName = QStringLiteral("ServerName");

QString read(const QString& key, int index)
{
    return getSetting(ServerList::appName(), kServerList, key + QString::number(index), QString());
}

// A stored entry number; one too long for any integer counts as the largest, so that it is never
// taken for a small one. 0 for a text that is no number.
qint64 storedNumber(const QString& text)
{
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (ok)
        return n;
    static const QRegularExpression digits(QStringLiteral("^\\+?[0-9]+$"));
    return digits.match(text).hasMatch() ? std::numeric_limits<qint64>::max() : 0;
}

// The highest entry number given so far, 0 when none. A "TotalServers" that was lost or damaged
// must not lead to a number that is still in use, so the stored names count too.
qint64 highestNumber()
{
    qint64 highest = storedNumber(getSetting(ServerList::appName(), kConfig, kTotalServers).trimmed());
    for (const auto& [key, value] : getAllSettings(ServerList::appName(), kServerList)) {
        if (key.startsWith(kServerName))
            highest = std::max(highest, storedNumber(key.mid(kServerName.size())));
    }
    return std::max<qint64>(highest, 0);
}

} // namespace

namespace ServerList {

ServerEntry builtIn()
{
    return { QStringLiteral("Brelloc"), QStringLiteral("http://survey.brelloc.example.com/"),
        QStringLiteral("ftp.brelloc.example.com"), QStringLiteral("anonymous@brelloc.example.com"),
        QStringLiteral("u@example.com") };
}

QString appName()
{
    return QStringLiteral("Orvalen Survey");
}

int add(const ServerEntry& entry, AddResult* result)
{
    const qint64 highest = highestNumber();
    if (highest >= std::numeric_limits<int>::max()) {
        if (result)
            *result = AddResult::NoNumberLeft;
        return 0;
    }
    const int n = int(highest) + 1;
    const QString number = QString::number(n);
    bool ok = saveSetting(appName(), kConfig, kTotalServers, number);
    ok = saveSetting(appName(), kServerList, kServerName + number, entry.name) && ok;
    ok = saveSetting(appName(), kServerList, QStringLiteral("ServerURL") + number, entry.url) && ok;
    ok = saveSetting(appName(), kServerList, QStringLiteral("FTPServer") + number, entry.ftpServer) && ok;
    ok = saveSetting(appName(), kServerList, QStringLiteral("FTPUsername") + number, entry.ftpUsername) && ok;
    ok = saveSetting(appName(), kServerList, QStringLiteral("FTPPassword") + number, entry.ftpPassword) && ok;
    if (result)
        *result = ok ? AddResult::Stored : AddResult::NotWritten;
    return n;
}

} // namespace ServerList

bool GetServerInfo(
    int index, QString& name, QString& url, QString& ftpServer, QString& ftpUsername, QString& ftpPassword)
{
    if (index == -1) {
        const ServerEntry e = ServerList::builtIn();
        name = e.name;
        url = e.url;
        ftpServer = e.ftpServer;
        ftpUsername = e.ftpUsername;
        ftpPassword = e.ftpPassword;
        return true;
    }
    name = read(kServerName, index);
    url = read(QStringLiteral("ServerURL"), index);
    ftpServer = read(QStringLiteral("FTPServer"), index);
    ftpUsername = read(QStringLiteral("FTPUsername"), index);
    ftpPassword = read(QStringLiteral("FTPPassword"), index);
    if (url.size() > 1 && !url.endsWith(QLatin1Char('/')))
        url += QLatin1Char('/');
    return !name.isEmpty();
}

bool IsArrayDimensioned(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QVariantList:
        return !value.toList().isEmpty();
    case QMetaType::QStringList:
        return !value.toStringList().isEmpty();
    default:
        return false;
    }
}
