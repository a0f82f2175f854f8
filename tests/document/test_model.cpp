#include "document/clsSurvey.h"

#include <gtest/gtest.h>
#include <random>

namespace {

QStringList numbers(const clsSurvey& s)
{
    QStringList n;
    for (int i = 1; i <= s.QCount(); ++i)
        n << s.GetQIndex(i)->QuestionNo;
    return n;
}

TEST(SurveyModel, InstructionTextIsNeverNumberedAndSwapRenumbersOnlyOnRequest)
{
    clsSurvey s;
    const QString a = s.AddQ(QString(), QTypeOpenEnded, -1, 2);
    const QString text = s.AddQ(QString(), QTypeText, -1, 2);
    const QString c = s.AddQ(QString(), QTypeRadio, -1, 2);
    EXPECT_EQ(numbers(s), (QStringList { "1", "", "2" }));
    EXPECT_EQ(s.GetQ(a)->OpenEnded_NoOfRows, 1);
    EXPECT_EQ(s.GetQ(a)->DatabaseID, -1);
    EXPECT_EQ(s.GetQ(c)->ResponseMatrixGroupID, 2);

    s.SwapQ(a, c);
    EXPECT_EQ(s.GetQIndex(1)->Key, c);
    EXPECT_EQ(numbers(s), (QStringList { "2", "", "1" }));
    s.ReorderQ_QuestionNos();
    EXPECT_EQ(numbers(s), (QStringList { "1", "", "2" }));

    // A question turned into instruction text keeps its number; renumbering passes it by.
    s.UpdateQuestionType(c, QTypeText);
    EXPECT_EQ(s.GetQuestionNoFromKey(c), QStringLiteral("1"));
    s.ReorderQ_QuestionNos();
    EXPECT_EQ(numbers(s), (QStringList { "1", "", "1" }));
    EXPECT_EQ(s.GetQIndexFromKey(text), 2);
}

TEST(SurveyModel, LookUpsAnswerSentinelsForUnknownKeys)
{
    clsSurvey s;
    const QString a = s.AddQ(QStringLiteral("x"), QTypeCheck, 12, 2);
    EXPECT_EQ(s.GetQ(QStringLiteral("nope")), nullptr);
    EXPECT_EQ(s.GetQIndexFromKey(QStringLiteral("nope")), -1);
    EXPECT_EQ(s.GetQuestionNoFromKey(QStringLiteral("nope")), QString());
    EXPECT_EQ(s.GetQuestionTypeFromKey(QStringLiteral("nope")), QTypeText);
    EXPECT_EQ(s.GetKeyFromDatabaseID(99), QString());
    EXPECT_EQ(s.GetKeyFromDatabaseID(12), a);
    EXPECT_EQ(s.GetQ(a.toLower()), nullptr); // keys compare exactly
    EXPECT_EQ(s.GetQIndex(0), nullptr);
    EXPECT_EQ(s.GetQIndex(2), nullptr);

    s.DeleteQ(QStringLiteral("nope"));
    s.SwapQ(a, QStringLiteral("nope"));
    EXPECT_EQ(s.QCount(), 1);
    s.DeleteQ(a);
    EXPECT_EQ(s.QCount(), 0);
}

TEST(SurveyModel, ObjectsAreSharedAndAddQ2GivesAFreshKey)
{
    clsSurvey s;
    auto q = std::make_shared<clsQ>();
    q->Key = QStringLiteral("OLD");
    q->QuestionNo = QStringLiteral("7");
    const QString key = s.AddQ2(q);
    EXPECT_NE(key, QStringLiteral("OLD"));
    EXPECT_EQ(q->QuestionNo, QStringLiteral("7"));
    EXPECT_EQ(q->OpenEnded_NoOfRows, 0); // as a question read from a file
    s.GetQ(key)->Question = QStringLiteral("changed");
    EXPECT_EQ(q->Question, QStringLiteral("changed"));

    const QString other = s.AddQ2(std::make_shared<clsQ>());
    EXPECT_NE(other, key);
}

TEST(QuestionResponses, RemoveAndUpdateKeepPositionsOneBased)
{
    clsQ q;
    q.AddResponse(QStringLiteral("A"), -1, -1, QString());
    q.AddResponse(QStringLiteral("B"), 5, 3, QStringLiteral("K"));
    q.AddResponse(QStringLiteral("C"), -1, -1, QString());
    EXPECT_EQ(q.GetResponse(2)->LogicJumpToQuestionKey, QStringLiteral("K"));
    EXPECT_EQ(q.GetResponse(2)->DatabaseID, 5);

    const ResponsePtr b = q.GetResponse(2);
    const ResponsePtr c = q.GetResponse(3);
    q.UpdateResponse(2, c);
    q.UpdateResponse(3, b);
    EXPECT_EQ(q.GetResponse(3)->Text, QStringLiteral("B"));
    EXPECT_EQ(q.GetResponse(3)->LogicJumpToQuestionKey, QStringLiteral("K"));

    q.RemoveResponse(0);
    q.RemoveResponse(4);
    EXPECT_EQ(q.ResponsesCount(), 3);
    q.RemoveResponse(1);
    EXPECT_EQ(q.GetResponse(1)->Text, QStringLiteral("C"));
    q.RemoveResponse(1);
    q.RemoveResponse(1);
    EXPECT_EQ(q.ResponsesCount(), 0);
    EXPECT_EQ(q.GetResponse(1), nullptr);

    q.CreateResponsesFromListBox({ QStringLiteral("x"), QStringLiteral("y") });
    EXPECT_EQ(q.ResponsesCount(), 2);
    EXPECT_EQ(q.GetResponse(2)->DatabaseID, -1);
    q.ClearAllResponses();
    EXPECT_EQ(q.ResponsesCount(), 0);
}

// The look-ups done the plain way: linear, first match wins.
int linearIndex(const clsSurvey& s, const QString& key)
{
    for (int i = 1; i <= s.QCount(); ++i) {
        if (s.GetQIndex(i)->Key == key)
            return i;
    }
    return -1;
}

TEST(SurveyModel, KeyLookUpsStayRightThroughAddsDeletesSwapsAndSetQ)
{
    clsSurvey s;
    std::mt19937 random(11);
    QStringList keys; // every key ever handed out, also of deleted questions
    for (int step = 0; step < 3000; ++step) {
        const int op = int(random() % 10);
        const QString someKey = keys.isEmpty() ? QString() : keys.at(int(random() % keys.size()));
        if (op < 4 || s.QCount() < 2) {
            keys << s.AddQ(QString(), qint32(random() % 5), -1, 2);
        } else if (op == 4) {
            keys << s.AddQ2(std::make_shared<clsQ>());
        } else if (op == 5) {
            s.DeleteQ(someKey);
        } else if (op == 6 || op == 7) {
            s.SwapQ(someKey, keys.at(int(random() % keys.size())));
        } else if (op == 8) {
            // Another object in the place of a question, under the question's own key.
            if (const QPtr old = s.GetQ(someKey)) {
                auto copy = std::make_shared<clsQ>(*old);
                s.SetQ(someKey, copy);
            }
        } else if (random() % 4 == 0) {
            // The same object added again: its key changes at both places.
            if (const QPtr q = s.GetQ(someKey))
                keys << s.AddQ2(q);
        } else {
            if (const QPtr q = s.GetQ(someKey))
                s.SetQ(someKey, q);
        }
        if (step % 100 == 0 || step > 2980) {
            for (const QString& key : keys) {
                const int expected = linearIndex(s, key);
                ASSERT_EQ(s.GetQIndexFromKey(key), expected) << "step " << step;
                ASSERT_EQ(s.GetQ(key), expected < 0 ? nullptr : s.GetQIndex(expected));
            }
        }
    }
    s.ClearAll();
    for (const QString& key : keys)
        EXPECT_EQ(s.GetQ(key), nullptr);
    const QString fresh = s.AddQ(QString(), QTypeCheck, -1, 2);
    EXPECT_EQ(s.GetQIndexFromKey(fresh), 1);
}

TEST(SurveyModel, AnObjectAddedTwiceIsFoundAtItsFirstPlace)
{
    clsSurvey s;
    const QString a = s.AddQ(QStringLiteral("a"), QTypeCheck, 1, 2);
    const QPtr q = s.GetQ(a);
    s.AddQ(QStringLiteral("b"), QTypeCheck, 2, 2);
    const QString again = s.AddQ2(q); // both places now hold q, with its new key
    EXPECT_EQ(s.QCount(), 3);
    EXPECT_EQ(s.GetQ(a), nullptr);
    EXPECT_EQ(s.GetQIndexFromKey(again), 1);
    // Swapping the first and the last leaves q in front; the one in the middle is unmoved.
    const QString b = s.GetQIndex(2)->Key;
    s.SwapQ(again, b);
    EXPECT_EQ(s.GetQIndexFromKey(b), 1);
    EXPECT_EQ(s.GetQIndexFromKey(again), 2);
    s.DeleteQ(again);
    EXPECT_EQ(s.GetQIndexFromKey(again), 2); // the other place of q
    EXPECT_EQ(s.QCount(), 2);

    // SetQ with an object under another key: found by the object's key, the old one is gone.
    auto other = std::make_shared<clsQ>();
    other->Key = QStringLiteral("OTHER");
    s.SetQ(b, other);
    EXPECT_EQ(s.GetQ(b), nullptr);
    EXPECT_EQ(s.GetQIndexFromKey(QStringLiteral("OTHER")), 1);

    // A copy of the survey looks up on its own.
    clsSurvey copy = s;
    copy.DeleteQ(QStringLiteral("OTHER"));
    EXPECT_EQ(copy.GetQIndexFromKey(again), 1);
    EXPECT_EQ(s.GetQIndexFromKey(again), 2);
}

TEST(SurveyModel, LargeSurveysLookUpInConstantTime)
{
    constexpr int n = 20000;
    clsSurvey s;
    QStringList keys;
    for (int i = 0; i < n; ++i)
        keys << s.AddQ2(std::make_shared<clsQ>());
    // Each look-up reads the one question the index names; a search through the list would read
    // half the survey each time (100 million reads here).
    qint64 before = s.keyReads();
    for (int i = 0; i < n; ++i)
        ASSERT_EQ(s.GetQIndexFromKey(keys.at(i)), i + 1);
    EXPECT_EQ(s.keyReads() - before, n);

    s.SwapQ(keys.first(), keys.last());
    before = s.keyReads();
    EXPECT_EQ(s.GetQIndexFromKey(keys.first()), n);
    EXPECT_EQ(s.GetQIndexFromKey(keys.last()), 1);
    EXPECT_EQ(s.keyReads() - before, 2);

    // A delete moves every later question: the index is built again once, then each look-up
    // reads one question again.
    s.DeleteQ(keys.at(n / 2));
    before = s.keyReads();
    for (int i = 0; i < n; ++i)
        ASSERT_EQ(s.GetQ(keys.at(i)) == nullptr, i == n / 2);
    EXPECT_GE(s.keyReads() - before, 2 * (n - 1));
    EXPECT_LE(s.keyReads() - before, 2 * n);
}

} // namespace
