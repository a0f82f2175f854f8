// The web-service client and its transport, against the loopback double of the service.
#include "ProgramFolder.h"
#include "WebServiceDouble.h"
#include "platform/Database.h"
#include "platform/Internet.h"
#include "web/modWebServer.h"
#include "web/wininet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>
#include <QUrlQuery>

#include <functional>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

class ClientTest : public ::testing::Test {
protected:
    void SetUp() override { net::setLimits({ 5, 5 }); }
    void TearDown() override { net::setLimits({}); }

    ProgramFolder folder;
    WebServiceDouble service;
    QString url() const { return service.baseUrl(); }
};

// The answer parsers and the conversion of each operation's value, with the service answering
// a fixed text.
TEST_F(ClientTest, AnswersAreParsedAsEachOperationReadsThem)
{
    struct Case {
        const char* function;
        QString answer;
        std::function<QString(const QString&)> call;
        QString result;
        QString lastWebError; // "=" for the whole answer
    };
    const auto id = [](int n) { return QString::number(n); };
    const auto userId
        = [&](const QString& u) { return id(WSGetWebUserID(QStringLiteral("u"), QStringLiteral("p"), u)); };
    const auto surveyId = [&](const QString& u) { return id(WSGetSurveyID(QStringLiteral("s"), 17, u)); };
    const auto name = [](const QString& u) { return WSGetSurveyName(4, u); };
    const auto results = [](const QString& u) { return WSGetSurveyResults(QStringLiteral("17-4.txt"), u); };
    const auto remove = [](const QString& u) {
        return WSDeleteSurveyResultsFile(17, 4, u) ? QStringLiteral("True") : QStringLiteral("False");
    };
    const std::vector<Case> cases = {
        { "GetWebUserID", "Success<br>17<br>", userId, "17", "Success" },
        { "GetSurveyID", "Success<br>70000<br>", surveyId, "70000", "Success" },
        { "GetSurveyID", "Success<br>-1<br>", surveyId, "-1", "Success" },
        { "GetSurveyName", "Success<br>Staff survey<br>and more text", name, "Staff survey", "Success" },
        { "GetSurveyName", "Success<br><br>", name, "", "Success" },
        { "DeleteSurveyResultsFile", "Success<br><br>", remove, "False", "Success" },
        { "DeleteSurveyResultsFile", "Success<br>1<br>", remove, "True", "Success" },
        { "GetSurveyName", "Success<br>no closing tag", name, "", "Success" },
        { "GetSurveyName", "SuccessABC<br>", name, "", "Success" },
        { "GetSurveyName", "success<br>lower case<br>", name, "", "=" },
        { "GetWebUserID", "<b>Error</b>\r\nInvalid login.", userId, "-1", "=" },
        { "GetSurveyResults", "Failure: no such file", results, "", "=" },
        { "GetSurveyResults", "failure in lower case", results, "failure in lower case", "Success" },
        { "GetSurveyResults", "", results, "", "Success" },
        { "GetSurveyResults", "<userresponse>\r\n</userresponse>\r\n", results, "<userresponse>\r\n</userresponse>\r\n",
            "Success" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer.toStdString());
        service.setAnswer(QString::fromLatin1(c.function), c.answer);
        EXPECT_EQ(c.call(url()), c.result);
        EXPECT_EQ(LastWebError, c.lastWebError == QLatin1String("=") ? c.answer : c.lastWebError);
        EXPECT_EQ(readFile(resultFilePath()), c.answer.toUtf8());
        service.clearAnswer(QString::fromLatin1(c.function));
    }
}

