#include "platform/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {
struct State {
    bool recording = false;
    QStringList opened;
};
State& state()
{
    static State s;
    return s;
}
} // namespace

namespace Shell {

bool open(const QString& target)
{
    if (state().recording) {
        state().opened << target;
        return true;
    }
    const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(target) : QUrl(target);
    return QDesktopServices::openUrl(url);
}

void setRecording(bool on)
{
    state().recording = on;
}

QStringList recorded()
{
    return state().opened;
}

void clearRecorded()
{
    state().opened.clear();
}

} // namespace Shell
