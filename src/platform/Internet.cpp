#include "platform/Internet.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QLibrary>
#include <QMutex>
#include <QSaveFile>
#include <QThread>
#include <QUrl>

#include <atomic>
#include <curl/curl.h>
#include <functional>
#include <thread>
#include <type_traits>

namespace net {

namespace {

std::atomic<int> connectSeconds { Limits().connectSeconds };
std::atomic<int> slowSeconds { Limits().slowSeconds };
std::atomic<int> slowBytesPerSecond { Limits().slowBytesPerSecond };
// Raised by cancelTransfers(); a transfer that sees it change ends.
std::atomic<int> cancelGeneration { 0 };
// One transfer at a time: a second call made from the event loop while one waits is refused.
std::atomic<bool> busy { false };

QMutex responseMutex;
QString lastResponse;

void setLastResponse(const QString& text)
{
    QMutexLocker lock(&responseMutex);
    lastResponse = text;
}

// libcurl, loaded on the first transfer rather than with the program: the library and the many it
// needs take several milliseconds to load, longer than the rest of the start-up before the main
// window is on screen, and most sessions never go on the web.
struct Curl {
    CURLcode (*global_init)(long flags) = nullptr;
    CURL* (*easy_init)() = nullptr;
    CURLcode (*easy_setopt)(CURL* curl, CURLoption option, ...) = nullptr;
    CURLcode (*easy_perform)(CURL* curl) = nullptr;
    void (*easy_cleanup)(CURL* curl) = nullptr;
};

// The library's functions once loaded and set up; none when it cannot be loaded.
const Curl* curlLibrary()
{
    static const Curl* const loaded = []() -> const Curl* {
        static QLibrary library(QStringLiteral("curl"), 4);
        static Curl api;
        if (!library.load())
            return nullptr;
        const auto resolve = [](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
            return function != nullptr;
        };
        if (!resolve(api.global_init, "curl_global_init") || !resolve(api.easy_init, "curl_easy_init")
            || !resolve(api.easy_setopt, "curl_easy_setopt") || !resolve(api.easy_perform, "curl_easy_perform")
            || !resolve(api.easy_cleanup, "curl_easy_cleanup"))
            return nullptr;
        return api.global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK ? &api : nullptr;
    }();
    return loaded;
}

// The loaded library, for the transfers that globalInit() let start.
const Curl& lib()
{
    return *curlLibrary();
}

// False when libcurl cannot be loaded: no transfer can start.
bool globalInit()
{
    return curlLibrary() != nullptr;
}

// What a transfer saw of the server's answers (FTP replies come one line at a time).
struct Replies {
    QString last;
    bool passwordAsked = false; // the server took the user name and asked for the password
};

int fromCurl(CURLcode code, const Replies& replies)
{
    switch (code) {
    case CURLE_OK:
        return kOk;
    case CURLE_UNSUPPORTED_PROTOCOL:
        return kUnrecognizedScheme;
    case CURLE_URL_MALFORMAT:
        return kInvalidUrl;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return kNameNotResolved;
    case CURLE_COULDNT_CONNECT:
        return kCannotConnect;
    case CURLE_OPERATION_TIMEDOUT:
        return kTimeout;
    case CURLE_LOGIN_DENIED:
        return replies.passwordAsked ? kIncorrectPassword : kLoginFailure;
    case CURLE_ABORTED_BY_CALLBACK:
        return kOperationCancelled;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
        return kConnectionReset;
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
        return kConnectionAborted;
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_UPLOAD_FAILED:
    case CURLE_QUOTE_ERROR:
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_REMOTE_DISK_FULL:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_FTP_PORT_FAILED:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_FTP_WEIRD_227_FORMAT:
    case CURLE_FTP_CANT_GET_HOST:
    case CURLE_WEIRD_SERVER_REPLY:
        // The server said no: its answer tells why. Without one the connection simply ended.
        return replies.last.isEmpty() ? kConnectionAborted : kExtendedError;
    case CURLE_FAILED_INIT:
        return kOutOfHandles;
    case CURLE_OUT_OF_MEMORY:
    case CURLE_WRITE_ERROR:
    case CURLE_READ_ERROR:
        return kInternalError;
    default:
        // A number outside the Internet error range: its text is "Error details not available."
        return int(code);
    }
}

int onProgress(void* generation, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return *static_cast<const int*>(generation) != cancelGeneration.load() ? 1 : 0;
}

size_t onReply(char* data, size_t size, size_t count, void* userdata)
{
    auto* replies = static_cast<Replies*>(userdata);
    QString line = QString::fromUtf8(data, qsizetype(size * count)).trimmed();
    if (!line.isEmpty()) {
        if (line.startsWith(QLatin1String("331")))
            replies->passwordAsked = true;
        replies->last = line;
    }
    return size * count;
}

// The options every transfer shares: time limits, cancellation, no signals (worker threads).
void setCommonOptions(CURL* curl, const int* generation, Replies* replies)
{
    lib().easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    lib().easy_setopt(curl, CURLOPT_VERBOSE, 0L);
    lib().easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, long(connectSeconds.load()));
    lib().easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, long(slowBytesPerSecond.load()));
    lib().easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, long(slowSeconds.load()));
    // The speed is watched only while data moves: an FTP reply is bounded by how long it may take to
    // arrive whole.
    lib().easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(slowSeconds.load()));
    lib().easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    lib().easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &onProgress);
    lib().easy_setopt(curl, CURLOPT_XFERINFODATA, generation);
    lib().easy_setopt(curl, CURLOPT_HEADERFUNCTION, &onReply);
    lib().easy_setopt(curl, CURLOPT_HEADERDATA, replies);
}

