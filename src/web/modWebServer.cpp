#include "web/modWebServer.h"

#include "platform/AppPath.h"
#include "platform/Database.h"
#include "platform/Internet.h"
#include "web/wininet.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryFile>
#include <QUrl>

#include <filesystem>
#include <limits>
#include <optional>
#include <system_error>

QString LastWebError;

namespace {

const QString kSource = QStringLiteral("Tessivo.modWebServer");

QString number(int value)
{
    return QString::number(value);
}

// The request of one function: the base URL, the function's query prefix and its parameters in
// order, each percent-encoded ("&refreshme=" is added by the download).
QString requestUrl(const QString& serverUrl, const QString& function, const QStringList& values)
{
    QString url = serverUrl + QLatin1String("ws/CallFunc.php?func=") + function;
    for (int i = 0; i < values.size(); ++i)
        url += QStringLiteral("&param%1=").arg(i + 1) + QString::fromLatin1(QUrl::toPercentEncoding(values.at(i)));
    return url;
}

// Sends the request and reads a success answer; nothing when the download or the service failed.
std::optional<QString> successValue(const QString& serverUrl, const QString& function, const QStringList& values)
{
    LastWebError.clear();
    if (!DownloadURLToFile(requestUrl(serverUrl, function, values), resultFilePath()))
        return std::nullopt;
    QString value;
    if (!ReadSuccessValue(value))
        return std::nullopt;
    return value;
}

// A service answer as an id, read as the user's locale writes numbers.
int toId(const QString& value)
{
    const QString text = value.trimmed();
    bool ok = false;
    qlonglong n = QLocale::system().toLongLong(text, &ok);
    if (!ok)
        n = QLocale::c().toLongLong(text, &ok);
    if (!ok) {
        static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]+$"));
        if (digits.match(text).hasMatch())
            throw db::Error(QStringLiteral("Overflow"), 6, kSource);
        throw db::Error(QStringLiteral("Type mismatch"), 13, kSource);
    }
    if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        throw db::Error(QStringLiteral("Overflow"), 6, kSource);
    return int(n);
}

int idOperation(const QString& serverUrl, const QString& function, const QStringList& values)
{
    const std::optional<QString> value = successValue(serverUrl, function, values);
    return value ? toId(*value) : -1;
}

QString textOperation(const QString& serverUrl, const QString& function, const QStringList& values)
{
    return successValue(serverUrl, function, values).value_or(QString());
}

// The whole answer file as text.
QString readAnswer()
{
    QFile file(resultFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace

QString resultFilePath()
{
    return writableFile(QStringLiteral("result.htm"));
}

bool ReadSuccessValue(QString& value)
{
    const QString text = readAnswer();
    if (!text.startsWith(QLatin1String("Success"))) {
        LastWebError = text;
        return false;
    }
    LastWebError = QStringLiteral("Success");
    // The value runs from the 12th character (after "Success<br>") to the next "<br>" found from
    // the 11th on; an answer whose "<br>" stands before the value's start gives no value.
    const qsizetype close = text.indexOf(QLatin1String("<br>"), 10);
    if (close < 11)
        return false;
    value = text.mid(11, close - 11);
    return true;
}

bool ReadResultsBody(QString& body)
{
    const QString text = readAnswer();
    if (text.startsWith(QLatin1String("Failure"))) {
        LastWebError = text;
        return false;
    }
    LastWebError = QStringLiteral("Success");
    body = text;
    return true;
}

int WSGetWebUserID(const QString& userName, const QString& password, const QString& serverUrl)
{
    return idOperation(serverUrl, QStringLiteral("GetWebUserID"), { userName, password });
}

int WSGetSurveyID(const QString& surveyName, int userId, const QString& serverUrl)
{
    return idOperation(serverUrl, QStringLiteral("GetSurveyID"), { surveyName, number(userId) });
}

int WSCreateSurvey(int userId, const QString& surveyName, const QString& serverUrl)
{
    return idOperation(serverUrl, QStringLiteral("CreateSurvey"), { number(userId), surveyName });
}

QString WSMoveNewSurvey(const QString& fileName, int surveyId, bool isPublic, int userId, const QString& serverUrl)
{
    const QString flag = isPublic ? QStringLiteral("True") : QStringLiteral("False");
    return textOperation(
        serverUrl, QStringLiteral("MoveNewSurvey"), { fileName, number(surveyId), flag, number(userId) });
}

QString WSGetSurveyListForUser(int userId, const QString& serverUrl)
{
    return textOperation(serverUrl, QStringLiteral("GetSurveyListForUser"), { number(userId) });
}

QString WSGetSurveyName(int surveyId, const QString& serverUrl)
{
    return textOperation(serverUrl, QStringLiteral("GetSurveyName"), { number(surveyId) });
}

QString WSGetSurveyResults(const QString& fileName, const QString& serverUrl)
{
    LastWebError.clear();
    if (!DownloadURLToFile(requestUrl(serverUrl, QStringLiteral("GetSurveyResults"), { fileName }), resultFilePath()))
        return QString();
    QString body;
    return ReadResultsBody(body) ? body : QString();
}

bool wsGetSurveyResultsToFile(const QString& fileName, const QString& serverUrl, const QString& localPath)
{
    LastWebError.clear();
    const auto cannotWrite = [&](const QString& reason) {
        return db::Error(
            QStringLiteral("Unable to write to file %1: %2").arg(localPath, reason), db::kErrPathAccess, kSource);
    };
    // The answer goes into a file of its own beside the target, so that a failure answer never
    // replaces a results file downloaded before.
    QTemporaryFile placeholder(QFileInfo(localPath).absolutePath() + QStringLiteral("/XXXXXX.download"));
    if (!placeholder.open())
        throw cannotWrite(placeholder.errorString());
    const QString temp = placeholder.fileName();
    placeholder.close();
    int error = 0;
    if (!DownloadURLToFile(requestUrl(serverUrl, QStringLiteral("GetSurveyResults"), { fileName }), temp, &error)) {
        if (error == net::kInternalError)
            throw cannotWrite(QStringLiteral("the file could not be written whole."));
        return false;
    }
    QFile answer(temp);
    if (!answer.open(QIODevice::ReadOnly))
        throw cannotWrite(answer.errorString());
    const QByteArray head = answer.read(7);
    if (head == "Failure") {
        LastWebError = QString::fromUtf8(head + answer.readAll());
        return false;
    }
    LastWebError = QStringLiteral("Success");
    answer.close();
    if (head.isEmpty())
        return false;
    // One step that replaces the earlier results file: until it is done the earlier file stays,
    // and when it fails the earlier file is left as it was.
    std::error_code renamed;
    std::filesystem::rename(QFile::encodeName(temp).toStdString(), QFile::encodeName(localPath).toStdString(), renamed);
    if (renamed)
        throw cannotWrite(QStringLiteral("the downloaded file could not be put in its place: %1")
                              .arg(QString::fromLocal8Bit(renamed.message())));
    return true;
}

bool WSDeleteSurveyResultsFile(int userId, int surveyId, const QString& serverUrl)
{
    return !textOperation(serverUrl, QStringLiteral("DeleteSurveyResultsFile"), { number(userId), number(surveyId) })
                .isEmpty();
}
