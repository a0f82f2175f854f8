#include "shell/MainBas.h"

#include "shell/frmMain.h"

#include <QGuiApplication>
#include <QScreen>

std::unique_ptr<frmMain> Main(const QString& commandLine)
{
    auto main = std::make_unique<frmMain>();
    main->Form_Load(commandLine);
    // Without a window manager "maximised" means nothing, so the window starts at the screen's size.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        main->setGeometry(screen->availableGeometry());
    main->showMaximized();
    main->AddBlankOpenEndedQuestion();
    return main;
}
