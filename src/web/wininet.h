#pragma once

#include <QDateTime>
#include <QString>

// The transport of the web-service client: the URL download with its "refreshme" time stamp, and
// the English texts of the Internet error numbers.

// Appends "&refreshme=" and the time stamp to the URL, fetches it by HTTP GET into the file
// (replacing it) and says whether that succeeded; the transport's error number goes into
// *errorCode when asked for (0 on success). Shows nothing and throws nothing.
bool DownloadURLToFile(const QString& url, const QString& localPath, int* errorCode = nullptr);

// The time stamp that makes every request differ from the one before: the local date and time
// as the user's locale writes them (short date, one blank, long time; the date alone at
// midnight). It goes into the URL percent-encoded.
QString refreshStamp(const QDateTime& when = QDateTime::currentDateTime());

// The English sentence of an Internet error number; for 12003 the server's last answer.
QString GetInternetErrorText(int errorCode);

// The text up to, not including, its first NUL character; the whole text when it holds none.
QString StripNull(const QString& text);
