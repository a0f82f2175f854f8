#include "web/frmWizWebCollect.h"

#include "platform/Database.h"
#include "platform/TextUtil.h"
#include "platform/WaitCursor.h"
#include "web/ServerList.h"
#include "web/WizardDriver.h"
#include "web/modWebServer.h"
#include "widgets/Dialogs.h"
#include "widgets/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

frmWizWebCollect_Welcome::frmWizWebCollect_Welcome(QWidget* parent)
    : WizardWelcomePage(QStringLiteral("frmWizWebCollect_Welcome"), QStringLiteral("Configuration Wizard"),
        kCollectHelpContext, QStringLiteral("Welcome to the Web Collection Wizard"),
        QStringLiteral("Using this wizard you can collect data from a previously published web survey."), parent)
{ }

frmWizWebCollect_ServerType::frmWizWebCollect_ServerType(QWidget* parent)
    : WizardServerPage(QStringLiteral("frmWizWebCollect_ServerType"), kCollectHelpContext,
        QStringLiteral("Select which web server you would like to collect your survey data from."), CollectServerIndex,
        parent)
{ }

// Login

frmWizWebCollect_Login::frmWizWebCollect_Login(QWidget* parent)
    : WizardLoginPage(QStringLiteral("frmWizWebCollect_Login"), kCollectHelpContext,
        QStringLiteral("Enter your Username and Password to log into the server. "), CollectUserName, CollectPassword,
        parent)
{ }

bool frmWizWebCollect_Login::nextAllowed()
{
    if (!fieldsFilled())
        return false;
    CollectUserName = txtName->text();
    CollectPassword = txtPassword->text();
    const std::optional<ServerEntry> server = findServer(CollectServerIndex);
    if (!server)
        return false;
    WaitCursor hourglass;
    // The login waits for the network while the page stays live; Next must not start it twice.
    cmdNext->setEnabled(false);
    QString failure;
    try {
        CollectWebUserID = QString::number(WSGetWebUserID(CollectUserName, CollectPassword, server->url));
    } catch (const db::Error& e) {
        // The service answered something that is not a user id.
        CollectWebUserID = QStringLiteral("-1");
        failure = e.description();
    }
    if (isClosed())
        return false;
    cmdNext->setEnabled(true);
    hourglass.restore();
    if (CollectWebUserID != QLatin1String("-1"))
        return true;
    Dialogs::msgBox(QStringLiteral("Unable to login. Error ") + (failure.isEmpty() ? LastWebError : failure),
        Dialogs::OKOnly, Dialogs::Critical);
    return false;
}

// Survey list

frmWizWebCollect_SelectSurvey::frmWizWebCollect_SelectSurvey(QWidget* parent)
    : WizardPage(QStringLiteral("frmWizWebCollect_SelectSurvey"), QStringLiteral("Select the Survey"),
        kCollectHelpContext, Position::Middle,
        QStringLiteral("Select the survey you would like to retrieve data for. "), parent)
{
    lstSurveys = new QListWidget(this);
    lstSurveys->setObjectName(QStringLiteral("lstSurveys"));
    lstSurveys->setSelectionMode(QAbstractItemView::SingleSelection);
    Twips::place(lstSurveys, kLeft, 1215, kWidth, 2355);
    addLabel(QStringLiteral("lblSurveys"), QStringLiteral("Available Surveys:"), kLeft, 960, kWidth, 255, lstSurveys);

    Timer1 = addStartTimer([this] { Timer1_Timer(); });
}

void frmWizWebCollect_SelectSurvey::Timer1_Timer()
{
    Timer1->stop();
    cmdNext->setEnabled(false);
    const std::optional<ServerEntry> server = findServer(CollectServerIndex);
    if (!server)
        return;
    WaitCursor hourglass;
    fillList(server->url);
    if (isClosed())
        return;
    if (lstSurveys->count() > 0) {
        lstSurveys->setCurrentRow(0);
        cmdNext->setEnabled(true);
        cmdNext->setFocus();
    }
}

void frmWizWebCollect_SelectSurvey::fillList(const QString& url)
{
    const QString ids = WSGetSurveyListForUser(CollectWebUserID.toInt(), url);
    if (isClosed() || ids.isEmpty())
        return;
    for (const QString& piece : ids.split(QLatin1Char(','))) {
        // A piece that is no id cannot name a survey; it is left out like one without a name.
        bool isId = false;
        const int id = piece.trimmed().toInt(&isId);
        if (!isId)
            continue;
        const QString name = WSGetSurveyName(id, url);
        if (isClosed())
            return;
        if (name.isEmpty())
            continue;
        auto* item = new QListWidgetItem(captionText(name), lstSurveys);
        item->setData(Qt::UserRole, id);
        item->setToolTip(name);
    }
}

bool frmWizWebCollect_SelectSurvey::nextAllowed()
{
    const QList<QListWidgetItem*> selected = lstSurveys->selectedItems();
    if (selected.isEmpty()) {
        Dialogs::msgBox(QStringLiteral("No Survey has been selected. Please select a survey to continue."),
            Dialogs::OKOnly, Dialogs::Critical);
        return false;
    }
    CollectSurveyID = selected.constFirst()->data(Qt::UserRole).toInt();
    return true;
}

// Finish

frmWizWebCollect_Complete::frmWizWebCollect_Complete(QWidget* parent)
    : WizardPage(QStringLiteral("frmWizWebCollect_Complete"), QStringLiteral("Finished"), kCollectHelpContext,
        Position::Last, QStringLiteral("Your survey results have been downloaded."), parent)
{ }
