#pragma once

#include "web/WizardPages.h"

class SurveySession;
namespace net {
class FtpSession;
}

// Step 5 of the Publish wizard: half a second after the page shows, the open survey is written as
// the exchange file "test.xml", the user logs in, the survey is found (or, after asking, updated)
// or created on the service, the file goes by FTP into the service's drop folder "incoming" as
// user id "-" survey id ".xml", and the service is asked to publish it; its address goes into
// PublishedURL for the finish page. Every step is a line of the log.
class frmWizWebPublish_Upload : public WizardLogPage {
    Q_OBJECT

public:
    frmWizWebPublish_Upload(SurveySession& session, QWidget* parent = nullptr);

protected:
    void Timer1_Timer() override;

private:
    enum class Outcome { Published, NotPublished, Failed, Closed };
    Outcome upload(net::FtpSession& ftp);
    // Shows the text as a message, then logs it; false when the page was closed meanwhile.
    bool tell(const QString& text);

    SurveySession& session_;
};
