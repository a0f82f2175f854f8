#pragma once

#include "platform/Progress.h"

#include <QString>

namespace db {
class Connection;
}

// The import of a results file from the web survey service: one respondent with source "Web"
// per block of answers, its answers as rows of Respondent_Responses, written straight into the
// open survey file. The file is read as a stream of lines (CR LF or LF; the last line counts
// without one too), each tag found anywhere in its line:
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
namespace ResultsImport {

// Imports the file in one transaction and returns the number of respondents made. Any failure
// (the file cannot be read, a bad value, a database error, a cancel) throws db::Error naming the
// line, and nothing of the file is imported.
// The progress is told the bytes read so far and the file's size (about every 50 ms, and at the
// end); its false cancels the import.
int DoLoadXML(db::Connection& connection, const QString& path, const Progress& progress = {});

} // namespace ResultsImport
