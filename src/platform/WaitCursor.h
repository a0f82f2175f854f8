#pragma once

#include <QCursor>
#include <QGuiApplication>

// The hourglass pointer while the object lives, or until restore(); restore() may be called any
// number of times.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { restore(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    void restore()
    {
        if (on_)
            QGuiApplication::restoreOverrideCursor();
        on_ = false;
    }

private:
    bool on_ = true;
};
