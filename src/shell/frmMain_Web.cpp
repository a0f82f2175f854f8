#include "document/StoredSurvey.h"
#include "platform/TextUtil.h"
#include "shell/frmMain.h"
#include "web/ExchangeFile.h"
#include "web/LoadResults.h"
#include "web/WizardDriver.h"
#include "widgets/Dialogs.h"

void frmMain::DoSaveXML()
{
    ExchangeFile::DoSaveXML(StoredSurvey(session_).survey(), session_.SurveyConnection, ExchangeFile::defaultPath());
}

void frmMain::DoLoadXML(const QString& sFilename)
{
    loadResultsFile(this, session_.SurveyConnection, sFilename);
}

void frmMain::mnuDataPublishWeb_Click()
{
    // Questions not yet saved have no ids, and their web answers could not be filed.
    if (IsFileChanged() || session_.CurrentFile.isEmpty() || isUntitledPath(session_.CurrentFile)) {
        const Dialogs::Answer answer = Dialogs::msgBox(
            QStringLiteral("You must save the survey before publishing it. Do you want to save it now?"),
            Dialogs::YesNo, Dialogs::Question);
        if (answer != Dialogs::Yes || !saveCurrent())
            return;
    }
    runPublishWizard(session_, this);
}

void frmMain::mnuDataCollectWeb_Click()
{
    runCollectWizard(session_, this);
}
