// The Help menu of the main window and the getting-started prompt of the first start.
#include "platform/Shell.h"
#include "shell/ShellResources.h"
#include "shell/frmMain.h"
#include "shell/frmTip.h"
#include "widgets/Dialogs.h"
#include "widgets/HelpWindow.h"

void frmMain::mnuHelpContents_Click()
{
    Help::winHelp(this, helpFile_, Help::HELP_CONTEXT, kHelpContents);
}

void frmMain::mnuHelpIndex_Click()
{
    Help::winHelp(this, helpFile_, Help::HELP_TAB, -2);
}

void frmMain::mnuHelpSearch_Click()
{
    Help::winHelp(this, helpFile_, Help::HELP_TAB, -1);
}

void frmMain::mnuHelpTipOfTheDay_Click()
{
    frmTip tip(this);
    tip.exec();
}

void frmMain::mnuHelpOnlineSupport_Click()
{
    Shell::open(supportWebPage());
}

void frmMain::mnuHelpSendFeedback_Click()
{
    Shell::open(QStringLiteral("mailto:") + supportMailAddress());
}

void frmMain::FirstRun()
{
    const Dialogs::Answer answer = Dialogs::msgBox(
        QStringLiteral("We've noticed that this is the first time you have launched Orvalen Tessivo. You may find it "
                       "useful to follow the getting started tutorial. Would you like to view it now?"),
        Dialogs::YesNoCancel, Dialogs::Question);
    if (answer == Dialogs::Yes)
        Help::winHelp(this, helpFile_, Help::HELP_CONTEXT, kHelpGettingStarted);
}
