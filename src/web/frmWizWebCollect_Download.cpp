#include "web/frmWizWebCollect_Download.h"

#include "document/SurveySession.h"
#include "platform/AppPath.h"
#include "platform/WaitCursor.h"
#include "web/LoadResults.h"
#include "web/ServerList.h"
#include "web/WizardDriver.h"
#include "web/frmWizWebCollect.h"
#include "web/modWebServer.h"
#include "widgets/Dialogs.h"

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

frmWizWebCollect_Download::frmWizWebCollect_Download(SurveySession& session, QWidget* parent)
    : WizardLogPage(QStringLiteral("frmWizWebCollect_Download"), QStringLiteral("Downloading Results"),
        kCollectHelpContext, QStringLiteral("Please wait while your survey results are downloaded."),
        QStringLiteral("Download Progress:"), parent)
    , session_(session)
{ }

void frmWizWebCollect_Download::Timer1_Timer()
{
    Timer1->stop();
    cmdNext->setEnabled(false);
    WaitCursor hourglass;
    QString failure;
    Outcome outcome = Outcome::Failed;
    try {
        outcome = download();
    } catch (const std::exception& e) {
        // A results file that cannot be written or imported: the failure end, with its reason.
        outcome = isClosed() ? Outcome::Closed : Outcome::Failed;
        const auto* error = dynamic_cast<const db::Error*>(&e);
        failure = error ? error->description() : QString::fromLocal8Bit(e.what());
    }
    hourglass.restore();
    if (outcome == Outcome::Failed)
        AddMessage(failure + QStringLiteral(" - Failed."));
}

frmWizWebCollect_Download::Outcome frmWizWebCollect_Download::download()
{
    const std::optional<ServerEntry> server = findServer(CollectServerIndex);
    if (!server)
        return isClosed() ? Outcome::Closed : Outcome::Failed;
    const QString& url = server->url;
    ProgressBar1->setRange(0, 4);
    ProgressBar1->setValue(0);
    txtMessages->clear();

    const QString fileName
        = CollectWebUserID + QLatin1Char('-') + QString::number(CollectSurveyID) + QStringLiteral(".txt");
    if (!log(QStringLiteral("Downloading survey results ") + fileName + QLatin1Char('.')))
        return Outcome::Closed;
    const QString fileUrl = url + fileName;
    const QString localPath = writableFile(fileName);

    // The results go straight into the file: a large survey's results are never held in memory.
    const bool downloaded = wsGetSurveyResultsToFile(fileName, url, localPath);
    if (isClosed())
        return Outcome::Closed;
    if (!downloaded) {
        Dialogs::msgBox(
            QStringLiteral("Unable to download results file.") + fileUrl, Dialogs::OKOnly, Dialogs::Critical);
        return log(QStringLiteral("Unable to download results file. Error ") + fileUrl) ? Outcome::Failed
                                                                                        : Outcome::Closed;
    }
    if (!log(QStringLiteral("Downloaded results file.")))
        return Outcome::Closed;

    if (!log(QStringLiteral("Importing results file ") + fileName + QLatin1Char('.')))
        return Outcome::Closed;
    loadResultsFile(this, session_.SurveyConnection, localPath);
    if (!log(QStringLiteral("Imported results file.")))
        return Outcome::Closed;

    if (Dialogs::msgBox(QStringLiteral("Survey results file has been imported. Do you want to delete the old copy so "
                                       "it is not imported again?"),
            Dialogs::YesNo, Dialogs::Question)
        == Dialogs::Yes) {
        const bool deleted = WSDeleteSurveyResultsFile(CollectWebUserID.toInt(), CollectSurveyID, url);
        if (isClosed())
            return Outcome::Closed;
        if (!log(deleted ? QStringLiteral("Deleted old results file on server.")
                         : QStringLiteral("Unable to delete old results file on server.")))
            return Outcome::Closed;
    }
    if (!log(QStringLiteral("Finished.")))
        return Outcome::Closed;
    cmdNext->setEnabled(true);
    cmdNext->setFocus();
    return Outcome::Finished;
}