TEST_F(ClientTest, AnIdAnswerThatIsNoWholeNumberOrTooLargeIsAConversionError)
{
    const std::vector<std::pair<QString, int>> cases
        = { { "Success<br><br>", 13 }, { "Success<br>abc<br>", 13 }, { "Success<br>99999999999<br>", 6 } };
    for (const auto& [answer, number] : cases) {
        SCOPED_TRACE(answer.toStdString());
        service.setAnswer(QStringLiteral("*"), answer);
        for (const auto& call : std::vector<std::function<int()>> {
                 [&] { return WSGetWebUserID(QStringLiteral("u"), QStringLiteral("p"), url()); },
                 [&] { return WSGetSurveyID(QStringLiteral("s"), 1, url()); },
                 [&] { return WSCreateSurvey(1, QStringLiteral("s"), url()); } }) {
            try {
                call();
                ADD_FAILURE() << "no conversion error";
            } catch (const db::Error& e) {
                EXPECT_EQ(e.number(), number);
                EXPECT_EQ(e.description(), number == 13 ? QStringLiteral("Type mismatch") : QStringLiteral("Overflow"));
            }
        }
    }
}

// The requests the service receives: every value arrives as typed, whatever it holds.
TEST_F(ClientTest, ParameterValuesReachTheServiceExactlyAsTyped)
{
    const QString user = QStringLiteral("ann & bob+1 #2");
    const QString password = QStringLiteral("p&param2=x+y #?%20=");
    const QString survey = QStringLiteral("Q&A #1 + more, \u00e9t\u00e9");
    const int uid = service.addAccount(user, password, 40000);

    EXPECT_EQ(WSGetWebUserID(user, password, url()), 40000);
    EXPECT_EQ(service.lastParams().value("param1").toString(), user);
    EXPECT_EQ(service.lastParams().value("param2").toString(), password);

    const int sid = WSCreateSurvey(uid, survey, url());
    EXPECT_GT(sid, 0);
    EXPECT_EQ(WSGetSurveyID(survey, uid, url()), sid);
    EXPECT_EQ(WSGetSurveyName(sid, url()), survey);
    EXPECT_EQ(WSMoveNewSurvey(QStringLiteral("missing.xml"), sid, true, uid, url()), QString());
    const QJsonObject move = service.lastParams();
    EXPECT_EQ(move.value("param1").toString(), QStringLiteral("missing.xml"));
    EXPECT_EQ(move.value("param3").toString(), QStringLiteral("True"));
    EXPECT_EQ(move.value("param4").toString(), QString::number(uid));

    // Every request names its function first and ends with the time stamp.
    const QJsonArray requests = service.requests();
    ASSERT_EQ(requests.size(), 5);
    for (const QJsonValue& r : requests) {
        const QUrlQuery query(r.toObject().value("query").toString());
        const auto items = query.queryItems(QUrl::FullyDecoded);
        ASSERT_GE(items.size(), 2);
        EXPECT_EQ(items.first().first, QStringLiteral("func"));
        EXPECT_EQ(items.last().first, QStringLiteral("refreshme"));
        EXPECT_FALSE(items.last().second.isEmpty());
        EXPECT_FALSE(r.toObject().value("query").toString().contains(password)) << "sent without encoding";
    }
    EXPECT_EQ(requests.last().toObject().value("params").toObject().value("refreshme").toString().left(4),
        refreshStamp().left(4));
}

TEST(RefreshStampTest, LocalDateAndLongTimeWithoutTheTimeAtMidnight)
{
    const QDate day(2024, 3, 9);
    const QString date = QLocale::system().toString(day, QLocale::ShortFormat);
    EXPECT_EQ(refreshStamp(QDateTime(day, QTime(0, 0))), date);
    const QString afternoon = refreshStamp(QDateTime(day, QTime(13, 5, 9)));
    EXPECT_TRUE(afternoon.startsWith(date + QLatin1Char(' '))) << afternoon.toStdString();
    EXPECT_TRUE(afternoon.contains(QLatin1String("05"))) << afternoon.toStdString();
    EXPECT_NE(afternoon, refreshStamp(QDateTime(day, QTime(13, 5, 10))));
}

