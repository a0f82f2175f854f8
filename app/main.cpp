#include "shell/FirstPaintQuit.h"
#include "shell/MainBas.h"
#include "shell/frmMain.h"
#include "shell/frmSplash.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessivo"));
    QApplication::setOrganizationName(QStringLiteral("tessivo"));
    // The start-up benchmark: the splash closes at once, and the program ends after its first paint.
    FirstPaintQuit quitAfterFirstPaint(QStringLiteral("frmMain"));
    if (FirstPaintQuit::Requested()) {
        frmSplash::SetDisplayTime(0);
        app.installEventFilter(&quitAfterFirstPaint);
    }
    // The survey file to open is the first argument, taken as it stands.
    const QStringList arguments = QApplication::arguments();
    const std::unique_ptr<frmMain> window = Main(arguments.value(1));
    return QApplication::exec();
}