// Runs the work on a worker thread. On the application's thread the event loop runs meanwhile,
// so windows repaint and a Cancel can reach cancelTransfers(); elsewhere the work runs inline.
int runBlocking(const std::function<int(int generation)>& work)
{
    if (busy.exchange(true))
        return kRequestPending;
    struct Release {
        ~Release() { busy = false; }
    } release;
    const int generation = cancelGeneration.load();
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread())
        return work(generation);

    int result = kInternalError;
    std::atomic<bool> done { false };
    QEventLoop loop;
    std::thread worker([&] {
        result = work(generation);
        done = true;
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    if (!done)
        loop.exec();
    if (!done)
        cancelTransfers(); // the event loop was told to end (the program quits): stop the transfer
    worker.join();
    return result;
}

size_t onBody(char* data, size_t size, size_t count, void* file)
{
    const qint64 n = qint64(size * count);
    return static_cast<QSaveFile*>(file)->write(data, n) == n ? size * count : 0;
}

QString pathSegment(const QString& name)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(name));
}

// "host" or "host:port" (an IPv6 address in brackets) as the base URL of an FTP server.
QString ftpBase(const QString& server)
{
    QString host = server.trimmed();
    int port = 21;
    const qsizetype colon = host.lastIndexOf(QLatin1Char(':'));
    const bool bracketed = host.startsWith(QLatin1Char('['));
    if (colon > 0 && (bracketed ? host.at(colon - 1) == QLatin1Char(']') : host.count(QLatin1Char(':')) == 1)) {
        bool ok = false;
        port = host.mid(colon + 1).toInt(&ok);
        if (!ok || port < 1 || port > 65535)
            return QString();
        host = host.left(colon);
    }
    if (bracketed && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    if (host.isEmpty())
        return QString();
    QUrl url;
    url.setScheme(QStringLiteral("ftp"));
    url.setHost(host, QUrl::StrictMode);
    url.setPort(port);
    url.setPath(QStringLiteral("/"));
    return url.isValid() && !url.host().isEmpty() ? url.toString(QUrl::FullyEncoded) : QString();
}

} // namespace

Limits limits()
{
    return { connectSeconds.load(), slowSeconds.load(), slowBytesPerSecond.load() };
}

void setLimits(const Limits& l)
{
    connectSeconds = l.connectSeconds;
    slowSeconds = l.slowSeconds;
    slowBytesPerSecond = l.slowBytesPerSecond;
}

void cancelTransfers()
{
    ++cancelGeneration;
}

QString lastResponseInfo()
{
    QMutexLocker lock(&responseMutex);
    return lastResponse;
}

