#include "web/WizardDriver.h"

#include "web/frmWizWebCollect.h"
#include "web/frmWizWebCollect_Download.h"
#include "web/frmWizWebPublish.h"
#include "web/frmWizWebPublish_Upload.h"

#include <QDialog>

int WizardStep = 0;
bool WizardCancelled = false;

int PublishServerIndex = 0;
QString PublishUserName;
QString PublishPassword;
QString PublishSurveyName;
bool PublishPublic = false;
QString PublishedURL;

int CollectServerIndex = 0;
QString CollectUserName;
QString CollectPassword;
QString CollectWebUserID;
int CollectSurveyID = 0;

void resetWizardState()
{
    WizardStep = 0;
    WizardCancelled = false;
    PublishServerIndex = 0;
    PublishUserName.clear();
    PublishPassword.clear();
    PublishSurveyName.clear();
    PublishPublic = false;
    PublishedURL.clear();
    CollectServerIndex = 0;
    CollectUserName.clear();
    CollectPassword.clear();
    CollectWebUserID.clear();
    CollectSurveyID = 0;
}

void runWizard(const WizardPageFactory& page)
{
    WizardCancelled = false;
    WizardStep = 1;
    while (!WizardCancelled && WizardStep >= 1 && WizardStep <= 6) {
        const std::unique_ptr<QDialog> shown = page(WizardStep);
        shown->exec();
    }
}

void runPublishWizard(SurveySession& session, QWidget* owner)
{
    runWizard([&](int step) -> std::unique_ptr<QDialog> {
        switch (step) {
        case 1:
            return std::make_unique<frmWizWebPublish_Welcome>(owner);
        case 2:
            return std::make_unique<frmWizWebPublish_ServerType>(owner);
        case 3:
            return std::make_unique<frmWizWebPublish_Login>(owner);
        case 4:
            return std::make_unique<frmWizWebPublish_SurveyName>(owner);
        case 5:
            return std::make_unique<frmWizWebPublish_Upload>(session, owner);
        default:
            return std::make_unique<frmWizWebPublish_Complete>(owner);
        }
    });
}

void runCollectWizard(SurveySession& session, QWidget* owner)
{
    runWizard([&](int step) -> std::unique_ptr<QDialog> {
        switch (step) {
        case 1:
            return std::make_unique<frmWizWebCollect_Welcome>(owner);
        case 2:
            return std::make_unique<frmWizWebCollect_ServerType>(owner);
        case 3:
            return std::make_unique<frmWizWebCollect_Login>(owner);
        case 4:
            return std::make_unique<frmWizWebCollect_SelectSurvey>(owner);
        case 5:
            return std::make_unique<frmWizWebCollect_Download>(session, owner);
        default:
            return std::make_unique<frmWizWebCollect_Complete>(owner);
        }
    });
}
