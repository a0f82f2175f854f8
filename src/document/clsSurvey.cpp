#include "document/clsSurvey.h"

#include "platform/Guid.h"

#include <utility>

namespace {
const QString kKeyStrip = QStringLiteral("{}-");
}

int clsSurvey::indexOf(const QString& Key) const
{
    for (size_t i = 0; i < questions_.size(); ++i) {
        if (questions_[i]->Key == Key)
            return int(i);
    }
    return -1;
}

void clsSurvey::ReorderQ_QuestionNos()
{
    int counter = 1;
    for (const QPtr& q : questions_) {
        if (q->qType != QTypeText)
            q->QuestionNo = QString::number(counter++);
    }
}

QString clsSurvey::AddQ(const QString& Question, qint32 qType, int DatabaseID, int ResponseMatrixGroupID)
{
    auto q = std::make_shared<clsQ>();
    q->qType = qType;
    q->OpenEnded_NoOfRows = 1;
    q->Question = Question;
    q->ResponseMatrixGroupID = ResponseMatrixGroupID;
    q->Key = CreateGUIDKey(kKeyStrip);
    q->DatabaseID = DatabaseID;
    if (qType != QTypeText) {
        int numbered = 0;
        for (const QPtr& other : questions_)
            numbered += other->qType != QTypeText ? 1 : 0;
        q->QuestionNo = QString::number(numbered + 1);
    }
    questions_.push_back(q);
    return q->Key;
}

QString clsSurvey::AddQ2(QPtr newQ)
{
    newQ->Key = CreateGUIDKey(kKeyStrip);
    questions_.push_back(newQ);
    return newQ->Key;
}

void clsSurvey::DeleteQ(const QString& Key)
{
    const int i = indexOf(Key);
    if (i >= 0)
        questions_.erase(questions_.begin() + i);
}

void clsSurvey::DebugQResponses(int i) const
{
    const QPtr q = GetQIndex(i);
    if (!q)
        return;
    for (int j = 1; j <= q->ResponsesCount(); ++j)
        (void)q->GetResponse(j);
}

QPtr clsSurvey::GetQ(const QString& Key) const
{
    const int i = indexOf(Key);
    return i < 0 ? nullptr : questions_[size_t(i)];
}

void clsSurvey::SwapQ(const QString& Key1, const QString& Key2)
{
    const int a = indexOf(Key1);
    const int b = indexOf(Key2);
    if (a >= 0 && b >= 0)
        std::swap(questions_[size_t(a)], questions_[size_t(b)]);
}

int clsSurvey::GetQIndexFromKey(const QString& Key) const
{
    const int i = indexOf(Key);
    return i < 0 ? -1 : i + 1;
}

QString clsSurvey::GetQuestionNoFromKey(const QString& Key) const
{
    const QPtr q = GetQ(Key);
    return q ? q->QuestionNo : QString();
}

qint32 clsSurvey::GetQuestionTypeFromKey(const QString& Key) const
{
    const QPtr q = GetQ(Key);
    return q ? q->qType : QTypeText;
}

QString clsSurvey::GetKeyFromDatabaseID(int DatabaseID) const
{
    for (const QPtr& q : questions_) {
        if (q->DatabaseID == DatabaseID)
            return q->Key;
    }
    return QString();
}

QPtr clsSurvey::GetQIndex(int i) const
{
    if (i < 1 || i > QCount())
        return nullptr;
    return questions_[size_t(i - 1)];
}

void clsSurvey::SetQ(const QString& Key, QPtr q)
{
    const int i = indexOf(Key);
    if (i >= 0 && q)
        questions_[size_t(i)] = std::move(q);
}

void clsSurvey::UpdateQuestion(const QString& Key, const QString& Question)
{
    if (const QPtr q = GetQ(Key))
        q->Question = Question;
}

void clsSurvey::UpdateQuestionType(const QString& Key, qint32 QuestionType)
{
    if (const QPtr q = GetQ(Key))
        q->qType = QuestionType;
}

void clsSurvey::ClearAll()
{
    questions_.clear();
}
