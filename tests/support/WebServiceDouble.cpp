#include "WebServiceDouble.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QJsonDocument>

#include <curl/curl.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kStartMs = 15000;
constexpr long kControlSeconds = 10;

[[noreturn]] void fail(const QString& what)
{
    throw std::runtime_error(what.toStdString());
}

size_t collect(char* data, size_t size, size_t count, void* out)
{
    static_cast<QByteArray*>(out)->append(data, qsizetype(size * count));
    return size * count;
}

} // namespace

WebServiceDouble::WebServiceDouble()
{
    if (!home_.isValid())
        fail(QStringLiteral("web service double: no temporary folder"));
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(
        QStringLiteral(TESSIVO_PYTHON3), { QStringLiteral(TESSIVO_WEB_DOUBLE), QStringLiteral("--dir"), home_.path() });
    if (!process_.waitForStarted(kStartMs))
        fail(QStringLiteral("web service double: %1 did not start: %2")
                 .arg(QStringLiteral(TESSIVO_PYTHON3), process_.errorString()));
    const QDeadlineTimer deadline(kStartMs);
    while (!process_.canReadLine()) {
        if (process_.state() != QProcess::Running || deadline.hasExpired()
            || !process_.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())))) {
            if (process_.canReadLine())
                break;
            process_.kill();
            process_.waitForFinished(2000);
            fail(QStringLiteral("web service double: no ports announced"));
        }
    }
    const QJsonObject ports = QJsonDocument::fromJson(process_.readLine()).object();
    httpPort_ = ports.value(QStringLiteral("http")).toInt();
    ftpPort_ = ports.value(QStringLiteral("ftp")).toInt();
    controlPort_ = ports.value(QStringLiteral("control")).toInt();
    ftpUser_ = ports.value(QStringLiteral("ftpUser")).toString();
    ftpPassword_ = ports.value(QStringLiteral("ftpPassword")).toString();
    if (!httpPort_ || !ftpPort_ || !controlPort_)
        fail(QStringLiteral("web service double: bad port announcement"));
}

WebServiceDouble::~WebServiceDouble()
{
    // Closing its input ends the double; one that does not end is killed.
    process_.closeWriteChannel();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(2000);
    }
}

QString WebServiceDouble::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1/").arg(httpPort_);
}

QString WebServiceDouble::ftpServer() const
{
    return QStringLiteral("127.0.0.1:%1").arg(ftpPort_);
}

QString WebServiceDouble::incomingFolder() const
{
    return QDir(home_.path()).filePath(QStringLiteral("incoming"));
}

QString WebServiceDouble::publishedFolder() const
{
    return QDir(home_.path()).filePath(QStringLiteral("published"));
}

int WebServiceDouble::closedPort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (s >= 0 && ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (s >= 0)
        ::close(s);
    return port;
}

QByteArray WebServiceDouble::transfer(const QString& path, const QByteArray* body) const
{
    CURL* curl = curl_easy_init();
    if (!curl)
        fail(QStringLiteral("web service double: no curl handle"));
    const QByteArray url = QStringLiteral("http://127.0.0.1:%1%2").arg(controlPort_).arg(path).toUtf8();
    QByteArray answer;
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, kControlSeconds);
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
    if (body) {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body->constData());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, long(body->size()));
    }
    const CURLcode code = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    if (code != CURLE_OK)
        fail(QStringLiteral("web service double: control %1 failed: %2")
                 .arg(path, QString::fromUtf8(curl_easy_strerror(code))));
    return answer;
}

QJsonObject WebServiceDouble::control(const QJsonObject& commands) const
{
    const QByteArray body = QJsonDocument(commands).toJson(QJsonDocument::Compact);
    return QJsonDocument::fromJson(transfer(QStringLiteral("/control"), &body)).object();
}

QJsonObject WebServiceDouble::get(const QString& path) const
{
    return QJsonDocument::fromJson(transfer(path, nullptr)).object();
}

int WebServiceDouble::addAccount(const QString& user, const QString& password, int id)
{
    QJsonObject account { { QStringLiteral("user"), user }, { QStringLiteral("password"), password } };
    if (id)
        account.insert(QStringLiteral("id"), id);
    return control({ { QStringLiteral("addAccount"), account } }).value(QStringLiteral("id")).toInt();
}

int WebServiceDouble::addSurvey(int ownerId, const QString& name, int id)
{
    QJsonObject survey { { QStringLiteral("owner"), ownerId }, { QStringLiteral("name"), name } };
    if (id)
        survey.insert(QStringLiteral("id"), id);
    return control({ { QStringLiteral("addSurvey"), survey } }).value(QStringLiteral("id")).toInt();
}

void WebServiceDouble::setResults(const QString& fileName, const QByteArray& text)
{
    control({ { QStringLiteral("setResults"),
        QJsonObject { { QStringLiteral("file"), fileName }, { QStringLiteral("text"), QString::fromUtf8(text) } } } });
}

void WebServiceDouble::reset()
{
    control(
        { { QStringLiteral("reset"), true }, { QStringLiteral("slow"), 0 }, { QStringLiteral("unreachable"), false } });
}

void WebServiceDouble::setAnswer(const QString& function, const QString& text)
{
    control({ { QStringLiteral("answer"),
        QJsonObject { { QStringLiteral("func"), function }, { QStringLiteral("text"), text } } } });
}

void WebServiceDouble::clearAnswer(const QString& function)
{
    control({ { QStringLiteral("answer"),
        QJsonObject { { QStringLiteral("func"), function }, { QStringLiteral("text"), QJsonValue::Null } } } });
}

void WebServiceDouble::setSlow(double seconds)
{
    control({ { QStringLiteral("slow"), seconds } });
}

void WebServiceDouble::setTrickle(double secondsPerByte)
{
    control({ { QStringLiteral("trickle"), secondsPerByte } });
}

void WebServiceDouble::setUnreachable(bool unreachable)
{
    control({ { QStringLiteral("unreachable"), unreachable } });
}

void WebServiceDouble::setFtpFailure(const QString& mode)
{
    control({ { QStringLiteral("ftpFailure"), mode } });
}

QJsonObject WebServiceDouble::state() const
{
    return get(QStringLiteral("/state"));
}

QJsonArray WebServiceDouble::requests() const
{
    return state().value(QStringLiteral("requests")).toArray();
}

QJsonObject WebServiceDouble::lastParams() const
{
    const QJsonArray all = requests();
    return all.isEmpty() ? QJsonObject() : all.last().toObject().value(QStringLiteral("params")).toObject();
}