// One walk through all eight functions on the double, the FTP upload between them.
TEST_F(ClientTest, PublishAndCollectThroughTheService)
{
    const int uid = service.addAccount(QStringLiteral("ann"), QStringLiteral("secret"));
    ASSERT_EQ(WSGetWebUserID(QStringLiteral("ann"), QStringLiteral("secret"), url()), uid);
    EXPECT_EQ(WSGetSurveyID(QStringLiteral("Staff"), uid, url()), -1);
    EXPECT_EQ(LastWebError, QStringLiteral("Error: no such survey."));
    const int sid = WSCreateSurvey(uid, QStringLiteral("Staff"), url());
    ASSERT_GT(sid, 0);

    const QString local = folder.file(QStringLiteral("test.xml"));
    QFile f(local);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<app>Orvalen Tessivo</app>\r\n");
    f.close();
    const QString remote = QStringLiteral("%1-%2.xml").arg(uid).arg(sid);
    net::FtpSession ftp;
    ASSERT_EQ(ftp.connect(service.ftpServer(), service.ftpUser(), service.ftpPassword()), net::kOk);
    ASSERT_EQ(ftp.setCurrentDirectory(QStringLiteral("incoming")), net::kOk);
    ASSERT_EQ(ftp.putFile(local, remote), net::kOk);
    ftp.close();
    EXPECT_EQ(readFile(service.incomingFolder() + QLatin1Char('/') + remote), readFile(local));

    const QString published = WSMoveNewSurvey(remote, sid, false, uid, url());
    EXPECT_TRUE(published.startsWith(QLatin1String("http://127.0.0.1:"))) << published.toStdString();
    EXPECT_EQ(WSGetSurveyListForUser(uid, url()), QString::number(sid));
    EXPECT_EQ(WSGetSurveyName(sid, url()), QStringLiteral("Staff"));

    const QString file = QStringLiteral("%1-%2.txt").arg(uid).arg(sid);
    service.setResults(file, "<userresponse>\r\n</userresponse>\r\n");
    EXPECT_EQ(WSGetSurveyResults(file, url()), QStringLiteral("<userresponse>\r\n</userresponse>\r\n"));
    EXPECT_TRUE(WSDeleteSurveyResultsFile(uid, sid, url()));
    EXPECT_FALSE(WSDeleteSurveyResultsFile(uid, sid, url()));
    EXPECT_EQ(WSGetSurveyResults(file, url()), QString());
    EXPECT_TRUE(LastWebError.startsWith(QLatin1String("Failure")));
}

// The results streamed into their file: it is replaced only by a results answer; a failure, an
// empty answer or an unreachable service leave an earlier download as it was, and no stray file.
TEST_F(ClientTest, ResultsStreamedIntoTheirFileReplaceItOnlyWhenTheyArrived)
{
    const QString path = folder.file(QStringLiteral("17-4.txt"));
    const auto write = [&](const QByteArray& text) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    write("earlier download, longer than what follows");
    const QByteArray results = "<userresponse>\r\n</userresponse>\r\n";
    service.setResults(QStringLiteral("17-4.txt"), results);
    ASSERT_TRUE(wsGetSurveyResultsToFile(QStringLiteral("17-4.txt"), url(), path));
    EXPECT_EQ(readFile(path), results);
    EXPECT_EQ(LastWebError, QStringLiteral("Success"));

    struct Case {
        const char* what;
        std::function<void()> arrange;
        QString lastWebError;
    };
    const std::vector<Case> cases = {
        { "failure", [] {}, QStringLiteral("Failure: no results file.") },
        { "empty", [&] { service.setResults(QStringLiteral("17-4.txt"), QByteArray()); }, QStringLiteral("Success") },
        { "unreachable", [&] { service.setUnreachable(true); }, QString() },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        service.reset();
        c.arrange();
        write("earlier");
        EXPECT_FALSE(wsGetSurveyResultsToFile(QStringLiteral("17-4.txt"), url(), path));
        EXPECT_EQ(LastWebError, c.lastWebError);
        EXPECT_EQ(readFile(path), QByteArray("earlier"));
        EXPECT_EQ(folder.files(QStringLiteral("*.download")), QStringList());
        service.setUnreachable(false);
    }

    // A folder that cannot be written is an error of its own.
    EXPECT_THROW(
        wsGetSurveyResultsToFile(QStringLiteral("17-4.txt"), url(), folder.file(QStringLiteral("no/such/17-4.txt"))),
        db::Error);
}

