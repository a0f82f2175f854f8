#pragma once

#include <QByteArray>
#include <QString>

// Text in the 8-bit and multi-byte code pages of older files and of RTF.
namespace codepage {

// The bytes decoded in a Windows code page (1252, 1251, 932, ...). Windows-1252 is built in, so
// the common case does not depend on the converters Qt was built with; a code page Qt cannot
// decode is read as Windows-1252.
QString decode(const QByteArray& bytes, int codePage);

// The bytes as UTF-8 when they are valid UTF-8 (a leading byte-order mark is dropped), otherwise
// as Windows-1252: how a text file written by this program or by an older editor is read.
QString utf8OrWindows1252(const QByteArray& bytes);

} // namespace codepage
