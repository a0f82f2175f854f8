#pragma once

#include "platform/RtfModel.h"

#include <QByteArray>
#include <QString>

namespace rtf::detail {

// The content as an RTF document.
QString writeRtf(const Content& content);

// A character outside ASCII as the RTF writers write it, one UTF-16 unit at a time: "\uN?", N the
// unit as RTF's signed 16-bit number (negative above 32767), '?' the fallback of a reader that
// does not know \u.
QByteArray unicodeEscape(char16_t unit);

} // namespace rtf::detail
