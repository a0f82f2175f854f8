#include "web/wininet.h"

#include "platform/DateText.h"
#include "platform/Internet.h"
#include "platform/TextUtil.h"

#include <QUrl>

QString refreshStamp(const QDateTime& when)
{
    const QTime time(when.time().hour(), when.time().minute(), when.time().second());
    return generalDateText(QDateTime(when.date(), time));
}

bool DownloadURLToFile(const QString& url, const QString& localPath, int* errorCode)
{
    const int error = net::httpGetToFile(
        url + QLatin1String("&refreshme=") + QString::fromLatin1(QUrl::toPercentEncoding(refreshStamp())), localPath);
    if (errorCode)
        *errorCode = error;
    return error == net::kOk;
}

QString StripNull(const QString& text)
{
    return TrimNull(text);
}

QString GetInternetErrorText(int errorCode)
{
    switch (errorCode) {
    case 12001:
        return QStringLiteral("No more handles could be generated at this time");
    case 12002:
        return QStringLiteral("The request has timed out.");
    case 12003: {
        const QString response = StripNull(net::lastResponseInfo());
        return response.isEmpty() ? QStringLiteral("Extended error returned from server.") : response;
    }
    case 12004:
        return QStringLiteral("An internal error has occurred.");
    case 12005:
        return QStringLiteral("URL is invalid.");
    case 12006:
        return QStringLiteral("URL scheme could not be recognized, or is not supported.");
    case 12007:
        return QStringLiteral("Server name could not be resolved.");
    case 12008:
        return QStringLiteral("Requested protocol could not be located.");
    case 12009:
        return QStringLiteral(
            "A request to InternetQueryOption or InternetSetOption specified an invalid option value.");
    case 12010:
        return QStringLiteral("Length of an option supplied to InternetQueryOption or InternetSetOption is incorrect "
                              "for the type of option specified.");
    case 12011:
        return QStringLiteral("The request option can not be set, only queried. ");
    case 12012:
        return QStringLiteral("The Win32 Internet support is being shutdown or unloaded.");
    case 12013:
        return QStringLiteral("Request to connect and login to an FTP server could notbe completed because the "
                              "supplied user name is incorrect.");
    case 12014:
        return QStringLiteral("Request to connect and login to an FTP server could not be completed because the "
                              "supplied password is incorrect. ");
    case 12015:
        return QStringLiteral("Request to connect to and login to an FTP server failed.");
    case 12016:
        return QStringLiteral("Requested operation is invalid. ");
    case 12017:
        return QStringLiteral("Operation was canceled, usually because the handle on which the request was operating "
                              "was closed before the operation completed.");
    case 12018:
        return QStringLiteral("Type of handle supplied is incorrect for this operation.");
    case 12019:
        return QStringLiteral("Requested operation can not be carried out because the handle supplied is not in the "
                              "correct state.");
    case 12020:
        return QStringLiteral("Request can not be made via a proxy.");
    case 12021:
        return QStringLiteral("A required registry value could not be located. ");
    case 12022:
        return QStringLiteral(
            "A required registry value was located but is an incorrect type or has an invalid value.");
    case 12023:
        return QStringLiteral("Direct network access cannot be made at this time. ");
    case 12024:
        return QStringLiteral("An asynchronous request could not be made because a zero context value was supplied.");
    case 12025:
        return QStringLiteral(
            "An asynchronous request could not be made because a callback function has not been set.");
    case 12026:
        return QStringLiteral(
            "The required operation could not be completed because one or more requests are pending.");
    case 12027:
        return QStringLiteral("The format of the request is invalid.");
    case 12028:
        return QStringLiteral("The requested item could not be located.");
    case 12029:
        return QStringLiteral("The attempt to connect to the server failed.");
    case 12030:
        return QStringLiteral("The connection with the server has been terminated.");
    case 12031:
        return QStringLiteral("The connection with the server has been reset.");
    case 12036:
        return QStringLiteral("The request failed because the handle already exists.");
    default:
        return QStringLiteral("Error details not available.");
    }
}
