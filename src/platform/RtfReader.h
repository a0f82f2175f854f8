#pragma once

#include "platform/RtfModel.h"

#include <QStringView>

namespace rtf::detail {

// The content of an RTF text; never fails: malformed RTF gives whatever text could be read. With
// a limit of 0 or more, reading stops once the plain text holds more than `limit` characters for
// certain (CR LF counted as two); the paragraphs read so far then begin as those of the whole
// text do.
Content readRtf(QStringView text, qsizetype limit = -1);

// The same for a source given as bytes, one per character (Latin-1): bytes outside ASCII in its
// text are characters of the document's code page, as \'hh escapes are.
Content readRtfBytes(QStringView latin1);

} // namespace rtf::detail
