#pragma once

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;
class QPushButton;

// The tip of the day: one line of the tips file per showing, the tip after the one last shown,
// in file order and round again.
class frmTip : public QDialog {
    Q_OBJECT

public:
    explicit frmTip(QWidget* parent = nullptr);

    static QString tipsFileName() { return QStringLiteral("TipOfTheDay.txt"); }

    QLabel* lblTipText = nullptr;
    QLabel* lblDidYouKnow = nullptr;
    QCheckBox* chkLoadTipsAtStartup = nullptr;
    QPushButton* cmdNextTip = nullptr;
    QPushButton* cmdOK = nullptr;

    QStringList Tips; // the lines of the tips file; tip n is Tips[n - 1]
    qint32 CurrentTip = 1;

    // Reads the tips and steps to the next one; false when there is no such file.
    bool LoadTips(const QString& sFile);
    void DisplayCurrentTip();
    void ShowNextTip();

    void Form_Load();
    void cmdNextTip_Click();
    void cmdOK_Click();
    void chkLoadTipsAtStartup_Click();
};
