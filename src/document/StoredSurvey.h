#pragma once

#include "document/SurveySession.h"

#include <QString>

#include <utility>
#include <vector>

// The session's placeholder question while it is still blank: open-ended, without text or
// responses, and no response jumping to it. None once the user has made something of it (or
// deleted it), and none when the session has no placeholder.
QPtr blankPlaceholder(const SurveySession& session);

// The survey as a save and the exchange file write it: the open survey without its blank
// placeholder, the questions after it numbered as they will be once it is gone. The questions are
// the survey's own objects (a save gives them their ids); the numbers are put back when this
// object goes. Without a blank placeholder it is the open survey itself.
class StoredSurvey {
public:
    explicit StoredSurvey(SurveySession& session);
    ~StoredSurvey();
    StoredSurvey(const StoredSurvey&) = delete;
    StoredSurvey& operator=(const StoredSurvey&) = delete;

    clsSurvey& survey() { return leftOut_ > 0 ? copy_ : whole_; }
    // The position (from 1) of the placeholder that was left out; 0 when nothing was.
    int leftOut() const { return leftOut_; }

private:
    clsSurvey& whole_;
    clsSurvey copy_;
    int leftOut_ = 0;
    std::vector<std::pair<QPtr, QString>> numbers_;
};
