#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QTimer;

// The splash screen shown modally while the program starts. It closes itself after its display
// time (3000 ms), on a key press, or on a click on its frame.
class frmSplash : public QDialog {
    Q_OBJECT

public:
    explicit frmSplash(QWidget* parent = nullptr);

    // How long the splash stays without input; tests shorten it.
    static int displayTime();
    static void setDisplayTime(int milliseconds);

    QFrame* Frame1 = nullptr;
    QLabel* Picture5 = nullptr; // the XP style picture
    QLabel* Picture2 = nullptr; // the classic picture
    QLabel* lblCompanyProduct = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblPlatform = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QLabel* Label2 = nullptr;
    QTimer* Timer1 = nullptr;

    // Shows the splash modally until it closes. Unlike QDialog::exec it also returns when the
    // splash closed itself while it was being shown (a short display time under load).
    int exec() override;

    void Form_Load();
    void Form_KeyPress();
    void Frame1_Click();
    void Timer1_Timer();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void unload();
};
