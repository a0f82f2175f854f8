#include "document/SurveySession.h"
#include "platform/Database.h"
#include "shell/MainBas.h"
#include "shell/frmMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    SetApplicationIdentity();
    // The open survey and the question library live as long as the program; the window that works
    // on them, made after them, goes before them.
    SurveySession session;
    db::Connection library;
    frmMain window(session, library);
    // The survey file to open is the first argument, taken as it stands.
    Main(window, QApplication::arguments().value(1));
    return QApplication::exec();
}
