#pragma once

#include <QString>

#include <memory>

// The program's Internet transport over libcurl: an HTTP GET into a file and an FTP session that
// logs in, changes directory and puts a file. Each call blocks its caller until it is done, but
// the transfer itself runs on a worker thread while the caller's thread keeps its event loop
// running, so the window keeps painting. Failures are numbered as the Windows Internet functions
// number them (12002 timed out, 12029 cannot connect, ...), so the error texts of the web
// subsystem apply; 0 is success.
namespace net {

// Error numbers the transport gives.
enum ErrorCode : int {
    kOk = 0,
    kFileNotFound = 2, // the local file to upload cannot be read
    kOutOfHandles = 12001,
    kTimeout = 12002,
    kExtendedError = 12003, // the server refused; its answer is lastResponseInfo()
    kInternalError = 12004,
    kInvalidUrl = 12005,
    kUnrecognizedScheme = 12006,
    kNameNotResolved = 12007,
    kIncorrectUserName = 12013,
    kIncorrectPassword = 12014,
    kLoginFailure = 12015,
    kOperationCancelled = 12017,
    kIncorrectHandleState = 12019,
    kRequestPending = 12026,
    kCannotConnect = 12029,
    kConnectionAborted = 12030,
    kConnectionReset = 12031,
};

// How long a transfer may take to connect, and how long it may go on moving fewer than
// slowBytesPerSecond bytes a second (an FTP reply: how long it may take to arrive whole) before it
// is abandoned with kTimeout. A server that is silent, or that trickles a byte every few seconds,
// so ends the wait.
struct Limits {
    int connectSeconds = 15;
    int slowSeconds = 60;
    int slowBytesPerSecond = 100;
};
Limits limits();
// Tests shorten the limits so that a silent or trickling server fails quickly.
void setLimits(const Limits& limits);

// Ends the transfer that is running now, if any: its call returns kOperationCancelled at once.
// For a window closed while it waits.
void cancelTransfers();

// Fetches the URL by HTTP GET and replaces the file with the answer's body (the file is replaced
// only when the whole body arrived). An HTTP error status is a failure.
int httpGetToFile(const QString& url, const QString& path);

// The server's last answer on an FTP session that failed with kExtendedError (for instance
// "550 No such directory."); "" when there is none.
QString lastResponseInfo();

// One FTP connection: the server as "host" (port 21) or "host:port", passive mode, binary
// transfers. The password travels only to the server.
class FtpSession {
public:
    FtpSession();
    ~FtpSession();
    FtpSession(const FtpSession&) = delete;
    FtpSession& operator=(const FtpSession&) = delete;

    // Connects and logs in.
    int connect(const QString& server, const QString& userName, const QString& password);
    // Changes to a directory below the current one.
    int setCurrentDirectory(const QString& directory);
    // Stores the local file in the current directory under the remote name.
    int putFile(const QString& localPath, const QString& remoteName);
    void close();
    bool isOpen() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace net
