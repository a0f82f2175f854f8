#pragma once

#include <QByteArray>
#include <QString>

class clsSurvey;
namespace db {
class Connection;
}

// The survey exchange file sent to the web survey service: tagged lines (no escaping, TAB
// indents, CR LF after every line, UTF-8) describing every question of the survey in memory,
// unsaved changes included; the columns of answer scales come from the open survey file.
namespace ExchangeFile {

// "test.xml" in the program's folder.
QString defaultPath();

// The file's content. Throws db::Error when the answer-scale columns cannot be read.
QByteArray build(const clsSurvey& survey, db::Connection& connection);

// Writes the file whole or not at all: on any failure (thrown as db::Error) an earlier file at
// the path stays as it was.
void DoSaveXML(const clsSurvey& survey, db::Connection& connection, const QString& path);

} // namespace ExchangeFile
