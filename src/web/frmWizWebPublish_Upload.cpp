#include "web/frmWizWebPublish_Upload.h"

#include "document/StoredSurvey.h"
#include "document/SurveySession.h"
#include "platform/Internet.h"
#include "platform/WaitCursor.h"
#include "web/ExchangeFile.h"
#include "web/ServerList.h"
#include "web/WizardDriver.h"
#include "web/frmWizWebPublish.h"
#include "web/modWebServer.h"
#include "web/wininet.h"
#include "widgets/Dialogs.h"

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

frmWizWebPublish_Upload::frmWizWebPublish_Upload(SurveySession& session, QWidget* parent)
    : WizardLogPage(QStringLiteral("frmWizWebPublish_Upload"), QStringLiteral("Uploading Survey"), kPublishHelpContext,
        QStringLiteral("Please wait while your survey is uploaded."), QStringLiteral("Upload Progress:"), parent)
    , session_(session)
{ }

bool frmWizWebPublish_Upload::tell(const QString& text)
{
    Dialogs::msgBox(text, Dialogs::OKOnly, Dialogs::Critical);
    return log(text);
}

void frmWizWebPublish_Upload::Timer1_Timer()
{
    Timer1->stop();
    WaitCursor hourglass;
    ProgressBar1->setRange(0, 9);
    ProgressBar1->setValue(0);
    txtMessages->clear();
    cmdNext->setEnabled(false);

    net::FtpSession ftp;
    Outcome outcome = Outcome::Failed;
    try {
        outcome = upload(ftp);
    } catch (const std::exception&) {
        // A file that cannot be written, an answer that is not a number: the failure end.
        outcome = isClosed() ? Outcome::Closed : Outcome::Failed;
    }
    ftp.close();
    hourglass.restore();
    if (outcome == Outcome::Failed)
        AddMessage(QStringLiteral("Failed."));
}

frmWizWebPublish_Upload::Outcome frmWizWebPublish_Upload::upload(net::FtpSession& ftp)
{
    const std::optional<ServerEntry> server = findServer(PublishServerIndex);
    if (!server)
        return isClosed() ? Outcome::Closed : Outcome::Failed;
    const QString& url = server->url;

    if (!log(QStringLiteral("Creating local survey.")))
        return Outcome::Closed;
    ExchangeFile::DoSaveXML(StoredSurvey(session_).survey(), session_.SurveyConnection, ExchangeFile::defaultPath());
    if (!log(QStringLiteral("Created local survey.")))
        return Outcome::Closed;

    if (!log(QStringLiteral("Logging ") + PublishUserName + QStringLiteral(" into ") + server->name + QLatin1Char('.')))
        return Outcome::Closed;
    const int userId = WSGetWebUserID(PublishUserName, PublishPassword, url);
    if (isClosed())
        return Outcome::Closed;
    if (userId == -1)
        return tell(QStringLiteral("Unable to login. Error ") + LastWebError) ? Outcome::Failed : Outcome::Closed;
    if (!log(PublishUserName + QStringLiteral(" logged into ") + server->name + QLatin1Char('.')))
        return Outcome::Closed;

    if (!log(QStringLiteral("Checking for status of ") + PublishSurveyName + QLatin1Char('.')))
        return Outcome::Closed;
    int surveyId = WSGetSurveyID(PublishSurveyName, userId, url);
    if (isClosed())
        return Outcome::Closed;
    if (surveyId != -1) {
        if (Dialogs::msgBox(QStringLiteral("This survey already exists. Do you want to update it?"), Dialogs::YesNo,
                Dialogs::Question)
            != Dialogs::Yes)
            return log(QStringLiteral("Cancelled survey update.")) ? Outcome::Failed : Outcome::Closed;
        if (!log(QStringLiteral("Updating existing survey ") + PublishSurveyName + QLatin1Char('.')))
            return Outcome::Closed;
    } else {
        if (!log(QStringLiteral("Creating new survey ") + PublishSurveyName + QLatin1Char('.')))
            return Outcome::Closed;
        surveyId = WSCreateSurvey(userId, PublishSurveyName, url);
        if (isClosed())
            return Outcome::Closed;
        if (surveyId == -1) {
            Dialogs::msgBox(
                QStringLiteral("Unable to create survey. Error ") + LastWebError, Dialogs::OKOnly, Dialogs::Critical);
            return Outcome::Failed;
        }
    }

    const QString remoteName
        = QString::number(userId) + QLatin1Char('-') + QString::number(surveyId) + QStringLiteral(".xml");
    int error = ftp.connect(server->ftpServer, server->ftpUsername, server->ftpPassword);
    if (isClosed())
        return Outcome::Closed;
    if (error != net::kOk)
        return tell(QStringLiteral("FTP Connection error ") + GetInternetErrorText(error)) ? Outcome::Failed
                                                                                           : Outcome::Closed;
    error = ftp.setCurrentDirectory(QStringLiteral("incoming"));
    if (isClosed())
        return Outcome::Closed;
    if (error != net::kOk)
        return log(QStringLiteral("Error (FtpSetCurrentDirectory) ") + QString::number(error)) ? Outcome::Failed
                                                                                               : Outcome::Closed;
    error = ftp.putFile(ExchangeFile::defaultPath(), remoteName);
    if (isClosed())
        return Outcome::Closed;
    if (error != net::kOk)
        return log(QStringLiteral("Error (FtpPutFile) ") + QString::number(error)) ? Outcome::Failed : Outcome::Closed;
    if (!log(QStringLiteral("Survey successfully transfered.")))
        return Outcome::Closed;
    ftp.close();

    if (!log(QStringLiteral("Asking server to accept new ")
            + (PublishPublic ? QStringLiteral("public") : QStringLiteral("private")) + QStringLiteral(" survey.")))
        return Outcome::Closed;
    const QString publishedAt = WSMoveNewSurvey(remoteName, surveyId, PublishPublic, userId, url);
    if (isClosed())
        return Outcome::Closed;
    PublishedURL = publishedAt;
    if (publishedAt.isEmpty()) {
        AddMessage(QStringLiteral("Error - server did not accept new survey. ") + LastWebError);
        return Outcome::NotPublished;
    }
    if (!log(QStringLiteral("Server has published new survey at ") + publishedAt + QLatin1Char('.'))
        || !log(QStringLiteral("Success.")))
        return Outcome::Closed;
    cmdNext->setEnabled(true);
    cmdNext->setFocus();
    return Outcome::Published;
}