// A new results file takes the earlier one's place in one step: the earlier file is never deleted
// before the new one is there, and a replacement that fails leaves it and no stray file.
TEST_F(ClientTest, NewResultsReplaceTheEarlierFileInOneStep)
{
    const QString path = folder.file(QStringLiteral("17-4.txt"));
    ASSERT_TRUE(writeFile(path, "earlier download"));
    const QByteArray results = "<userresponse>\r\n</userresponse>\r\n";
    service.setResults(QStringLiteral("17-4.txt"), results);

    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(folder.path()).constData(), IN_DELETE | IN_MOVED_TO), 0);
    ASSERT_TRUE(wsGetSurveyResultsToFile(QStringLiteral("17-4.txt"), url(), path));
    QStringList deleted, movedIn;
    alignas(inotify_event) char buffer[16384];
    for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;) {
        for (char* p = buffer; p < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            const QString name = event->len ? QFile::decodeName(event->name) : QString();
            (event->mask & IN_DELETE ? deleted : movedIn) << name;
            p += sizeof(inotify_event) + event->len;
        }
    }
    ::close(watch);
    EXPECT_FALSE(deleted.contains(QStringLiteral("17-4.txt"))) << deleted.join(' ').toStdString();
    EXPECT_TRUE(movedIn.contains(QStringLiteral("17-4.txt"))) << movedIn.join(' ').toStdString();
    EXPECT_EQ(readFile(path), results);

    // The name taken by a folder with a file in it: the replacement fails and says so.
    const QString taken = folder.file(QStringLiteral("17-5.txt"));
    ASSERT_TRUE(QDir().mkpath(taken + QStringLiteral("/inside")));
    service.setResults(QStringLiteral("17-5.txt"), results);
    EXPECT_THROW(wsGetSurveyResultsToFile(QStringLiteral("17-5.txt"), url(), taken), db::Error);
    EXPECT_TRUE(QFileInfo(taken + QStringLiteral("/inside")).isDir());
    EXPECT_EQ(folder.files(QStringLiteral("*.download")), QStringList());
}

TEST_F(ClientTest, ARefusedLoginGivesTheServiceAnswer)
{
    service.addAccount(QStringLiteral("ann"), QStringLiteral("secret"));
    EXPECT_EQ(WSGetWebUserID(QStringLiteral("ann"), QStringLiteral("Secret"), url()), -1);
    EXPECT_EQ(LastWebError, QStringLiteral("Error: invalid username or password."));
}

