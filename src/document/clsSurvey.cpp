#include "document/clsSurvey.h"

#include "platform/Guid.h"

#include <utility>

namespace {
const QString kKeyStrip = QStringLiteral("{}-");
}

void clsSurvey::rebuildIndex() const
{
    index_.clear();
    index_.reserve(qsizetype(questions_.size()));
    keyReads_ += qint64(questions_.size());
    duplicates_ = false;
    for (size_t i = 0; i < questions_.size(); ++i) {
        const QString& key = questions_[i]->Key;
        if (index_.contains(key))
            duplicates_ = true; // the first one keeps its place
        else
            index_.insert(key, int(i));
    }
    indexValid_ = true;
}

void clsSurvey::indexAppended(const QString& Key, int i)
{
    if (!indexValid_)
        return;
    const qsizetype before = index_.size();
    int& place = index_[Key]; // one look-up: a new key gets a new entry
    if (index_.size() == before)
        duplicates_ = true; // the earlier question keeps it
    else
        place = i;
}

int clsSurvey::indexOf(const QString& Key) const
{
    if (!indexValid_)
        rebuildIndex();
    auto it = index_.constFind(Key);
    if (it == index_.constEnd())
        return -1;
    const int i = it.value();
    ++keyReads_;
    if (size_t(i) < questions_.size() && questions_[size_t(i)]->Key == Key)
        return i;
    // The question at that place has another key now: repair the index and look again.
    rebuildIndex();
    it = index_.constFind(Key);
    return it == index_.constEnd() ? -1 : it.value();
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
    indexAppended(q->Key, QCount() - 1);
    return q->Key;
}

QString clsSurvey::AddQ2(QPtr newQ)
{
    // The same object added again changes the key of its earlier place too.
    const int earlier = newQ->Key.isEmpty() ? -1 : indexOf(newQ->Key);
    const bool again = earlier >= 0 && questions_[size_t(earlier)] == newQ;
    newQ->Key = CreateGUIDKey(kKeyStrip);
    questions_.push_back(newQ);
    if (again)
        indexValid_ = false;
    else
        indexAppended(newQ->Key, QCount() - 1);
    return newQ->Key;
}

void clsSurvey::DeleteQ(const QString& Key)
{
    const int i = indexOf(Key);
    if (i < 0)
        return;
    questions_.erase(questions_.begin() + i);
    // Every later question moved up one place.
    indexValid_ = false;
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
    if (a < 0 || b < 0 || a == b)
        return;
    std::swap(questions_[size_t(a)], questions_[size_t(b)]);
    if (duplicates_) {
        indexValid_ = false; // which place comes first for a shared key may have changed
        return;
    }
    index_.insert(questions_[size_t(a)]->Key, a);
    index_.insert(questions_[size_t(b)]->Key, b);
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
    if (i < 0 || !q)
        return;
    // Storing the object that is there already (the usual case) leaves the index as it is.
    const bool same = questions_[size_t(i)] == q && q->Key == Key;
    questions_[size_t(i)] = std::move(q);
    if (!same)
        indexValid_ = false;
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
    index_.clear();
    indexValid_ = true;
    duplicates_ = false;
}
