#include "shell/MainBas.h"
#include "shell/frmMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    SetApplicationIdentity();
    // The survey file to open is the first argument, taken as it stands.
    const QStringList arguments = QApplication::arguments();
    const std::unique_ptr<frmMain> window = Main(arguments.value(1));
    return QApplication::exec();
}
