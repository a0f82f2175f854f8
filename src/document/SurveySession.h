#pragma once

#include "document/clsSurvey.h"
#include "platform/Database.h"

#include <QString>

// The state of the open survey that the whole program shares: the survey object, the connection
// to its file, the file's path and the unsaved-changes flag.
struct SurveySession {
    clsSurvey Survey;
    db::Connection SurveyConnection;
    // The path of the open survey file; "" when none is open. A path ending in ".tmp" (any case)
    // is an untitled survey.
    QString CurrentFile;
    bool FileChanged = false;
    bool OpenIsNew = false;
};
