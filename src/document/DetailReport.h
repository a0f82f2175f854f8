#pragma once

#include "platform/Database.h"
#include "platform/Progress.h"

#include <QString>

class QIODevice;

// The detailed report: every respondent's answers to every question as an RTF document.
namespace DetailReport {

// The document's default font and size.
inline const QString kFont = QStringLiteral("Arial");
constexpr double kPoints = 10;

// Writes the report into the device as it reads the survey; false when `progress` cancelled it.
// Throws db::Error on a failing statement or write.
bool write(db::Connection& connection, QIODevice& out, const Progress& progress);

// Writes the report file; the file is replaced only when the report is complete, and stays as it
// was after a cancel (false) or a failure (thrown as db::Error).
bool writeFile(db::Connection& connection, const QString& path, const Progress& progress);

} // namespace DetailReport
