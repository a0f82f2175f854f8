#include "StartProgram.h"

#include "platform/AppPath.h"
#include "platform/Settings.h"
#include "shell/MainBas.h"
#include "shell/frmMain.h"

std::unique_ptr<frmMain> StartProgram(const QString& commandLine)
{
    SaveSetting(QStringLiteral("Orvalen Survey"), QStringLiteral("Config"), QStringLiteral("FirstRun"), QStringLiteral("False"));
    SaveSetting(AppExeName(), QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"), QStringLiteral("0"));
    return Main(commandLine);
}
