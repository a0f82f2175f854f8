#include "shell/frmSplash.h"

#include "shell/ShellResources.h"
#include "shell/modDetectWindows.h"
#include "widgets/ScreenParts.h"
#include "widgets/Twips.h"

#include <QEventLoop>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace {
int& splashMilliseconds()
{
    static int ms = 3000;
    return ms;
}
} // namespace

int frmSplash::displayTime()
{
    return splashMilliseconds();
}

void frmSplash::setDisplayTime(int milliseconds)
{
    splashMilliseconds() = milliseconds;
}

frmSplash::frmSplash(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    ensureShellResources();
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Orvalen Tessivo"));
    setModal(true);
    setFixedSize(Twips::toPixelsX(7500), Twips::toPixelsY(4650));

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Sunken);
    Frame1->setAutoFillBackground(true);
    Twips::place(Frame1, 60, 60, 7380, 4530);
    Frame1->installEventFilter(this);

    Picture5 = new QLabel(Frame1);
    Picture5->setObjectName(QStringLiteral("Picture5"));
    Picture5->setPixmap(QPixmap(QStringLiteral(":/icons/splash_xp.png")));
    Twips::place(Picture5, 240, 420, 2760, 2760);
    Picture2 = new QLabel(Frame1);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setPixmap(QPixmap(QStringLiteral(":/icons/splash_classic.png")));
    Twips::place(Picture2, 600, 900, 1920, 1920);

    lblCompanyProduct = makeLabel(QStringLiteral("lblCompanyProduct"), QStringLiteral("Orvalen"), Frame1, 4, false);
    Twips::place(lblCompanyProduct, 3240, 420, 3900, 420);
    lblProductName = makeLabel(QStringLiteral("lblProductName"), QStringLiteral("Tessivo"), Frame1, 22, true);
    Twips::place(lblProductName, 3240, 840, 3900, 900);
    lblPlatform = makeLabel(QStringLiteral("lblPlatform"), QStringLiteral("98/2000/XP"), Frame1, 4, true);
    lblPlatform->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Twips::place(lblPlatform, 3240, 1800, 3900, 420);
    lblCopyright = makeLabel(QStringLiteral("lblCopyright"),
        QStringLiteral("Copyright \u00A9 Orvalen. All rights reserved."), Frame1, -1, false);
    lblCopyright->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Twips::place(lblCopyright, 3240, 2400, 3900, 300);
    Label2 = makeLabel(QStringLiteral("Label2"), orvalenWebAddress(), Frame1, -1, false);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Twips::place(Label2, 3240, 2700, 3900, 300);
    lblDisclaimer = makeLabel(QStringLiteral("lblDisclaimer"), disclaimerText(), Frame1, -2, false);
    lblDisclaimer->setWordWrap(true);
    Twips::place(lblDisclaimer, 240, 3420, 6900, 900);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);

    Form_Load();
}

void frmSplash::Form_Load()
{
    if (!IsWindows2000() && !IsWindows98() && !IsWindows95()) {
        Picture5->show();
        Picture5->raise();
        Picture2->hide();
    } else {
        Picture2->hide();
        Picture5->hide();
    }
    Timer1->start(displayTime());
}

int frmSplash::exec()
{
    setAttribute(Qt::WA_ShowModal, true);
    setResult(0);
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    show();
    if (isVisible())
        loop.exec(QEventLoop::DialogExec);
    return result();
}

void frmSplash::unload()
{
    Timer1->stop();
    done(QDialog::Accepted);
}

void frmSplash::Form_KeyPress()
{
    unload();
}

void frmSplash::Frame1_Click()
{
    unload();
}

void frmSplash::Timer1_Timer()
{
    unload();
}

void frmSplash::keyPressEvent(QKeyEvent* event)
{
    // A modifier alone is no key press of its own.
    switch (event->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
        QDialog::keyPressEvent(event);
        return;
    default:
        Form_KeyPress();
    }
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Frame1 && event->type() == QEvent::MouseButtonPress) {
        Frame1_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
