#include "shell/frmMain.h"

#include "document/StoredSurvey.h"
#include "widgets/Dialogs.h"
#include "platform/TextUtil.h"
#include "web/ExchangeFile.h"
#include "web/LoadResults.h"
#include "web/WizardDriver.h"

void frmMain::DoSaveXML()
{
    ExchangeFile::DoSaveXML(StoredSurvey(session_).survey(), session_.SurveyConnection, ExchangeFile::DefaultPath());
}

void frmMain::DoLoadXML(const QString& sFilename)
{
    LoadResultsFile(this, session_.SurveyConnection, sFilename);
}

void frmMain::mnuDataPublishWeb_Click()
{
    // Questions not yet saved have no ids, and their web answers could not be filed.
    if (IsFileChanged() || session_.CurrentFile.isEmpty() || IsUntitledPath(session_.CurrentFile)) {
        const Dialogs::Answer answer = Dialogs::MsgBox(
            QStringLiteral("You must save the survey before publishing it. Do you want to save it now?"),
            Dialogs::YesNo, Dialogs::Question);
        if (answer != Dialogs::Yes || !SaveCurrent())
            return;
    }
    RunPublishWizard(session_, this);
}

void frmMain::mnuDataCollectWeb_Click()
{
    RunCollectWizard(session_, this);
}
