#include "web/frmWizWebPublish.h"

#include "platform/Shell.h"
#include "web/ServerList.h"
#include "web/WizardDriver.h"
#include "widgets/Dialogs.h"
#include "widgets/Twips.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

frmWizWebPublish_Welcome::frmWizWebPublish_Welcome(QWidget* parent)
    : WizardWelcomePage(QStringLiteral("frmWizWebPublish_Welcome"), QStringLiteral("Web Publish Wizard"),
        kPublishHelpContext, QStringLiteral("Welcome to the Web Publish Wizard"),
        QStringLiteral("Using this wizard you can publish your survey to a website."), parent)
{ }

frmWizWebPublish_ServerType::frmWizWebPublish_ServerType(QWidget* parent)
    : WizardServerPage(QStringLiteral("frmWizWebPublish_ServerType"), kPublishHelpContext,
        QStringLiteral("Select which web server you would like to publish your survey to."), PublishServerIndex, parent)
{ }

// Login

frmWizWebPublish_Login::frmWizWebPublish_Login(QWidget* parent)
    : WizardLoginPage(QStringLiteral("frmWizWebPublish_Login"), kPublishHelpContext,
        QStringLiteral("Enter your Username and Password to log into the server. If you don't yet have an account "
                       "press 'New Account'."),
        PublishUserName, PublishPassword, parent)
{
    cmdCreate = addButton(QStringLiteral("cmdCreate"), QStringLiteral("&Create New Account"), kFieldLeft, 2040, 2160);
    connect(cmdCreate, &QPushButton::clicked, this, &frmWizWebPublish_Login::cmdCreate_Click);
}

void frmWizWebPublish_Login::cmdCreate_Click()
{
    if (const std::optional<ServerEntry> server = findServer(PublishServerIndex))
        Shell::open(server->url + QStringLiteral("CreateAccount.php"));
}

bool frmWizWebPublish_Login::nextAllowed()
{
    if (!fieldsFilled())
        return false;
    PublishUserName = txtName->text();
    PublishPassword = txtPassword->text();
    return true;
}

// Survey name

frmWizWebPublish_SurveyName::frmWizWebPublish_SurveyName(QWidget* parent)
    : WizardPage(QStringLiteral("frmWizWebPublish_SurveyName"), QStringLiteral("Enter your survey name"),
        kPublishHelpContext, Position::Middle,
        QStringLiteral("Enter your survey's name. Select Public if you want your survey viewable by anyone."), parent)
{
    txtName = new QLineEdit(PublishSurveyName, this);
    txtName->setObjectName(QStringLiteral("txtName"));
    Twips::place(txtName, kFieldLeft, 1080, kFieldWidth, 315);
    addLabel(QStringLiteral("lblSurveyName"), QStringLiteral("Survey name:"), kLeft, 1110, kLabelWidth, 255, txtName);
    chkPublic = new QCheckBox(QStringLiteral("Public"), this);
    chkPublic->setObjectName(QStringLiteral("chkPublic"));
    chkPublic->setChecked(PublishPublic);
    Twips::place(chkPublic, kFieldLeft, 1560, kFieldWidth, 315);
}

bool frmWizWebPublish_SurveyName::nextAllowed()
{
    if (txtName->text().isEmpty()) {
        Dialogs::msgBox(
            QStringLiteral("No survey name has been entered. Please enter a name for your survey to continue."),
            Dialogs::OKOnly, Dialogs::Critical);
        txtName->setFocus();
        return false;
    }
    PublishSurveyName = txtName->text();
    PublishPublic = chkPublic->isChecked();
    return true;
}

// Finish

frmWizWebPublish_Complete::frmWizWebPublish_Complete(QWidget* parent)
    : WizardPage(QStringLiteral("frmWizWebPublish_Complete"), QStringLiteral("Finished"), kPublishHelpContext,
        Position::Last, QStringLiteral("Your survey has been uploaded and can be accessed at the URL below."), parent)
{
    lblSurveyURL = addLabel(QStringLiteral("lblSurveyURL"), QStringLiteral("Survey URL:"), kLeft, 1080, kWidth, 255);
    Label6 = addLabel(QStringLiteral("Label6"), PublishedURL, kLeft, 1335, kWidth, 615);
    Label6->setTextFormat(Qt::PlainText);
    Label6->setWordWrap(true);
    QPalette link = Label6->palette();
    link.setColor(QPalette::WindowText, Qt::blue);
    Label6->setPalette(link);
    Label6->setCursor(Qt::PointingHandCursor);
    // A screen reader reads the address, labelled by its caption.
    lblSurveyURL->setBuddy(Label6);
    Label6->setToolTip(PublishedURL);
    Label6->installEventFilter(this);
    cmdCopy = addButton(QStringLiteral("cmdCopy"), QStringLiteral("C&opy to Clipboard"), kLeft, 2040, 1800);
    connect(cmdCopy, &QPushButton::clicked, this, &frmWizWebPublish_Complete::cmdCopy_Click);

    if (PublishedURL.isEmpty()) {
        lblMessage->setText(QStringLiteral("Your survey was not uploaded."));
        Label6->hide();
        lblSurveyURL->hide();
        cmdCopy->hide();
    }
}

bool frmWizWebPublish_Complete::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label6 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Label6_Click();
        return true;
    }
    return WizardPage::eventFilter(watched, event);
}

void frmWizWebPublish_Complete::Label6_Click()
{
    Shell::open(Label6->text());
}

void frmWizWebPublish_Complete::cmdCopy_Click()
{
    QGuiApplication::clipboard()->setText(Label6->text());
    Dialogs::msgBox(QStringLiteral("URL copied to clipboard."), Dialogs::OKOnly, Dialogs::Information);
}
