#pragma once

#include "web/WizardPages.h"

class QCheckBox;
class QLineEdit;

// The pages of the Publish wizard but its upload (frmWizWebPublish_Upload.h): welcome, server,
// login, survey name and the finish page with the published address. None of them talks to the
// service; the upload page does. They read and write the Publish values of WizardDriver.h.

constexpr int kPublishHelpContext = 9;

class frmWizWebPublish_Welcome : public WizardWelcomePage {
    Q_OBJECT

public:
    explicit frmWizWebPublish_Welcome(QWidget* parent = nullptr);
};

class frmWizWebPublish_ServerType : public WizardServerPage {
    Q_OBJECT

public:
    explicit frmWizWebPublish_ServerType(QWidget* parent = nullptr);
};

class frmWizWebPublish_Login : public WizardLoginPage {
    Q_OBJECT

public:
    explicit frmWizWebPublish_Login(QWidget* parent = nullptr);

    QPushButton* cmdCreate = nullptr;

    // Opens the chosen server's account page in the web browser.
    void cmdCreate_Click();

protected:
    bool nextAllowed() override;
};

class frmWizWebPublish_SurveyName : public WizardPage {
    Q_OBJECT

public:
    explicit frmWizWebPublish_SurveyName(QWidget* parent = nullptr);

    QLineEdit* txtName = nullptr;
    QCheckBox* chkPublic = nullptr;

protected:
    bool nextAllowed() override;
};

class frmWizWebPublish_Complete : public WizardPage {
    Q_OBJECT

public:
    explicit frmWizWebPublish_Complete(QWidget* parent = nullptr);

    QLabel* lblSurveyURL = nullptr;
    QLabel* Label6 = nullptr; // the published address, a link
    QPushButton* cmdCopy = nullptr;

    void Label6_Click();
    void cmdCopy_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
