#include "web/frmWizWebPublish_Upload.h"

#include "document/StoredSurvey.h"
#include "document/SurveySession.h"
#include "widgets/Dialogs.h"
#include "platform/Internet.h"
#include "platform/WaitCursor.h"
#include "web/ExchangeFile.h"
#include "web/ServerList.h"
#include "web/WizardDriver.h"
#include "web/frmWizWebPublish.h"
#include "web/modWebServer.h"
#include "web/wininet.h"

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
    Dialogs::MsgBox(text, Dialogs::OKOnly, Dialogs::Critical);
    return Log(text);
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
        outcome = IsClosed() ? Outcome::Closed : Outcome::Failed;
    }
    ftp.close();
    hourglass.restore();
    if (outcome == Outcome::Failed)
        AddMessage(QStringLiteral("Failed."));
}

frmWizWebPublish_Upload::Outcome frmWizWebPublish_Upload::upload(net::FtpSession& ftp)
{
    const std::optional<ServerEntry> server = FindServer(PublishServerIndex);
    if (!server)
        return IsClosed() ? Outcome::Closed : Outcome::Failed;
    const QString& url = server->url;

    if (!Log(QStringLiteral("Creating local survey.")))
        return Outcome::Closed;
    ExchangeFile::DoSaveXML(StoredSurvey(session_).survey(), session_.SurveyConnection, ExchangeFile::DefaultPath());
    if (!Log(QStringLiteral("Created local survey.")))
        return Outcome::Closed;

    if (!Log(QStringLiteral("Logging ") + PublishUserName + QStringLiteral(" into ") + server->name + QLatin1Char('.')))
        return Outcome::Closed;
    const int userId = WSGetWebUserID(PublishUserName, PublishPassword, url);
    if (IsClosed())
        return Outcome::Closed;
    if (userId == -1)
        return tell(QStringLiteral("Unable to login. Error ") + LastWebError) ? Outcome::Failed : Outcome::Closed;
    if (!Log(PublishUserName + QStringLiteral(" logged into ") + server->name + QLatin1Char('.')))
        return Outcome::Closed;

    if (!Log(QStringLiteral("Checking for status of ") + PublishSurveyName + QLatin1Char('.')))
        return Outcome::Closed;
    int surveyId = WSGetSurveyID(PublishSurveyName, userId, url);
    if (IsClosed())
        return Outcome::Closed;
    if (surveyId != -1) {
        if (Dialogs::MsgBox(QStringLiteral("This survey already exists. Do you want to update it?"), Dialogs::YesNo,
                Dialogs::Question)
            != Dialogs::Yes)
            return Log(QStringLiteral("Cancelled survey update.")) ? Outcome::Failed : Outcome::Closed;
        if (!Log(QStringLiteral("Updating existing survey ") + PublishSurveyName + QLatin1Char('.')))
            return Outcome::Closed;
    } else {
        if (!Log(QStringLiteral("Creating new survey ") + PublishSurveyName + QLatin1Char('.')))
            return Outcome::Closed;
        surveyId = WSCreateSurvey(userId, PublishSurveyName, url);
        if (IsClosed())
            return Outcome::Closed;
        if (surveyId == -1) {
            Dialogs::MsgBox(
                QStringLiteral("Unable to create survey. Error ") + LastWebError, Dialogs::OKOnly, Dialogs::Critical);
            return Outcome::Failed;
        }
    }

    const QString remoteName
        = QString::number(userId) + QLatin1Char('-') + QString::number(surveyId) + QStringLiteral(".xml");
    int error = ftp.connect(server->ftpServer, server->ftpUsername, server->ftpPassword);
    if (IsClosed())
        return Outcome::Closed;
    if (error != net::kOk)
        return tell(QStringLiteral("FTP Connection error ") + GetInternetErrorText(error)) ? Outcome::Failed
                                                                                           : Outcome::Closed;
    error = ftp.setCurrentDirectory(QStringLiteral("incoming"));
    if (IsClosed())
        return Outcome::Closed;
    if (error != net::kOk)
        return Log(QStringLiteral("Error (FtpSetCurrentDirectory) ") + QString::number(error)) ? Outcome::Failed
                                                                                               : Outcome::Closed;
    error = ftp.putFile(ExchangeFile::DefaultPath(), remoteName);
    if (IsClosed())
        return Outcome::Closed;
    if (error != net::kOk)
        return Log(QStringLiteral("Error (FtpPutFile) ") + QString::number(error)) ? Outcome::Failed : Outcome::Closed;
    if (!Log(QStringLiteral("Survey successfully transfered.")))
        return Outcome::Closed;
    ftp.close();

    if (!Log(QStringLiteral("Asking server to accept new ")
            + (PublishPublic ? QStringLiteral("public") : QStringLiteral("private")) + QStringLiteral(" survey.")))
        return Outcome::Closed;
    const QString publishedAt = WSMoveNewSurvey(remoteName, surveyId, PublishPublic, userId, url);
    if (IsClosed())
        return Outcome::Closed;
    PublishedURL = publishedAt;
    if (publishedAt.isEmpty()) {
        AddMessage(QStringLiteral("Error - server did not accept new survey. ") + LastWebError);
        return Outcome::NotPublished;
    }
    if (!Log(QStringLiteral("Server has published new survey at ") + publishedAt + QLatin1Char('.'))
        || !Log(QStringLiteral("Success.")))
        return Outcome::Closed;
    cmdNext->setEnabled(true);
    cmdNext->setFocus();
    return Outcome::Published;
}
