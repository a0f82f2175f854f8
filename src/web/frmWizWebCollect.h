#pragma once

#include "web/WizardPages.h"

class QListWidget;

// The pages of the Collect wizard but its download (frmWizWebCollect_Download.h): welcome,
// server, the login (tried on Next), the list of the user's surveys on the service, and the
// finish page. They read and write the Collect values of WizardDriver.h.

constexpr int kCollectHelpContext = 10;

class frmWizWebCollect_Welcome : public WizardWelcomePage {
    Q_OBJECT

public:
    explicit frmWizWebCollect_Welcome(QWidget* parent = nullptr);
};

class frmWizWebCollect_ServerType : public WizardServerPage {
    Q_OBJECT

public:
    explicit frmWizWebCollect_ServerType(QWidget* parent = nullptr);
};

// Next logs in to the chosen server and steps on only when the service knows the account.
class frmWizWebCollect_Login : public WizardLoginPage {
    Q_OBJECT

public:
    explicit frmWizWebCollect_Login(QWidget* parent = nullptr);

protected:
    bool nextAllowed() override;
};

// The user's surveys on the service, fetched half a second after the page shows.
class frmWizWebCollect_SelectSurvey : public WizardPage {
    Q_OBJECT

public:
    explicit frmWizWebCollect_SelectSurvey(QWidget* parent = nullptr);

    QListWidget* lstSurveys = nullptr;
    QTimer* Timer1 = nullptr;

    void Timer1_Timer();

protected:
    bool nextAllowed() override;

private:
    void fillList(const QString& url);
};

class frmWizWebCollect_Complete : public WizardPage {
    Q_OBJECT

public:
    explicit frmWizWebCollect_Complete(QWidget* parent = nullptr);
};
