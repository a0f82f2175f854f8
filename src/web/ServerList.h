#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// The web servers the wizards publish to and collect from: the built-in entry of the web survey
// service (number -1, fixed in the program) and the entries the user added (1, 2, ..., kept in the
// settings store under "Orvalen Survey" / "ServerList", the highest number given in "Config" /
// "TotalServers").
struct ServerEntry {
    QString name;
    QString url;
    QString ftpServer; // "host" or "host:port"
    QString ftpUsername;
    QString ftpPassword;
};

namespace ServerList {
// The built-in entry of the web survey service.
ServerEntry builtIn();
// The settings' application name and sections.
QString appName();
enum class AddResult {
    Stored,
    NotWritten, // the settings store could not be written
    NoNumberLeft, // the highest number given is the largest an entry can have; nothing was written
};
// Stores a new entry under the next number and returns that number; the texts are kept as typed.
// 0 when no number is left.
int add(const ServerEntry& entry, AddResult* result = nullptr);
} // namespace ServerList

// Entry -1 is the built-in one; any other number is read from the settings store, "" for a
// missing key. A URL longer than one character gets a final "/" when it lacks one. True when the
// entry has a name.
bool GetServerInfo(
    int index, QString& name, QString& url, QString& ftpServer, QString& ftpUsername, QString& ftpPassword);

// True when the value is a list with at least one element (a settings section read whole that
// is missing or empty gives none).
bool IsArrayDimensioned(const QVariant& value);
template <typename T> bool IsArrayDimensioned(const QList<T>& list)
{
    return !list.isEmpty();
}
