#include "document/StoredSurvey.h"

#include "platform/Rtf.h"

QPtr blankPlaceholder(const SurveySession& session)
{
    if (session.PlaceholderKey.isEmpty())
        return nullptr;
    const clsSurvey& survey = session.Survey;
    const QPtr q = survey.GetQ(session.PlaceholderKey);
    if (!q || q->qType != QTypeOpenEnded || q->ResponsesCount() > 0 || !rtf::toPlainText(q->Question, 1).isEmpty())
        return nullptr;
    // A question that something jumps to has a part in the survey, even without a text.
    for (int i = 1; i <= survey.QCount(); ++i) {
        const QPtr other = survey.GetQIndex(i);
        for (int j = 1; j <= other->ResponsesCount(); ++j) {
            if (other->GetResponse(j)->LogicJumpToQuestionKey == q->Key)
                return nullptr;
        }
    }
    return q;
}

StoredSurvey::StoredSurvey(SurveySession& session)
    : whole_(session.Survey)
{
    const QPtr placeholder = blankPlaceholder(session);
    if (!placeholder)
        return;
    copy_ = whole_;
    leftOut_ = copy_.GetQIndexFromKey(placeholder->Key);
    copy_.DeleteQ(placeholder->Key);
    // Every numbered question after it moves up one number, as when a question is deleted.
    bool numbered = false;
    placeholder->QuestionNo.toInt(&numbered);
    for (int i = leftOut_; numbered && i <= copy_.QCount(); ++i) {
        const QPtr q = copy_.GetQIndex(i);
        bool ok = false;
        const int number = q->QuestionNo.toInt(&ok);
        if (q->qType == QTypeText || !ok || number < 2)
            continue;
        numbers_.emplace_back(q, q->QuestionNo);
        q->QuestionNo = QString::number(number - 1);
    }
}

StoredSurvey::~StoredSurvey()
{
    for (auto& [q, number] : numbers_)
        q->QuestionNo = number;
}
