#pragma once

#include "platform/Progress.h"
#include "platform/WaitCursor.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <optional>

class QProgressDialog;
class QWidget;

// Work that runs on the user-interface thread and may take long: an application-modal progress
// dialog with Cancel, shown while the object lives. The work reports through progress() as often
// as it likes; the dialog is updated and pending events run at most every 50 ms, so the window
// keeps painting, while the modal dialog keeps every other command away from the survey.
class LongWork {
public:
    LongWork(QWidget* parent, const QString& labelText, qint64 total);
    ~LongWork();
    LongWork(const LongWork&) = delete;
    LongWork& operator=(const LongWork&) = delete;

    // The callback for the work; it answers false once the user has cancelled.
    Progress progress();
    bool report(qint64 done, qint64 total);
    bool cancelled() const { return cancelled_; }

    // For tests: the next long work is cancelled after n reports.
    static void cancelNextAfter(int n);

private:
    void update(qint64 done, qint64 total);

    QPointer<QProgressDialog> dialog_;
    std::optional<WaitCursor> hourglass_;
    QElapsedTimer sinceUpdate_;
    bool cancelled_ = false;
    int cancelAfter_ = -1;
    int reports_ = 0;
};
