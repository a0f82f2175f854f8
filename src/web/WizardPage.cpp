#include "web/WizardPage.h"

#include "platform/AppPath.h"
#include "platform/Internet.h"
#include "web/WizardDriver.h"
#include "widgets/AccessibleNames.h"
#include "widgets/Dialogs.h"
#include "widgets/HelpWindow.h"
#include "widgets/ScreenParts.h"
#include "widgets/Twips.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

// The pictures are compiled into the program's GUI library (outside any namespace, as the
// resource's registration asks).
static void initPictures()
{
    Q_INIT_RESOURCE(icons);
}

namespace {

int& delayStore()
{
    static int ms = WizardPage::kStartDelay;
    return ms;
}

constexpr int kPageWidth = 6660;
constexpr int kPageHeight = 4395;
constexpr int kButtonWidth = 1095;
constexpr int kButtonHeight = 375;

void ensurePictures()
{
    static const bool done = [] {
        initPictures();
        return true;
    }();
    (void)done;
}

QPushButton* footButton(QWidget* strip, const QString& name, const QString& text, int left)
{
    QPushButton* button = makeCommandButton(name, text, strip);
    button->setAutoDefault(false);
    Twips::place(button, left, 240, kButtonWidth, kButtonHeight);
    return button;
}

} // namespace

WizardPage::WizardPage(const QString& name, const QString& caption, int helpContext, Position position,
    const QString& message, QWidget* parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , helpContext_(helpContext)
{
    ensurePictures();
    setObjectName(name);
    setWindowTitle(caption);
    setFixedSize(Twips::toPixelsX(kPageWidth), Twips::toPixelsY(kPageHeight));

    picWizard = new QLabel(this);
    picWizard->setObjectName(QStringLiteral("picWizard"));
    const QPixmap picture(QStringLiteral(":/icons/wizard.png"));
    picWizard->setPixmap(picture);
    picWizard->setGeometry(Twips::toPixelsX(120), Twips::toPixelsY(120), picture.width(), picture.height());

    if (!message.isEmpty()) {
        lblMessage = addLabel(QStringLiteral("lblMessage"), message, kLeft, 120, kWidth, 615);
        QFont bold = lblMessage->font();
        bold.setBold(true);
        lblMessage->setFont(bold);
    }

    fraButtons = new QFrame(this);
    fraButtons->setObjectName(QStringLiteral("fraButtons"));
    Twips::place(fraButtons, 0, 3690, kPageWidth, 735);
    auto* line = new QFrame(fraButtons);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    Twips::place(line, 0, 0, kPageWidth, 30);

    cmdBack = footButton(fraButtons, QStringLiteral("cmdBack"), QStringLiteral("&Back"), 3120);
    cmdNext = footButton(fraButtons, QStringLiteral("cmdNext"), QStringLiteral("&Next"), 4200);
    cmdCancel = footButton(fraButtons, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), 5520);
    cmdNext->setDefault(true);
    if (position == Position::First) {
        cmdBack->hide();
        cmdBack->setEnabled(false);
    } else if (position == Position::Last) {
        cmdNext->setText(QStringLiteral("&Finish"));
        Twips::setLeft(cmdNext, 5520);
        cmdBack->hide();
        cmdCancel->hide();
    }
    connect(cmdBack, &QPushButton::clicked, this, &WizardPage::cmdBack_Click);
    connect(cmdNext, &QPushButton::clicked, this, &WizardPage::cmdNext_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &WizardPage::cmdCancel_Click);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
        [this] { Help::winHelp(this, appFile(QStringLiteral("bhelp.hlp")), Help::HELP_CONTEXT, helpContext_); });
}

QLabel* WizardPage::addLabel(
    const QString& name, const QString& text, int left, int top, int width, int height, QWidget* buddy)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Twips::place(label, left, top, width, height);
    if (buddy)
        labelFor(label, buddy);
    return label;
}

QPushButton* WizardPage::addButton(const QString& name, const QString& text, int left, int top, int width)
{
    QPushButton* button = makeCommandButton(name, text, this);
    button->setAutoDefault(false);
    Twips::place(button, left, top, width, kButtonHeight);
    return button;
}

int WizardPage::startDelay()
{
    return delayStore();
}

void WizardPage::setStartDelay(int milliseconds)
{
    delayStore() = milliseconds;
}

QTimer* WizardPage::addStartTimer(const std::function<void()>& work)
{
    auto* timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(delayStore());
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, work);
    timer->start();
    return timer;
}

std::optional<ServerEntry> WizardPage::findServer(int index)
{
    ServerEntry e;
    if (GetServerInfo(index, e.name, e.url, e.ftpServer, e.ftpUsername, e.ftpPassword))
        return e;
    serverNotFound(QStringLiteral("Error - unable to retrieve server information."));
    return std::nullopt;
}

void WizardPage::serverNotFound(const QString& text)
{
    Dialogs::msgBox(text, Dialogs::OKOnly, Dialogs::Critical);
}

void WizardPage::showEvent(QShowEvent* event)
{
    if (!prepared_) {
        prepared_ = true;
        // Every control of the page carries the page's help topic.
        setProperty("HelpContextID", helpContext_);
        for (QWidget* child : findChildren<QWidget*>())
            child->setProperty("HelpContextID", helpContext_);
        // Tab goes through the page's own controls in the order they were made, then the foot's.
        QList<QWidget*> order;
        for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if ((child->focusPolicy() & Qt::TabFocus) && !child->isWindow())
                order.append(child);
        }
        order << cmdBack << cmdNext << cmdCancel;
        for (qsizetype i = 0; i + 1 < order.size(); ++i)
            setTabOrder(order.at(i), order.at(i + 1));
    }
    QDialog::showEvent(event);
}

void WizardPage::cmdBack_Click()
{
    if (closed_)
        return;
    WizardStep -= 1;
    leave(QDialog::Rejected);
}

void WizardPage::cmdNext_Click()
{
    // A page that waits in its check (a login) lets events through; a second press must not
    // start it again.
    if (closed_ || inNext_)
        return;
    inNext_ = true;
    const bool allowed = nextAllowed();
    inNext_ = false;
    if (!allowed || closed_)
        return;
    WizardStep += 1;
    leave(QDialog::Accepted);
}

void WizardPage::cmdCancel_Click()
{
    if (closed_)
        return;
    WizardCancelled = true;
    leave(QDialog::Rejected);
}

void WizardPage::reject()
{
    cmdCancel_Click();
}

void WizardPage::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void WizardPage::leave(int result)
{
    closed_ = true;
    // A transfer the page waits for ends at once; the page's work then sees it was closed.
    net::cancelTransfers();
    done(result);
}
