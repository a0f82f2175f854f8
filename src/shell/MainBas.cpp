#include "shell/MainBas.h"

#include "platform/AppPath.h"
#include "platform/Settings.h"
#include "shell/frmMain.h"
#include "shell/frmTip.h"

#include <QGuiApplication>

namespace {
// A stored flag: "False" or 0 is false, "True" or any other number true; anything else gives the default.
bool settingAsBool(const QString& text, bool defaultValue)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double n = t.toDouble(&ok);
    return ok ? n != 0 : defaultValue;
}
} // namespace

void setApplicationIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("tessivo"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tessivo"));
}

void Main(frmMain& main, const QString& commandLine)
{
    main.Form_Load(commandLine);
    main.show();
    if (!commandLine.isEmpty() && main.session().CurrentFile == commandLine)
        main.addPlaceholderQuestion(true);
    else
        main.AddBlankOpenEndedQuestion();

    if (settingAsBool(getSetting(appExeName(), QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"),
                          QStringLiteral("1")),
            true)) {
        frmTip tip(&main);
        tip.exec();
    }

    const QString app = QStringLiteral("Orvalen Survey");
    const bool first = settingAsBool(
        getSetting(app, QStringLiteral("Config"), QStringLiteral("FirstRun"), QStringLiteral("True")), true);
    saveSetting(app, QStringLiteral("Config"), QStringLiteral("FirstRun"), QStringLiteral("False"));
    if (first)
        main.FirstRun();
}