int httpGetToFile(const QString& url, const QString& path)
{
    if (!globalInit())
        return kInternalError;
    const QByteArray address = url.toUtf8();
    return runBlocking([&](int generation) {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return int(kInternalError);
        CURL* curl = lib().easy_init();
        if (!curl)
            return int(kOutOfHandles);
        Replies replies;
        setCommonOptions(curl, &generation, &replies);
        lib().easy_setopt(curl, CURLOPT_URL, address.constData());
        lib().easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
        lib().easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        lib().easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
        lib().easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
        lib().easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
        lib().easy_setopt(curl, CURLOPT_WRITEFUNCTION, &onBody);
        lib().easy_setopt(curl, CURLOPT_WRITEDATA, &file);
        const CURLcode code = lib().easy_perform(curl);
        lib().easy_cleanup(curl);
        if (code != CURLE_OK) {
            file.cancelWriting();
            return fromCurl(code, replies);
        }
        return file.commit() ? int(kOk) : int(kInternalError);
    });
}

// FtpSession

struct FtpSession::Impl {
    CURL* curl = nullptr;
    QString base; // "ftp://host:port/"
    QString directory; // the current directory below the login directory, "" or "a/b/"
    QByteArray userName;
    QByteArray password;

    // One command on the open connection: the URL below the base, an upload source or none.
    int perform(const QString& below, QFile* upload)
    {
        const QByteArray url = (base + below).toUtf8();
        return runBlocking([&](int generation) {
            Replies replies;
            setCommonOptions(curl, &generation, &replies);
            lib().easy_setopt(curl, CURLOPT_URL, url.constData());
            lib().easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
            lib().easy_setopt(curl, CURLOPT_PROXY, ""); // FTP goes direct
            lib().easy_setopt(curl, CURLOPT_USERNAME, userName.constData());
            lib().easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
            lib().easy_setopt(curl, CURLOPT_NOBODY, upload ? 0L : 1L);
            lib().easy_setopt(curl, CURLOPT_UPLOAD, upload ? 1L : 0L);
            if (upload) {
                lib().easy_setopt(curl, CURLOPT_READFUNCTION, &onRead);
                lib().easy_setopt(curl, CURLOPT_READDATA, upload);
                lib().easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(upload->size()));
            }
            const CURLcode code = lib().easy_perform(curl);
            setLastResponse(replies.last);
            return fromCurl(code, replies);
        });
    }

    static size_t onRead(char* buffer, size_t size, size_t count, void* file)
    {
        const qint64 n = static_cast<QFile*>(file)->read(buffer, qint64(size * count));
        return n < 0 ? CURL_READFUNC_ABORT : size_t(n);
    }
};

FtpSession::FtpSession()
    : d_(std::make_unique<Impl>())
{ }

FtpSession::~FtpSession()
{
    close();
}

bool FtpSession::isOpen() const
{
    return d_->curl != nullptr;
}

int FtpSession::connect(const QString& server, const QString& userName, const QString& password)
{
    close();
    if (!globalInit())
        return kInternalError;
    setLastResponse(QString());
    d_->base = ftpBase(server);
    if (d_->base.isEmpty())
        return kInvalidUrl;
    d_->curl = lib().easy_init();
    if (!d_->curl)
        return kOutOfHandles;
    d_->userName = userName.toUtf8();
    d_->password = password.toUtf8();
    const int result = d_->perform(QString(), nullptr);
    if (result != kOk)
        close();
    return result;
}

int FtpSession::setCurrentDirectory(const QString& directory)
{
    if (!isOpen())
        return kIncorrectHandleState;
    const QString below = d_->directory + pathSegment(directory) + QLatin1Char('/');
    const int result = d_->perform(below, nullptr);
    if (result == kOk)
        d_->directory = below;
    return result;
}

int FtpSession::putFile(const QString& localPath, const QString& remoteName)
{
    if (!isOpen())
        return kIncorrectHandleState;
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly))
        return kFileNotFound;
    return d_->perform(d_->directory + pathSegment(remoteName), &file);
}

void FtpSession::close()
{
    if (d_->curl)
        lib().easy_cleanup(d_->curl);
    d_->curl = nullptr;
    d_->directory.clear();
    d_->password.fill('\0');
    d_->password.clear();
}

} // namespace net
