#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A double of the web survey service for tests, run as a child process on 127.0.0.1 only
// (tests/support/web_service_double.py): the "ws/CallFunc.php" functions with accounts, surveys,
// published files and results in memory, an FTP server with the drop folder "incoming", and a
// control endpoint through which the test sets it up, makes it fail and reads what it saw.
// The process ends with the object, and by itself when the test process dies. Every control call
// has a time limit; a failed one throws std::runtime_error.
class WebServiceDouble {
public:
    // Starts the double; throws std::runtime_error when it does not come up.
    WebServiceDouble();
    ~WebServiceDouble();
    WebServiceDouble(const WebServiceDouble&) = delete;
    WebServiceDouble& operator=(const WebServiceDouble&) = delete;

    // The service's base URL, "http://127.0.0.1:port/".
    QString baseUrl() const;
    // The FTP server as a server entry holds it, "127.0.0.1:port", and its login.
    QString ftpServer() const;
    QString ftpUser() const { return ftpUser_; }
    QString ftpPassword() const { return ftpPassword_; }
    // The local folder behind the FTP drop folder "incoming".
    QString incomingFolder() const;
    // Where the service moves a survey file it published.
    QString publishedFolder() const;
    // A loopback port on which nothing listens.
    static int closedPort();

    // State. Accounts and surveys get the next free id unless one is given.
    int addAccount(const QString& user, const QString& password, int id = 0);
    int addSurvey(int ownerId, const QString& name, int id = 0);
    void setResults(const QString& fileName, const QByteArray& text);
    void reset();

    // Failures. A raw answer replaces what a function ("*" for all) answers until cleared.
    void setAnswer(const QString& function, const QString& text);
    void clearAnswer(const QString& function);
    // Every answer waits this long first.
    void setSlow(double seconds);
    // The body of every answer of the service goes out one byte at a time (after the headers,
    // which go whole) with this pause after each; 0 sends it whole again.
    void setTrickle(double secondsPerByte);
    // The service's port stops listening (connections are refused) or listens again.
    void setUnreachable(bool unreachable);
    // "" (none), "login" (every login refused), "cwd" (no directory can be entered), "put"
    // (no file can be stored), "drop" (the connection is closed after the greeting) or "trickle"
    // (the replies from the first change of directory on come a byte every 0.2 s).
    void setFtpFailure(const QString& mode);

    // What the double holds: accounts, surveys, results, requests, incoming, published.
    QJsonObject state() const;
    // Every request the service answered, in order: {"func", "params": {...}, "query"}.
    QJsonArray requests() const;
    // The decoded parameters of the last request.
    QJsonObject lastParams() const;

private:
    QJsonObject control(const QJsonObject& commands) const;
    QJsonObject get(const QString& path) const;
    QByteArray transfer(const QString& path, const QByteArray* body) const;

    QTemporaryDir home_;
    QProcess process_;
    int httpPort_ = 0;
    int ftpPort_ = 0;
    int controlPort_ = 0;
    QString ftpUser_;
    QString ftpPassword_;
};
