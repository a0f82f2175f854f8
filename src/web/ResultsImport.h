#pragma once

#include "platform/Progress.h"

#include <QString>

namespace db {
class Connection;
}

// The import of a results file from the web survey service: one respondent with source "Web"
// per block of answers, its answers as rows of Respondent_Responses, written straight into the
// open survey file. The file is read as a stream of lines, each tag found anywhere in its line.
// The first line end says how the lines end, CR LF or LF alone, and only that one ends a line (a
// value keeps any other line break); the last line counts without one too. Numbers are whole
// numbers in decimal and nothing else; texts are UTF-8, or Latin-1 when they are not valid UTF-8.
//
//   <userresponse>                       a respondent's block
//     <r>                                one answered question
//       <DatabaseID>question id</DatabaseID>
//       <QuestionNo>number</QuestionNo>  must not be empty
//       <QType>0 to 3</QType>
//       <Response>response id</Response> (a matrix answer: "column id,row id"), one per line
//       <text>typed answer</text>
//     </r>
//   </userresponse>
//
// Time and memory grow with the size of the file: a line is searched once, and a long answer is
// held about twice while it is stored (once here, once by the database).
namespace ResultsImport {

// Imports the file in one transaction and returns the number of respondents made. Any failure
// (the file cannot be read, a bad value, a database error, a cancel) throws db::Error naming the
// line, and nothing of the file is imported.
// The progress is told the bytes read so far and the file's size (about every 50 ms, and at the
// end); its false cancels the import.
int DoLoadXML(db::Connection& connection, const QString& path, const Progress& progress = {});

} // namespace ResultsImport
