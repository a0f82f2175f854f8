#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box (Help > About), shown modally. It names the product and its maker, links to the
// maker's web page and offers the system-information tool.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* Picture5 = nullptr; // the XP style picture
    QLabel* Picture2 = nullptr; // the classic picture
    QLabel* Picture4 = nullptr; // opens the maker's web page
    QLabel* Label2 = nullptr; // the maker's web address; opens it
    QLabel* lblCompanyProduct = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

    // The path of the system-information tool, once found.
    QString SysInfoPath;

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Label2_Click();
    void Picture4_Click();
    // Starts the system-information tool, or says that it is unavailable.
    void StartSysInfo();
    // Reads a value of the system registry; there is none here, so nothing is ever found.
    static bool GetKeyValue(const QString& KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
