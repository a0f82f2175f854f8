#include "document/clsSurvey.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(numbers(s), (QStringList{"1", "", "2"}));
    EXPECT_EQ(s.GetQ(a)->OpenEnded_NoOfRows, 1);
    EXPECT_EQ(s.GetQ(a)->DatabaseID, -1);
    EXPECT_EQ(s.GetQ(c)->ResponseMatrixGroupID, 2);

    s.SwapQ(a, c);
    EXPECT_EQ(s.GetQIndex(1)->Key, c);
    EXPECT_EQ(numbers(s), (QStringList{"2", "", "1"}));
    s.ReorderQ_QuestionNos();
    EXPECT_EQ(numbers(s), (QStringList{"1", "", "2"}));

    // A question turned into instruction text keeps its number; renumbering passes it by.
    s.UpdateQuestionType(c, QTypeText);
    EXPECT_EQ(s.GetQuestionNoFromKey(c), QStringLiteral("1"));
    s.ReorderQ_QuestionNos();
    EXPECT_EQ(numbers(s), (QStringList{"1", "", "1"}));
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
    EXPECT_EQ(s.GetQ(a.toLower()), nullptr);  // keys compare exactly
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
    EXPECT_EQ(q->OpenEnded_NoOfRows, 0);  // as a question read from a file
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

    q.CreateResponsesFromListBox({QStringLiteral("x"), QStringLiteral("y")});
    EXPECT_EQ(q.ResponsesCount(), 2);
    EXPECT_EQ(q.GetResponse(2)->DatabaseID, -1);
    q.ClearAllResponses();
    EXPECT_EQ(q.ResponsesCount(), 0);
}

}  // namespace
