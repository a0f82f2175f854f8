#pragma once

#include "web/ServerList.h"

#include <QDialog>

#include <functional>
#include <optional>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;

// One page of the web wizards, in the frame all twelve share: a fixed dialog of 6660 by 4395
// twips with the wizard's picture on the left, the heading lblMessage at the top, the page's own
// controls below it, and across the foot Back, Next (the default button) and Cancel. The first
// page has no Back; the last shows only Finish (its Next). Esc does nothing; F1 opens the page's
// help topic.
//
// Leaving follows the wizards' conventions: Next (once the page accepts its input) steps
// WizardStep on by one, Back steps it back, Cancel sets WizardCancelled; each then closes the
// page. The title bar's close box counts as Cancel. A page that is closed while it waits for the
// network ends the transfer; work of the page that resumes afterwards sees isClosed() and stops.
class WizardPage : public QDialog {
    Q_OBJECT

public:
    enum class Position { First, Middle, Last };

    // An empty message makes no lblMessage (the welcome pages have headings of their own).
    WizardPage(const QString& name, const QString& caption, int helpContext, Position position, const QString& message,
        QWidget* parent);

    QLabel* picWizard = nullptr;
    QLabel* lblMessage = nullptr;
    QFrame* fraButtons = nullptr;
    QPushButton* cmdBack = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdCancel = nullptr;

    void cmdBack_Click();
    void cmdNext_Click();
    void cmdCancel_Click();

    // The help topic of the page and its controls.
    int helpContextID() const { return helpContext_; }
    // True once the page was left by any way.
    bool isClosed() const { return closed_; }

    // How long a page's start timer waits, from the page's making to its work: half a second;
    // tests shorten it.
    static constexpr int kStartDelay = 500;
    static int startDelay();
    static void setStartDelay(int milliseconds);

    // Where the page's own controls start, right of the picture, and how wide they may be.
    static constexpr int kLeft = 2040;
    static constexpr int kWidth = 4500;
    // The boxes beside their labels.
    static constexpr int kLabelWidth = 1380;
    static constexpr int kFieldLeft = kLeft + kLabelWidth + 60;
    static constexpr int kFieldWidth = kLeft + kWidth - kFieldLeft;

protected:
    // Next: checks and stores the page's input; false keeps the page open.
    virtual bool nextAllowed() { return true; }

    // The close box (and anything else that rejects the dialog) is Cancel.
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

    // The server entry of that number (-1 the built-in one); nothing, once "Error - unable to
    // retrieve server information." was shown, when the entry cannot be read (on a log page the
    // text is logged first).
    std::optional<ServerEntry> findServer(int index);
    virtual void serverNotFound(const QString& text);

    // A label of the page placed in twips; with a buddy it names that control.
    QLabel* addLabel(
        const QString& name, const QString& text, int left, int top, int width, int height, QWidget* buddy = nullptr);
    // The page's one-shot start timer "Timer1", armed now: it calls the work startDelay() later.
    QTimer* addStartTimer(const std::function<void()>& work);
    QPushButton* addButton(const QString& name, const QString& text, int left, int top, int width);

private:
    void leave(int result);

    int helpContext_;
    bool prepared_ = false;
    bool closed_ = false;
    bool inNext_ = false;
};
