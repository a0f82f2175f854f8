#include "web/WizardPages.h"

#include "platform/Settings.h"
#include "web/ServerList.h"
#include "web/frmAddServer.h"
#include "widgets/Dialogs.h"
#include "widgets/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

// Welcome

WizardWelcomePage::WizardWelcomePage(const QString& name, const QString& caption, int helpContext,
    const QString& heading, const QString& welcome, QWidget* parent)
    : WizardPage(name, caption, helpContext, Position::First, QString(), parent)
{
    Label2 = addLabel(QStringLiteral("Label2"), heading, kLeft, 120, kWidth, 735);
    QFont bold = Label2->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() + 3);
    Label2->setFont(bold);
    lblWelcomeMessage = addLabel(QStringLiteral("lblWelcomeMessage"), welcome, kLeft, 1080, kWidth, 735);
    Label1 = addLabel(QStringLiteral("Label1"), QStringLiteral("To continue, click Next."), kLeft, 1920, kWidth, 255);
    chkDisplayNext = new QCheckBox(QStringLiteral("Display this welcome screen at startup."), this);
    chkDisplayNext->setObjectName(QStringLiteral("chkDisplayNext"));
    chkDisplayNext->setChecked(true);
    Twips::place(chkDisplayNext, kLeft, 3240, kWidth, 315);
}

// Server

WizardServerPage::WizardServerPage(
    const QString& name, int helpContext, const QString& message, int& serverIndex, QWidget* parent)
    : WizardPage(name, QStringLiteral("Choose your web server"), helpContext, Position::Middle, message, parent)
    , serverIndex_(serverIndex)
{
    cboName = new QComboBox(this);
    cboName->setObjectName(QStringLiteral("cboName"));
    cboName->setEditable(false);
    Twips::place(cboName, kFieldLeft, 1035, kFieldWidth, 345);
    addLabel(QStringLiteral("lblServer"), QStringLiteral("Web Server:"), kLeft, 1080, kLabelWidth, 255, cboName);
    cmdAdd = addButton(QStringLiteral("cmdAdd"), QStringLiteral("&Add Server"), kLeft + kWidth - 1440, 1560, 1440);
    connect(cmdAdd, &QPushButton::clicked, this, &WizardServerPage::cmdAdd_Click);
    RefreshServerList();
}

void WizardServerPage::RefreshServerList()
{
    cboName->clear();
    cboName->addItem(QStringLiteral("Brelloc Server"), -1);
    const QList<QPair<QString, QString>> settings = getAllSettings(ServerList::appName(), QStringLiteral("ServerList"));
    if (IsArrayDimensioned(settings)) {
        // The entries in the order they were added, which is the order of their numbers (the
        // store itself lists its keys by name, and so "ServerName10" before "ServerName2").
        QList<QPair<int, QString>> entries;
        const QString prefix = QStringLiteral("ServerName");
        for (const auto& [key, value] : settings) {
            if (!key.startsWith(prefix, Qt::CaseSensitive))
                continue;
            bool ok = false;
            const int number = key.mid(prefix.size()).toInt(&ok);
            if (ok)
                entries.append({ number, value });
        }
        std::stable_sort(
            entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [number, displayName] : entries)
            cboName->addItem(displayName, number);
    }
    cboName->setCurrentIndex(cboName->count() - 1);
}

void WizardServerPage::cmdAdd_Click()
{
    frmAddServer dialog(this);
    dialog.exec();
    RefreshServerList();
}

bool WizardServerPage::nextAllowed()
{
    serverIndex_ = cboName->currentData().toInt();
    return true;
}

// Login

WizardLoginPage::WizardLoginPage(const QString& name, int helpContext, const QString& message, const QString& userName,
    const QString& password, QWidget* parent)
    : WizardPage(name, QStringLiteral("Enter your login details"), helpContext, Position::Middle, message, parent)
{
    txtName = new QLineEdit(userName, this);
    txtName->setObjectName(QStringLiteral("txtName"));
    Twips::place(txtName, kFieldLeft, 1080, kFieldWidth, 315);
    txtPassword = new QLineEdit(password, this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // "*"
    Twips::place(txtPassword, kFieldLeft, 1560, kFieldWidth, 315);
    addLabel(QStringLiteral("lblUsername"), QStringLiteral("Username:"), kLeft, 1110, kLabelWidth, 255, txtName);
    addLabel(QStringLiteral("lblPassword"), QStringLiteral("Password:"), kLeft, 1590, kLabelWidth, 255, txtPassword);
}

bool WizardLoginPage::fieldsFilled()
{
    if (!txtName->text().isEmpty() && !txtPassword->text().isEmpty())
        return true;
    Dialogs::msgBox(QStringLiteral("No username/password has been entered. Please enter your username and password, "
                                   "or press Create New Account to continue."),
        Dialogs::OKOnly, Dialogs::Critical);
    txtName->setFocus();
    return false;
}

// Upload and download log

WizardLogPage::WizardLogPage(const QString& name, const QString& caption, int helpContext, const QString& message,
    const QString& progressCaption, QWidget* parent)
    : WizardPage(name, caption, helpContext, Position::Middle, message, parent)
{
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setValue(0);
    Twips::place(ProgressBar1, kLeft, 1215, kWidth, 255);
    addLabel(QStringLiteral("lblProgress"), progressCaption, kLeft, 960, kWidth, 255, ProgressBar1);

    txtMessages = new QPlainTextEdit(this);
    txtMessages->setObjectName(QStringLiteral("txtMessages"));
    txtMessages->setReadOnly(true);
    txtMessages->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Twips::place(txtMessages, kLeft, 1815, kWidth, 1755);
    addLabel(QStringLiteral("lblMessages"), QStringLiteral("Messages:"), kLeft, 1560, kWidth, 255, txtMessages);

    // Nothing has been done yet: Next must not lead to the finish page.
    cmdNext->setEnabled(false);

    Timer1 = addStartTimer([this] { Timer1_Timer(); });
}

QStringList WizardLogPage::messages() const
{
    const QString text = txtMessages->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void WizardLogPage::AddMessage(const QString& text)
{
    txtMessages->appendPlainText(text);
    txtMessages->verticalScrollBar()->setValue(txtMessages->verticalScrollBar()->maximum());
    if (ProgressBar1->value() < ProgressBar1->maximum())
        ProgressBar1->setValue(ProgressBar1->value() + 1);
    QCoreApplication::processEvents();
}

void WizardLogPage::serverNotFound(const QString& text)
{
    if (log(text))
        WizardPage::serverNotFound(text);
}

bool WizardLogPage::log(const QString& text)
{
    AddMessage(text);
    return !isClosed();
}
