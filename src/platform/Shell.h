#pragma once

#include <QString>
#include <QStringList>

// Opens a file, a web address or a mail link with the desktop's handler. Tests switch it to
// recording, so nothing is launched and the addresses can be checked.
namespace Shell {
bool open(const QString& target);
void setRecording(bool on);
QStringList recorded();
void clearRecorded();
} // namespace Shell
