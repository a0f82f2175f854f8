#pragma once

#include "web/WizardPage.h"

#include <QStringList>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QTimer;

// The kinds of page the Publish and the Collect wizard have alike; each wizard's pages are these
// with their own names, texts and values (frmWizWebPublish.h, frmWizWebCollect.h).

// Step 1: the welcome texts. Whether the page shows at the next start is asked but not kept:
// every run of a wizard starts here.
class WizardWelcomePage : public WizardPage {
    Q_OBJECT

public:
    WizardWelcomePage(const QString& name, const QString& caption, int helpContext, const QString& heading,
        const QString& welcome, QWidget* parent);

    QLabel* Label2 = nullptr;
    QLabel* lblWelcomeMessage = nullptr;
    QLabel* Label1 = nullptr;
    QCheckBox* chkDisplayNext = nullptr;
};

// Step 2: the server entries, the built-in one first, the last one selected; Next stores the
// chosen entry's number.
class WizardServerPage : public WizardPage {
    Q_OBJECT

public:
    WizardServerPage(const QString& name, int helpContext, const QString& message, int& serverIndex, QWidget* parent);

    QComboBox* cboName = nullptr;
    QPushButton* cmdAdd = nullptr;

    // Fills the list again from the settings store and selects its last entry.
    void RefreshServerList();
    void cmdAdd_Click();

protected:
    bool nextAllowed() override;

private:
    int& serverIndex_;
};

// Step 3: the user name and password of the web account, pre-filled with what was stored.
class WizardLoginPage : public WizardPage {
    Q_OBJECT

public:
    WizardLoginPage(const QString& name, int helpContext, const QString& message, const QString& userName,
        const QString& password, QWidget* parent);

    QLineEdit* txtName = nullptr;
    QLineEdit* txtPassword = nullptr;

protected:
    // False, with the message shown and the focus in txtName, when either box is empty.
    bool fieldsFilled();
};

// Step 5: a progress bar and a log of messages, and the timer that starts the page's sequence
// half a second after the page is shown. Next stays disabled until the sequence succeeds.
class WizardLogPage : public WizardPage {
    Q_OBJECT

public:
    WizardLogPage(const QString& name, const QString& caption, int helpContext, const QString& message,
        const QString& progressCaption, QWidget* parent);

    QProgressBar* ProgressBar1 = nullptr;
    QPlainTextEdit* txtMessages = nullptr;
    QTimer* Timer1 = nullptr;

    // The lines of the log so far.
    QStringList messages() const;

protected:
    virtual void Timer1_Timer() = 0;
    // Appends a line to the log and shows it, moves the progress bar on by one while it is below
    // its maximum, and lets the window repaint and its buttons answer.
    void AddMessage(const QString& text);
    // AddMessage; false when the page was closed meanwhile.
    bool log(const QString& text);
    void serverNotFound(const QString& text) override;
};
