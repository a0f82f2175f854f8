// The floor of StartUp (bench_startup): a bare Qt window started as the program starts its main
// window (the screen's size, maximised), which writes "painted" once it has painted and closes,
// through the program's own hook (shell/FirstPaintQuit.h).
#include "shell/FirstPaintQuit.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    FirstPaintQuit quitAfterFirstPaint(QStringLiteral("bareWindow"));
    app.installEventFilter(&quitAfterFirstPaint);
    QMainWindow window;
    window.setObjectName(QStringLiteral("bareWindow"));
    window.setWindowTitle(QStringLiteral("Bare window"));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
    window.show();
    return QApplication::exec();
}
