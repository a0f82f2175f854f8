#include "StartProgram.h"

#include "platform/AppPath.h"
#include "widgets/Dialogs.h"
#include "platform/Settings.h"
#include "shell/MainBas.h"
#include "shell/frmMain.h"
#include "shell/frmSplash.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>

void QuickSplash()
{
    frmSplash::SetDisplayTime(5);
}

std::unique_ptr<frmMain> StartProgram(const QString& commandLine)
{
    QuickSplash();
    SaveSetting(QStringLiteral("Orvalen Survey"), QStringLiteral("Config"), QStringLiteral("FirstRun"), QStringLiteral("False"));
    SaveSetting(AppExeName(), QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"), QStringLiteral("0"));
    return Main(commandLine);
}

QString StopProgram(std::unique_ptr<frmMain>& window)
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
}  // namespace

std::shared_ptr<ModalSeen> HandleNextModal(const QString& objectName, std::function<void(QWidget*)> inspect)
{
    auto seen = std::make_shared<ModalSeen>();
    const QDeadlineTimer deadline(2000);
    QTimer::singleShot(0, qApp, [=] { poll(objectName, inspect, seen, deadline); });
    return seen;
}
