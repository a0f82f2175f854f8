#pragma once

#include "document/clsSurvey.h"
#include "platform/Database.h"

#include <QString>
#include <QStringList>

#include <optional>

// Reading and writing a survey file. Every failure is thrown as db::Error.
namespace SurveyFile {

// The tables a survey file must hold.
QStringList requiredTables();

// Opens the connection on a survey file. A file that is not a survey database fails, and so does
// one of this version whose tables lack a column the program uses, whose ids are not the tables'
// integer primary keys, or which holds an id outside 1 to 2147483647; the message says which,
// and the file is closed untouched. A file of another version opens, for versionMismatch to tell.
void openConnection(db::Connection& connection, const QString& path);

// The version rule: nothing when the first version row holds 1.7 or the table is empty, otherwise
// the version found, as text.
std::optional<QString> versionMismatch(db::Connection& connection);
QString versionMismatchMessage(const QString& found);

// Empties the survey and fills it from the file: questions in order with fresh keys, then their
// responses with every stored jump id turned into the key of the question it names. An id, jump
// or scale outside 1 to 2147483647, or a question type other than 0 to 4, fails the load.
void load(db::Connection& connection, clsSurvey& survey);

// Writes the questions and responses of the survey into the file: every row is marked, each
// question and response is updated or inserted in order, and what is still marked is deleted.
// One without an id (below 1) is always inserted. All in one transaction: when a statement
// fails, or a new row would get an id above 2147483647, the file and the survey stay as they were.
void save(db::Connection& connection, clsSurvey& survey);

// The id of a row just added to a survey file, inside the transaction that added it: throws
// db::Error (so that the transaction rolls back) when the id does not fit in 1 to 2147483647.
// `what` names the row in the message: "question", "respondent"...
int newId(qint64 id, const QString& what);

// Writes the survey into a file that holds none of its rows (a new file made from the template):
// every question and response is inserted as new, with the jumps kept to the same questions. The
// survey itself is not changed. One transaction, as Save.
void saveAsNew(db::Connection& connection, const clsSurvey& survey);

// Replaces the answer scales of one file with those of another, in one transaction; throws, with
// the target as it was, when the scales cannot be read or written.
void copyAnswerScales(db::Connection& from, db::Connection& to);

} // namespace SurveyFile
