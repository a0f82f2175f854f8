#include "web/frmAddServer.h"

#include "web/ServerList.h"
#include "widgets/Dialogs.h"
#include "widgets/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

namespace {
constexpr int kLeft = 120;
constexpr int kWidth = 4455;
constexpr int kRow = 645; // one label and its box
} // namespace

frmAddServer::frmAddServer(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAddServer"));
    setWindowTitle(QStringLiteral("Add Survey Server"));
    setFixedSize(Twips::toPixelsX(4695), Twips::toPixelsY(120 + 5 * kRow + 600));

    txtServerName
        = addField(QStringLiteral("txtServerName"), QStringLiteral("Server Name (i.e. Friendly Server Name):"), 0);
    txtServerURL
        = addField(QStringLiteral("txtServerURL"), QStringLiteral("Server URL (i.e. http://www.example.com/):"), 1);
    txtFTPServer = addField(QStringLiteral("txtFTPServer"), QStringLiteral("FTP Server (i.e. ftp.example.com):"), 2);
    txtFTPUsername = addField(QStringLiteral("txtFTPUsername"), QStringLiteral("FTP Username (i.e. anonymous):"), 3);
    txtFTPPassword
        = addField(QStringLiteral("txtFTPPassword"), QStringLiteral("FTP Password (i.e. me@example.com):"), 4);

    const int buttonsTop = 120 + 5 * kRow + 60;
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    Twips::place(cmdOK, 2175, buttonsTop, 1095, 375);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    Twips::place(cmdCancel, 3480, buttonsTop, 1095, 375);

    connect(cmdOK, &QPushButton::clicked, this, &frmAddServer::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAddServer::cmdCancel_Click);
}

QLineEdit* frmAddServer::addField(const QString& name, const QString& caption, int row)
{
    const int top = 120 + row * kRow;
    auto* label = new QLabel(caption, this);
    label->setObjectName(QStringLiteral("lbl") + name.mid(3));
    Twips::place(label, kLeft, top, kWidth, 255);
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    box->setAccessibleName(caption.left(caption.indexOf(QLatin1String(" ("))));
    label->setBuddy(box);
    Twips::place(box, kLeft, top + 270, kWidth, 315);
    return box;
}

bool frmAddServer::filled(QLineEdit* box, const QString& message)
{
    if (!box->text().isEmpty())
        return true;
    Dialogs::msgBox(message, Dialogs::OKOnly, Dialogs::Critical);
    box->setFocus();
    return false;
}

void frmAddServer::cmdOK_Click()
{
    if (!filled(
            txtServerName, QStringLiteral("No Server Name has been entered. Please enter a Server Name to continue."))
        || !filled(
            txtServerURL, QStringLiteral("No Server URL has been entered. Please enter a Server URL to continue."))
        || !filled(
            txtFTPServer, QStringLiteral("No FTP Server has been entered. Please enter a FTP Server to continue.")))
        return;
    ServerList::AddResult result = ServerList::AddResult::NotWritten;
    ServerList::add({ txtServerName->text(), txtServerURL->text(), txtFTPServer->text(), txtFTPUsername->text(),
                        txtFTPPassword->text() },
        &result);
    // Nothing typed is lost on a failure: the dialog stays open with the boxes as they are.
    switch (result) {
    case ServerList::AddResult::Stored:
        accept();
        break;
    case ServerList::AddResult::NotWritten:
        Dialogs::msgBox(QStringLiteral("Unable to save the server entry: the settings file could not be written."),
            Dialogs::OKOnly, Dialogs::Critical);
        break;
    case ServerList::AddResult::NoNumberLeft:
        Dialogs::msgBox(QStringLiteral("Unable to save the server entry: the server list has no entry number left "
                                       "(the highest, %1, is taken).")
                            .arg(std::numeric_limits<int>::max()),
            Dialogs::OKOnly, Dialogs::Critical);
        break;
    }
}

void frmAddServer::cmdCancel_Click()
{
    reject();
}
