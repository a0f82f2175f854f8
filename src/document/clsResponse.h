#pragma once

#include <QString>

#include <memory>

// One response of a check or radio question, or one row of a matrix question.
class clsResponse {
public:
    // The id of its row in the response table; -1 until it is stored.
    int DatabaseID = 0;
    QString Text;
    // The stored id of the jump target as read from the file; -1 when there is none.
    int LogicJumpToQuestionID = 0;
    // The key of the question answer entry goes to when this response is chosen; "" for none.
    QString LogicJumpToQuestionKey;
};

using ResponsePtr = std::shared_ptr<clsResponse>;
