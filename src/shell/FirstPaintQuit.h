#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdio>

// For the start-up benchmark (bench/bench_startup.cpp): with the environment variable
// TESSIVO_QUIT_AFTER_FIRST_PAINT set, the program writes "painted" to its standard output as soon
// as its main window has painted once, and closes that window as a user would. Installed on the
// application, it watches the paints of the window named `windowName` and of its children.
class FirstPaintQuit : public QObject {
public:
    explicit FirstPaintQuit(const QString& windowName)
        : windowName_(windowName)
    { }

    static bool requested() { return qEnvironmentVariableIsSet("TESSIVO_QUIT_AFTER_FIRST_PAINT"); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        QWidget* window = static_cast<QWidget*>(watched)->window();
        if (window->objectName() != windowName_)
            return false;
        QCoreApplication::instance()->removeEventFilter(this);
        // The rest of the window paints in the same pass; this runs once it is on screen.
        QTimer::singleShot(0, window, [window] {
            std::fputs("painted\n", stdout);
            std::fflush(stdout);
            window->close();
        });
        return false;
    }

private:
    QString windowName_;
};
