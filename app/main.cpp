#include "document/SurveySession.h"
#include "platform/Database.h"
#include "shell/FirstPaintQuit.h"
#include "shell/MainBas.h"
#include "shell/frmMain.h"
#include "shell/frmSplash.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    setApplicationIdentity();
    // The start-up benchmark: the splash closes at once, and the program ends after its first paint.
    FirstPaintQuit quitAfterFirstPaint(QStringLiteral("frmMain"));
    if (FirstPaintQuit::requested()) {
        frmSplash::setDisplayTime(0);
        app.installEventFilter(&quitAfterFirstPaint);
    }
    // The open survey and the question library live as long as the program; the window that works
    // on them, made after them, goes before them.
    SurveySession session;
    db::Connection library;
    frmMain window(session, library);
    // The survey file to open is the first argument, taken as it stands.
    Main(window, QApplication::arguments().value(1));
    return QApplication::exec();
}
