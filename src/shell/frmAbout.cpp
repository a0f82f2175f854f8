#include "shell/frmAbout.h"

#include "platform/Shell.h"
#include "shell/ShellResources.h"
#include "shell/modDetectWindows.h"
#include "widgets/Dialogs.h"
#include "widgets/ScreenParts.h"
#include "widgets/Twips.h"

#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>

namespace {
const QString kLocalMachine = QStringLiteral("HKEY_LOCAL_MACHINE");

} // namespace

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent)
{
    ensureShellResources();
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Orvalen Tessivo"));
    setModal(true);
    setFixedSize(Twips::toPixelsX(6600), Twips::toPixelsY(4200));

    Picture5 = new QLabel(this);
    Picture5->setObjectName(QStringLiteral("Picture5"));
    Picture5->setPixmap(QPixmap(QStringLiteral(":/icons/about_xp.png")));
    Twips::place(Picture5, 240, 240, 1440, 1440);
    Picture2 = new QLabel(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setPixmap(QPixmap(QStringLiteral(":/icons/about_classic.png")));
    Twips::place(Picture2, 240, 240, 1440, 1440);

    lblCompanyProduct = makeLabel(QStringLiteral("lblCompanyProduct"), QStringLiteral("Orvalen"), this, 2, false);
    Twips::place(lblCompanyProduct, 1920, 240, 4400, 360);
    lblProductName = makeLabel(QStringLiteral("lblProductName"), QStringLiteral("Tessivo"), this, 12, true);
    Twips::place(lblProductName, 1920, 600, 4400, 600);
    lblDescription = makeLabel(QStringLiteral("lblDescription"),
        QStringLiteral("The fully flexible and easy to use survey system."), this, 0, false);
    lblDescription->setWordWrap(true);
    Twips::place(lblDescription, 1920, 1260, 4400, 540);

    Picture4 = new QLabel(this);
    Picture4->setObjectName(QStringLiteral("Picture4"));
    Picture4->setPixmap(QPixmap(QStringLiteral(":/icons/web.png")));
    Picture4->setCursor(Qt::PointingHandCursor);
    Picture4->setToolTip(orvalenWebPage());
    Twips::place(Picture4, 1920, 1920, 480, 480);
    Label2 = makeLabel(QStringLiteral("Label2"), orvalenWebAddress(), this, 0, false);
    Label2->setCursor(Qt::PointingHandCursor);
    Label2->setToolTip(orvalenWebPage());
    {
        QPalette p = Label2->palette();
        p.setColor(QPalette::WindowText, QColor(0, 0, 192));
        Label2->setPalette(p);
        QFont f = Label2->font();
        f.setUnderline(true);
        Label2->setFont(f);
    }
    Twips::place(Label2, 2520, 1980, 3800, 360);
    Picture4->installEventFilter(this);
    Label2->installEventFilter(this);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    Twips::place(line, 240, 2580, 6120, 30);

    lblDisclaimer = makeLabel(QStringLiteral("lblDisclaimer"), disclaimerText(), this, -1, false);
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Twips::place(lblDisclaimer, 240, 2700, 4200, 1300);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    Twips::place(cmdOK, 4680, 2760, 1680, 400);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    Twips::place(cmdSysInfo, 4680, 3240, 1680, 400);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    Form_Load();
}

void frmAbout::Form_Load()
{
    const bool xp = IsWindowsXP();
    Picture5->setVisible(xp);
    Picture2->setVisible(!xp);
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::Label2_Click()
{
    Shell::open(orvalenWebPage());
}

void frmAbout::Picture4_Click()
{
    Shell::open(orvalenWebPage());
}

bool frmAbout::GetKeyValue(const QString& KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal)
{
    (void)KeyRoot;
    (void)KeyName;
    (void)SubKeyRef;
    KeyVal.clear();
    return false;
}

void frmAbout::StartSysInfo()
{
    bool started = false;
    if (GetKeyValue(kLocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"), QStringLiteral("PATH"),
            SysInfoPath)) {
        started = QProcess::startDetached(SysInfoPath, {});
    } else if (GetKeyValue(kLocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                   QStringLiteral("MSINFO"), SysInfoPath)
        && QFileInfo::exists(SysInfoPath + QStringLiteral("\\MSINFO32.EXE"))) {
        started = QProcess::startDetached(SysInfoPath + QStringLiteral("\\MSINFO32.EXE"), {});
    }
    if (!started)
        Dialogs::msgBox(
            QStringLiteral("System Information Is Unavailable At This Time"), Dialogs::OKOnly, Dialogs::NoIcon);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == Label2) {
            Label2_Click();
            return true;
        }
        if (watched == Picture4) {
            Picture4_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
