#include "StartProgram.h"

#include "document/SurveySession.h"
#include "platform/AppPath.h"
#include "platform/Database.h"
#include "platform/Settings.h"
#include "shell/MainBas.h"
#include "shell/frmMain.h"
#include "shell/frmSplash.h"
#include "widgets/Dialogs.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>

namespace {
// What main() holds for the program, held here by the window: as a base class made before the
// window's own, it is destroyed after the whole window, its widgets included.
struct ProgramParts {
    SurveySession ownSession;
    db::Connection ownLibrary;
};

class OwningMainWindow : private ProgramParts, public frmMain {
public:
    OwningMainWindow()
        : frmMain(ownSession, ownLibrary)
    { }
};
} // namespace

void quickSplash()
{
    frmSplash::setDisplayTime(5);
}

std::unique_ptr<frmMain> newMainWindow()
{
    return std::make_unique<OwningMainWindow>();
}

std::unique_ptr<frmMain> runMain(const QString& commandLine)
{
    std::unique_ptr<frmMain> window = newMainWindow();
    Main(*window, commandLine);
    return window;
}

std::unique_ptr<frmMain> startProgram(const QString& commandLine)
{
    quickSplash();
    saveSetting(QStringLiteral("Orvalen Survey"), QStringLiteral("Config"), QStringLiteral("FirstRun"),
        QStringLiteral("False"));
    saveSetting(appExeName(), QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"), QStringLiteral("0"));
    return runMain(commandLine);
}

QString stopProgram(std::unique_ptr<frmMain>& window)
{
    if (window) {
        window->session().setFileChanged(false);
        window->close();
    }
    window.reset();
    const QStringList unexpected = Dialogs::Script::unexpected();
    Dialogs::Script::end();
    return unexpected.join(QLatin1String(" | "));
}

namespace {
void poll(const QString& objectName, const std::function<void(QWidget*)>& inspect,
    const std::shared_ptr<ModalSeen>& seen, const QDeadlineTimer& deadline)
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->objectName() == objectName) {
        seen->shown = true;
        if (inspect)
            inspect(modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog->isVisible())
            dialog->reject();
        return;
    }
    if (deadline.hasExpired())
        return;
    QTimer::singleShot(10, qApp, [=] { poll(objectName, inspect, seen, deadline); });
}
} // namespace

std::shared_ptr<ModalSeen> handleNextModal(const QString& objectName, std::function<void(QWidget*)> inspect)
{
    auto seen = std::make_shared<ModalSeen>();
    const QDeadlineTimer deadline(2000);
    QTimer::singleShot(0, qApp, [=] { poll(objectName, inspect, seen, deadline); });
    return seen;
}
