#pragma once

#include <QString>

// The client of the web survey service: one operation per function of its endpoint
// "ws/CallFunc.php" under a server's base URL (which ends in "/"). Each operation is one HTTP GET
// whose answer goes into "result.htm" in the program's folder and is parsed from there. The
// operations return -1, "" or false when the service cannot be reached or answers a failure;
// LastWebError then holds the service's answer ("" when none came).
//
// Ids are 32-bit. An id answer that is not a whole number throws db::Error "Type mismatch" (13),
// one outside the 32-bit range "Overflow" (6). Parameter values are percent-encoded, so the service
// sees them exactly as given.

// The service's last answer text: "Success" after a success answer, the whole answer after a
// failure, "" when the request itself failed.
extern QString LastWebError;

int WSGetWebUserID(const QString& userName, const QString& password, const QString& serverUrl);
// -1 when the user has no survey of that name.
int WSGetSurveyID(const QString& surveyName, int userId, const QString& serverUrl);
int WSCreateSurvey(int userId, const QString& surveyName, const QString& serverUrl);
// The URL at which the service published the uploaded survey.
QString WSMoveNewSurvey(const QString& fileName, int surveyId, bool isPublic, int userId, const QString& serverUrl);
// The user's survey ids separated by ",".
QString WSGetSurveyListForUser(int userId, const QString& serverUrl);
QString WSGetSurveyName(int surveyId, const QString& serverUrl);
// The results file itself.
QString WSGetSurveyResults(const QString& fileName, const QString& serverUrl);
// The results file streamed straight into localPath, for results too large to hold in memory.
// True, with localPath replaced, when the service answered a results file; false, with localPath
// left as it was, when the request failed, the service answered a failure or an empty answer.
// LastWebError as WSGetSurveyResults sets it. Throws db::Error when the local file cannot be
// written.
bool wsGetSurveyResultsToFile(const QString& fileName, const QString& serverUrl, const QString& localPath);
bool WSDeleteSurveyResultsFile(int userId, int surveyId, const QString& serverUrl);

// The answer file's path: "result.htm" in the program's folder.
QString resultFilePath();
// Parse the answer file: a success answer "Success<br>" value "<br>", and a results answer (any
// text that does not begin with "Failure"). Both set LastWebError.
bool ReadSuccessValue(QString& value);
bool ReadResultsBody(QString& body);