// Transport failures: the operation fails and LastWebError stays "".
TEST_F(ClientTest, ATransportFailureLeavesLastWebErrorEmpty)
{
    struct Case {
        const char* what;
        std::function<void()> arrange;
        QString base;
        int code;
    };
    net::setLimits({ 5, 1 });
    const std::vector<Case> cases = {
        { "unreachable", [&] { service.setUnreachable(true); }, url(), net::kCannotConnect },
        { "closed port", [] {}, QStringLiteral("http://127.0.0.1:%1/").arg(WebServiceDouble::closedPort()),
            net::kCannotConnect },
        { "slow", [&] { service.setSlow(4); }, url(), net::kTimeout },
        // An answer of 215 bytes at 20 bytes a second: abandoned after the (shortened) limit.
        { "trickle",
            [&] {
                service.setAnswer(QStringLiteral("GetSurveyName"),
                    QStringLiteral("Success<br>") + QString(200, QLatin1Char('a')) + QStringLiteral("<br>"));
                service.setTrickle(0.05);
            },
            url(), net::kTimeout },
        { "not found", [] {}, url() + QStringLiteral("nowhere/"), 22 },
        { "no scheme", [] {}, QStringLiteral("gopher://127.0.0.1/"), net::kUnrecognizedScheme },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        service.reset();
        c.arrange();
        LastWebError = QStringLiteral("earlier");
        EXPECT_EQ(WSGetSurveyName(4, c.base), QString());
        EXPECT_EQ(LastWebError, QString());
        EXPECT_EQ(net::httpGetToFile(c.base + QStringLiteral("ws/CallFunc.php?func=GetSurveyName"),
                      folder.file(QStringLiteral("probe.htm"))),
            c.code);
        EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("probe.htm"))));
    }
}

// While a transfer waits, the event loop runs: timers fire, a second transfer is refused, and
// the wait can be cancelled.
TEST_F(ClientTest, AWaitingTransferKeepsTheEventLoopRunningAndCanBeCancelled)
{
    service.setSlow(20);
    net::setLimits({ 5, 60 });
    int nested = -1;
    QTimer::singleShot(100, [&] {
        nested = net::httpGetToFile(url(), folder.file(QStringLiteral("nested.htm")));
        net::cancelTransfers();
    });
    EXPECT_EQ(net::httpGetToFile(url() + QStringLiteral("ws/CallFunc.php?func=GetSurveyName"),
                  folder.file(QStringLiteral("slow.htm"))),
        net::kOperationCancelled);
    EXPECT_EQ(nested, net::kRequestPending);
    service.setSlow(0);
    EXPECT_EQ(net::httpGetToFile(url() + QStringLiteral("ws/CallFunc.php?func=GetSurveyName"),
                  folder.file(QStringLiteral("slow.htm"))),
        net::kOk);
}

TEST_F(ClientTest, FtpFailuresHaveTheirNumbersAndTexts)
{
    const QString local = folder.file(QStringLiteral("up.xml"));
    QFile f(local);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.close();
    struct Case {
        const char* failure;
        QString server;
        QString password;
        int connect, cwd, put;
        QString text; // of the failing step's number
    };
    const QString server = service.ftpServer();
    const QString good = service.ftpPassword();
    const std::vector<Case> cases = {
        { "", server, good, net::kOk, net::kOk, net::kOk, "" },
        { "", server, QStringLiteral("wrong"), net::kIncorrectPassword, 0, 0,
            "Request to connect and login to an FTP server could not be completed because the supplied password is "
            "incorrect. " },
        { "login", server, good, net::kIncorrectPassword, 0, 0, "" },
        { "cwd", server, good, net::kOk, net::kExtendedError, 0, "550 No such directory (refused by the test)." },
        { "put", server, good, net::kOk, net::kOk, net::kExtendedError,
            "553 Could not create file (refused by the test)." },
        { "drop", server, good, net::kConnectionReset, 0, 0, "The connection with the server has been reset." },
        { "", QStringLiteral("127.0.0.1:%1").arg(WebServiceDouble::closedPort()), good, net::kCannotConnect, 0, 0,
            "The attempt to connect to the server failed." },
        { "", QStringLiteral("127.0.0.1:99999"), good, net::kInvalidUrl, 0, 0, "URL is invalid." },
        { "", QStringLiteral("bad host name:21"), good, net::kInvalidUrl, 0, 0, "URL is invalid." },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.failure) + " " + c.server.toStdString());
        service.setFtpFailure(QString::fromLatin1(c.failure));
        net::FtpSession ftp;
        const int connected = ftp.connect(c.server, service.ftpUser(), c.password);
        EXPECT_EQ(connected, c.connect);
        int last = connected;
        if (connected == net::kOk) {
            last = ftp.setCurrentDirectory(QStringLiteral("incoming"));
            EXPECT_EQ(last, c.cwd);
            if (last == net::kOk) {
                last = ftp.putFile(local, QStringLiteral("1-2.xml"));
                EXPECT_EQ(last, c.put);
            }
        } else {
            EXPECT_FALSE(ftp.isOpen());
        }
        if (!c.text.isEmpty()) {
            EXPECT_EQ(GetInternetErrorText(last), c.text);
        }
    }
    EXPECT_EQ(net::FtpSession().putFile(local, QStringLiteral("x")), net::kIncorrectHandleState);
}

