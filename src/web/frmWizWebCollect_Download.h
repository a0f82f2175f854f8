#pragma once

#include "web/WizardPages.h"

class SurveySession;

// Step 5 of the Collect wizard: half a second after the page shows, the results file of the
// chosen survey (user id "-" survey id ".txt") is downloaded into the program's folder, imported
// into the open survey as "Web" respondents, and, when the user agrees, deleted on the service so
// that it is not imported twice. Every step is a line of the log.
class frmWizWebCollect_Download : public WizardLogPage {
    Q_OBJECT

public:
    frmWizWebCollect_Download(SurveySession& session, QWidget* parent = nullptr);

protected:
    void Timer1_Timer() override;

private:
    enum class Outcome { Finished, Failed, Closed };
    Outcome download();

    SurveySession& session_;
};
