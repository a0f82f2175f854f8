#include "shell/frmTip.h"

#include "platform/AppPath.h"
#include "platform/CodePages.h"
#include "platform/Settings.h"
#include "shell/ShellResources.h"
#include "widgets/Twips.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>

namespace {
const QString kOptions = QStringLiteral("Options");
const QString kShowTips = QStringLiteral("Show Tips at Startup");
const QString kCurrentTip = QStringLiteral("Current Tip");

// A setting read as a number; text that is no number counts as 0.
qint32 number(const QString& text)
{
    bool ok = false;
    const qint32 n = text.trimmed().toInt(&ok);
    return ok ? n : 0;
}
} // namespace

frmTip::frmTip(QWidget* parent)
    : QDialog(parent)
{
    ensureShellResources();
    setObjectName(QStringLiteral("frmTip"));
    setWindowTitle(QStringLiteral("Tip of the Day"));
    setModal(true);
    setFixedSize(Twips::toPixelsX(6900), Twips::toPixelsY(3900));

    auto* paper = new QFrame(this);
    paper->setObjectName(QStringLiteral("picTip"));
    paper->setFrameShape(QFrame::Panel);
    paper->setFrameShadow(QFrame::Sunken);
    paper->setAutoFillBackground(true);
    QPalette p = paper->palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, Qt::black);
    paper->setPalette(p);
    Twips::place(paper, 120, 120, 5040, 3060);

    auto* bulb = new QLabel(paper);
    bulb->setObjectName(QStringLiteral("imgTip"));
    bulb->setPixmap(QPixmap(QStringLiteral(":/icons/tip.png")));
    Twips::place(bulb, 120, 120, 720, 720);

    lblDidYouKnow = new QLabel(QStringLiteral("Did you know..."), paper);
    lblDidYouKnow->setObjectName(QStringLiteral("lblDidYouKnow"));
    QFont heading = lblDidYouKnow->font();
    heading.setPointSizeF(heading.pointSizeF() + 5);
    heading.setBold(true);
    lblDidYouKnow->setFont(heading);
    Twips::place(lblDidYouKnow, 960, 240, 3960, 480);

    lblTipText = new QLabel(paper);
    lblTipText->setObjectName(QStringLiteral("lblTipText"));
    lblTipText->setWordWrap(true);
    lblTipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTipText->setTextFormat(Qt::PlainText);
    Twips::place(lblTipText, 960, 900, 3960, 2040);

    chkLoadTipsAtStartup = new QCheckBox(QStringLiteral("&Show Tips at Startup"), this);
    chkLoadTipsAtStartup->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
    Twips::place(chkLoadTipsAtStartup, 120, 3360, 3600, 330);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    Twips::place(cmdOK, 5340, 120, 1440, 400);
    cmdNextTip = new QPushButton(QStringLiteral("&Next Tip"), this);
    cmdNextTip->setObjectName(QStringLiteral("cmdNextTip"));
    Twips::place(cmdNextTip, 5340, 600, 1440, 400);

    connect(cmdOK, &QPushButton::clicked, this, &frmTip::cmdOK_Click);
    connect(cmdNextTip, &QPushButton::clicked, this, &frmTip::cmdNextTip_Click);
    connect(chkLoadTipsAtStartup, &QCheckBox::clicked, this, &frmTip::chkLoadTipsAtStartup_Click);

    Form_Load();
}

void frmTip::Form_Load()
{
    chkLoadTipsAtStartup->setChecked(number(getSetting(appExeName(), kOptions, kShowTips, QStringLiteral("1"))) != 0);
    CurrentTip = number(getSetting(appExeName(), kOptions, kCurrentTip, QStringLiteral("1")));
    if (!LoadTips(appFile(tipsFileName()))) {
        lblTipText->setText(QStringLiteral("That the ") + tipsFileName() + QStringLiteral(" file was not found? ")
            + QStringLiteral("\n\n") + QStringLiteral("Create a text file named ") + tipsFileName()
            + QStringLiteral(" using NotePad with 1 tip per line. ")
            + QStringLiteral("Then place it in the same directory as the application. "));
    }
}

bool frmTip::LoadTips(const QString& sFile)
{
    if (sFile.isEmpty())
        return false;
    QFile f(sFile);
    if (!f.exists() || !f.open(QIODevice::ReadOnly))
        return false;
    // One tip per line; an empty line is an empty tip, and a last line break ends the last tip.
    // UTF-8 when the bytes are valid UTF-8, else the Windows-1252 of older editors.
    QString text = codepage::utf8OrWindows1252(f.readAll());
    f.close();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    Tips = text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    ShowNextTip();
    return true;
}

void frmTip::ShowNextTip()
{
    // After the last tip comes the first again; so does it after a stored number below the first.
    if (CurrentTip < 0 || CurrentTip >= Tips.size())
        CurrentTip = 1;
    else
        CurrentTip = CurrentTip + 1;
    saveSetting(appExeName(), kOptions, kCurrentTip, QString::number(CurrentTip));
    DisplayCurrentTip();
}

void frmTip::DisplayCurrentTip()
{
    if (!Tips.isEmpty())
        lblTipText->setText(Tips.at(CurrentTip - 1));
}

void frmTip::cmdNextTip_Click()
{
    ShowNextTip();
}

void frmTip::cmdOK_Click()
{
    accept();
}

void frmTip::chkLoadTipsAtStartup_Click()
{
    saveSetting(appExeName(), kOptions, kShowTips,
        chkLoadTipsAtStartup->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}