TEST(InternetErrorTextTest, FixedTextsAndTheServerAnswer)
{
    // Every fixed text word for word, trailing blanks included.
    const std::vector<std::pair<int, const char*>> texts = {
        { 12001, "No more handles could be generated at this time" },
        { 12002, "The request has timed out." },
        { 12004, "An internal error has occurred." },
        { 12005, "URL is invalid." },
        { 12006, "URL scheme could not be recognized, or is not supported." },
        { 12007, "Server name could not be resolved." },
        { 12008, "Requested protocol could not be located." },
        { 12009, "A request to InternetQueryOption or InternetSetOption specified an invalid option value." },
        { 12010,
            "Length of an option supplied to InternetQueryOption or InternetSetOption is incorrect for the type of "
            "option specified." },
        { 12011, "The request option can not be set, only queried. " },
        { 12012, "The Win32 Internet support is being shutdown or unloaded." },
        { 12013,
            "Request to connect and login to an FTP server could notbe completed because the supplied user name is "
            "incorrect." },
        { 12014,
            "Request to connect and login to an FTP server could not be completed because the supplied password is "
            "incorrect. " },
        { 12015, "Request to connect to and login to an FTP server failed." },
        { 12016, "Requested operation is invalid. " },
        { 12017,
            "Operation was canceled, usually because the handle on which the request was operating was closed before "
            "the operation completed." },
        { 12018, "Type of handle supplied is incorrect for this operation." },
        { 12019,
            "Requested operation can not be carried out because the handle supplied is not in the correct state." },
        { 12020, "Request can not be made via a proxy." },
        { 12021, "A required registry value could not be located. " },
        { 12022, "A required registry value was located but is an incorrect type or has an invalid value." },
        { 12023, "Direct network access cannot be made at this time. " },
        { 12024, "An asynchronous request could not be made because a zero context value was supplied." },
        { 12025, "An asynchronous request could not be made because a callback function has not been set." },
        { 12026, "The required operation could not be completed because one or more requests are pending." },
        { 12027, "The format of the request is invalid." },
        { 12028, "The requested item could not be located." },
        { 12029, "The attempt to connect to the server failed." },
        { 12030, "The connection with the server has been terminated." },
        { 12031, "The connection with the server has been reset." },
        { 12036, "The request failed because the handle already exists." },
    };
    ASSERT_EQ(texts.size(), 31u);
    for (const auto& [code, text] : texts)
        EXPECT_EQ(GetInternetErrorText(code), QString::fromLatin1(text)) << code;
    for (int code : { 0, 22, 12000, 12032, 12035, 12037 })
        EXPECT_EQ(GetInternetErrorText(code), QStringLiteral("Error details not available.")) << code;
    // A session that got no answer at all leaves no server text behind.
    net::FtpSession().connect(QStringLiteral("127.0.0.1:%1").arg(WebServiceDouble::closedPort()), QString(), QString());
    EXPECT_EQ(GetInternetErrorText(12003), QStringLiteral("Extended error returned from server."));
    EXPECT_EQ(StripNull(QStringLiteral("ab") + QChar(u'\0') + QStringLiteral("cd")), QStringLiteral("ab"));
    EXPECT_EQ(StripNull(QStringLiteral("abc")), QStringLiteral("abc"));
}

} // namespace
