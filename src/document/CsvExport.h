#pragma once

#include "platform/Database.h"
#include "platform/Progress.h"

#include <QString>

class QIODevice;

// The CSV export: one record per respondent, oldest first, in UTF-8 with CR LF record ends and
// no header line. Fields as RFC 4180 has them: separated by ",", each in double quotes with a
// double quote inside doubled, so commas, quotes and line breaks in answers are kept.
namespace CsvExport {

// One field: the text in double quotes, each double quote in it doubled.
QString QuoteMe(const QString& text);

// Writes the records into the device; false when `progress` cancelled. Throws db::Error.
bool write(db::Connection& connection, QIODevice& out, const Progress& progress);

// Writes the export file; replaced only when complete, left as it was after a cancel (false) or
// a failure (thrown as db::Error).
bool writeFile(db::Connection& connection, const QString& path, const Progress& progress);

} // namespace CsvExport
