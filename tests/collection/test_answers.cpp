// The respondents' answers without a window: a page of each question type stored and read back, a
// page left as shown writing nothing, stores and deletes that fail whole, and the respondent
// list's rows with their example answers.
#include "SurveyFixture.h"
#include "document/RespondentAnswers.h"
#include "document/RespondentList.h"
#include "document/clsQ.h"
#include "platform/Rtf.h"

#include <QVariant>

#include <algorithm>
#include <gtest/gtest.h>
#include <ostream>

using namespace collectiontest;
using namespace RespondentAnswers;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '{' << list.join(QLatin1String(", ")).toStdString() << '}';
}
QT_END_NAMESPACE

namespace RespondentAnswers {
inline void PrintTo(const Answers& a, std::ostream* os)
{
    *os << "{text \"" << a.text.toStdString() << "\", chosen";
    for (const bool chosen : a.chosen)
        *os << ' ' << chosen;
    *os << ", cells";
    for (const int cell : a.cells)
        *os << ' ' << cell;
    *os << '}';
}
} // namespace RespondentAnswers

namespace {

// Answers of the three shapes.
Answers typed(const QString& text)
{
    Answers answers;
    answers.text = text;
    return answers;
}

Answers ticked(const QList<bool>& chosen)
{
    Answers answers;
    answers.chosen = chosen;
    return answers;
}

Answers cellsOf(const QList<int>& cells)
{
    Answers answers;
    answers.cells = cells;
    return answers;
}

class AnswersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SurveyFile::openConnection(c, makeSurvey(folder, QStringLiteral("s.tvq"), kSurvey));
        respondent = addRespondent(c);
    }

    Page page(int pos)
    {
        std::optional<Page> read = readPage(c, respondent, pos);
        if (!read)
            ADD_FAILURE() << "no page at " << pos;
        return read.value_or(Page());
    }

    StoreResult store(int pos, const Answers& answers) { return storePage(c, respondent, pos, page(pos), answers); }

    // The respondent's rows of the question at a position, in the order stored: ResponseID,
    // SimpleResponse, ResponseMatrixID; with their ids when asked, which a row written again changes.
    QStringList rowsAt(int pos, bool withIds = false)
    {
        return rows(c,
            QStringLiteral("SELECT %1ResponseID, SimpleResponse, ResponseMatrixID FROM Respondent_Responses "
                           "WHERE RespondentID = ? AND QuestionID = ? ORDER BY id")
                .arg(withIds ? QStringLiteral("id, ") : QString()),
            { respondent, questionId(c, pos) });
    }

    void insertRow(int pos, int response, const QVariant& text = QString(), const QVariant& column = QVariant())
    {
        c.execute(QStringLiteral("INSERT INTO Respondent_Responses (QuestionID, RespondentID, ResponseID, "
                                 "SimpleResponse, ResponseMatrixID) VALUES (?, ?, ?, ?, ?)"),
            { questionId(c, pos), respondent, response, text, column });
    }

    ProgramFolder folder;
    db::Connection c;
    qint32 respondent = 0;
};

TEST_F(AnswersTest, EachTypeOfPageIsStoredAndReadBack)
{
    const QString b = QString::number(responseId(c, 2, 2));
    const QString d = QString::number(responseId(c, 2, 4));
    const QString fish = QString::number(responseId(c, 3, 3));
    const QString food = QString::number(responseId(c, 5, 1));
    const QString room = QString::number(responseId(c, 5, 2));
    struct Case {
        int pos;
        Answers answers;
        QStringList rows;
    };
    // Matrix cells are stored column by column: Room's first column before Food's third.
    const QList<Case> cases = {
        { 1, typed(QStringLiteral("Ann\r\nLee")), { "1|Ann\r\nLee|NULL" } },
        { 2, ticked({ false, true, false, true }), { b + "||NULL", d + "||NULL" } },
        { 3, ticked({ false, false, true }), { fish + "||NULL" } },
        { 4, typed(QString()), { "1||NULL" } },
        { 5, cellsOf({ 2, 0 }),
            { room + "||" + QString::number(columnId(c, 1)), food + "||" + QString::number(columnId(c, 3)) } },
        { 6, {}, {} },
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.pos);
        EXPECT_FALSE(page(each.pos).anyStored);
        EXPECT_EQ(store(each.pos, each.answers), each.rows.isEmpty() ? StoreResult::Unchanged : StoreResult::Stored);
        EXPECT_EQ(rowsAt(each.pos), each.rows);
        const Page again = page(each.pos);
        EXPECT_EQ(again.anyStored, !each.rows.isEmpty());
        EXPECT_EQ(again.stored, each.answers);
    }

    // What the pages show of their questions.
    const Page check = page(2);
    EXPECT_EQ(check.number, QStringLiteral("2"));
    EXPECT_EQ(rtf::toPlainText(check.question), QStringLiteral("Fruit?"));
    ASSERT_EQ(check.responses.size(), 4);
    EXPECT_EQ(check.responses.at(3).name, QStringLiteral("D"));
    EXPECT_EQ(check.responses.at(3).id, d.toInt());
    const Page matrix = page(5);
    ASSERT_EQ(matrix.responses.size(), 2);
    EXPECT_EQ(matrix.responses.at(1).name, QStringLiteral("Room"));
    ASSERT_EQ(matrix.columns.size(), 5);
    EXPECT_EQ(matrix.columns.at(4).id, columnId(c, 5));
    EXPECT_EQ(page(6).type, QTypeText);
    EXPECT_FALSE(readPage(c, respondent, 7).has_value());
}

TEST_F(AnswersTest, APageLeftAsShownWritesNothing)
{
    // A page never stored: an open answer is stored even when empty, the other types store nothing.
    EXPECT_EQ(store(1, page(1).stored), StoreResult::Stored);
    EXPECT_EQ(rowsAt(1), QStringList { "1||NULL" });
    for (const int pos : { 2, 3, 5, 6 }) {
        SCOPED_TRACE(pos);
        EXPECT_EQ(store(pos, page(pos).stored), StoreResult::Unchanged);
        EXPECT_TRUE(rowsAt(pos).isEmpty());
    }

    const QList<std::pair<int, Answers>> answered = {
        { 1, typed(QStringLiteral("Ann")) },
        { 2, ticked({ true, false, false, true }) },
        { 3, ticked({ false, true, false }) },
        { 5, cellsOf({ 4, 1 }) },
    };
    for (const auto& [pos, answers] : answered)
        ASSERT_EQ(store(pos, answers), StoreResult::Stored);
    for (const auto& [pos, answers] : answered) {
        SCOPED_TRACE(pos);
        const QStringList before = rowsAt(pos, true);
        EXPECT_EQ(store(pos, page(pos).stored), StoreResult::Unchanged);
        EXPECT_EQ(rowsAt(pos, true), before);
        // Changed, the page is written again.
        Answers changed = answers;
        if (pos == 1)
            changed.text += QLatin1Char('!');
        else if (pos == 2)
            changed.chosen[0] = false;
        else if (pos == 3)
            changed.chosen = { true, false, false };
        else
            changed.cells[0] = 0;
        EXPECT_EQ(store(pos, changed), StoreResult::Stored);
        EXPECT_NE(rowsAt(pos, true), before);
        EXPECT_EQ(page(pos).stored, changed);
    }
}

TEST_F(AnswersTest, StoredRowsAreShownAsThePageCanShowThemAndKeptUntilChanged)
{
    const int cat = responseId(c, 3, 1);
    const int fish = responseId(c, 3, 3);
    const int food = responseId(c, 5, 1);
    const int room = responseId(c, 5, 2);
    // Two options of a radio question; a check row naming a response of another question; a
    // matrix row stored twice, and one stored with a column of no scale of the page.
    insertRow(3, fish);
    insertRow(3, cat);
    insertRow(2, cat);
    insertRow(5, food, QString(), columnId(c, 2));
    insertRow(5, food, QString(), columnId(c, 4));
    insertRow(5, room, QString(), 999);
    insertRow(1, 1, QVariant());
    insertRow(1, 1, QStringLiteral("second"));

    const QList<std::pair<int, Answers>> shown = {
        { 1, typed(QString()) }, // the first row, its Null as ""
        { 2, ticked({ false, false, false, false }) },
        { 3, ticked({ false, false, true }) }, // the last stored option in response order
        { 5, cellsOf({ 1, -1 }) }, // the first stored row of a matrix row
    };
    for (const auto& [pos, answers] : shown) {
        SCOPED_TRACE(pos);
        const Page p = page(pos);
        EXPECT_TRUE(p.anyStored);
        EXPECT_EQ(p.stored, answers);
        const QStringList before = rowsAt(pos, true);
        EXPECT_EQ(store(pos, p.stored), StoreResult::Unchanged);
        EXPECT_EQ(rowsAt(pos, true), before);
    }

    // Changed, the page's rows replace every row stored for its question.
    EXPECT_EQ(store(5, cellsOf({ 1, 1 })), StoreResult::Stored);
    EXPECT_EQ(rowsAt(5),
        (QStringList { QString::number(food) + "||" + QString::number(columnId(c, 2)),
            QString::number(room) + "||" + QString::number(columnId(c, 2)) }));
}

TEST_F(AnswersTest, AStoreThatFailsOrFindsNoQuestionKeepsTheStoredRows)
{
    ASSERT_EQ(store(2, ticked({ true, true, false, false })), StoreResult::Stored);
    const QStringList before = rowsAt(2, true);
    c.execute(QStringLiteral("CREATE TRIGGER full BEFORE INSERT ON Respondent_Responses "
                             "WHEN NEW.ResponseID = ? BEGIN SELECT RAISE(ABORT, 'disk full'); END")
                  .replace(QLatin1Char('?'), QString::number(responseId(c, 2, 4))));
    EXPECT_THROW(store(2, ticked({ true, false, false, true })), db::Error);
    EXPECT_EQ(rowsAt(2, true), before);
    EXPECT_FALSE(c.inTransaction());

    // The page of a position that no longer holds a question stores nothing.
    const Page shown = page(2);
    EXPECT_EQ(storePage(c, respondent, 9, shown, ticked({ false, true, false, false })), StoreResult::NoQuestion);
    EXPECT_EQ(rowsAt(2, true), before);
}

TEST_F(AnswersTest, TheChosenRadioOptionLeadsToItsJump)
{
    const Page radio = page(3);
    EXPECT_EQ(jumpOf(radio, ticked({ false, true, false })), questionId(c, 5));
    EXPECT_EQ(jumpOf(radio, ticked({ true, false, false })), -1);
    EXPECT_EQ(jumpOf(radio, {}), -1);
    // Only a radio answer jumps.
    EXPECT_EQ(jumpOf(page(2), ticked({ true, true, true, true })), -1);
    EXPECT_EQ(positionOf(c, questionId(c, 5)), std::optional<int>(5));
    EXPECT_EQ(positionOf(c, 9999), std::nullopt);
}

TEST_F(AnswersTest, RespondentsAreAddedAndDeletedWholeOrNotAtAll)
{
    EXPECT_EQ(
        rows(c, QStringLiteral("SELECT source, submitteddate <> '' FROM respondent WHERE id = ?"), { respondent }),
        QStringList { "Manual Entry|1" });
    const qint32 other = addRespondent(c);
    EXPECT_GT(other, respondent);
    store(1, typed(QStringLiteral("mine")));
    store(2, ticked({ true, false, false, false }));
    storePage(c, other, 1, *readPage(c, other, 1), typed(QStringLiteral("other's")));

    // A delete that fails keeps the answers as well as the respondent.
    c.execute(
        QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON respondent BEGIN SELECT RAISE(ABORT, 'locked'); END"));
    EXPECT_THROW(deleteRespondent(c, respondent), db::Error);
    EXPECT_EQ(answers(c, respondent).size(), 2);
    c.execute(QStringLiteral("DROP TRIGGER keep"));

    deleteRespondent(c, respondent);
    EXPECT_TRUE(answers(c, respondent).isEmpty());
    EXPECT_EQ(number(c, QStringLiteral("SELECT COUNT(*) FROM respondent WHERE id = ?"), { respondent }), 0);
    EXPECT_EQ(answers(c, other), QStringList { "1|1|other's|NULL" });

    // A respondent whose id would not fit is not added.
    c.execute(QStringLiteral("INSERT INTO respondent (id, source) VALUES (2147483647, 'Web')"));
    EXPECT_THROW(addRespondent(c), db::Error);
    EXPECT_EQ(number(c, QStringLiteral("SELECT COUNT(*) FROM respondent")), 2);
}

TEST_F(AnswersTest, TheListIsNewestFirstWithTheFirstAnswerOfEachRow)
{
    deleteRespondent(c, respondent);
    // More respondents than one read of example answers takes, added in no order of their dates,
    // ten in each minute. Of every five: no answer, an empty one, a Null one, two with text.
    struct Expected {
        qint32 id;
        QString submitted;
        QString source;
        QString answer;
    };
    std::vector<Expected> expected;
    const int open = questionId(c, 4);
    {
        db::Transaction adding(c);
        for (int i = 0; i < 600; ++i) {
            const QString submitted = QStringLiteral("2024-01-01 10:%1:00").arg(i * 7 % 60, 2, 10, QLatin1Char('0'));
            const QVariant source = i % 7 == 0 ? QVariant() : QVariant(QStringLiteral("Web"));
            c.execute(
                QStringLiteral("INSERT INTO respondent (submitteddate, source) VALUES (?, ?)"), { submitted, source });
            const qint32 id = qint32(c.lastInsertId());
            const QList<QVariant> stored = { QString(), QVariant(), QStringLiteral("answer %1").arg(i) };
            const QVariant text = i % 5 == 0 ? QStringLiteral("none") : stored.value(i % 5 - 1, stored.last());
            if (i % 5 != 0) {
                // A second row for the question, and an answer to another question, do not count.
                c.execute(QStringLiteral("INSERT INTO Respondent_Responses (QuestionID, RespondentID, ResponseID, "
                                         "SimpleResponse) VALUES (?, ?, 1, ?), (?, ?, 1, 'later'), (?, ?, 1, 'other')"),
                    { open, id, text, open, id, questionId(c, 1), id });
            }
            expected.push_back({ id, submitted, source.toString(), i % 5 == 0 ? QString() : text.toString() });
        }
        adding.commit();
    }
    std::stable_sort(expected.begin(), expected.end(), [](const Expected& a, const Expected& b) {
        return a.submitted != b.submitted ? a.submitted > b.submitted : a.id > b.id;
    });

    List list;
    list.read(c);
    list.setExampleQuestion(open);
    ASSERT_EQ(list.size(), int(expected.size()));
    std::vector<qint32> ids;
    QStringList answers;
    for (int i = 0; i < list.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(list.id(i), expected[size_t(i)].id);
        EXPECT_EQ(list.submitted(i), expected[size_t(i)].submitted);
        EXPECT_EQ(list.source(i), expected[size_t(i)].source);
        EXPECT_EQ(list.exampleAnswer(c, i), expected[size_t(i)].answer);
        ids.push_back(list.id(i));
        answers << expected[size_t(i)].answer;
    }
    EXPECT_EQ(readExampleAnswers(c, open, ids), answers);

    // Those of some rows, in the order asked, a respondent twice and one that is not there.
    const std::vector<qint32> some = { ids[310], ids[2], 999999, ids[310], ids[3] };
    EXPECT_EQ(readExampleAnswers(c, open, some),
        (QStringList { answers[310], answers[2], QString(), answers[310], answers[3] }));
    EXPECT_TRUE(readExampleAnswers(c, open, {}).isEmpty());

    const QList<ExampleQuestion> questions = readExampleQuestions(c);
    ASSERT_EQ(questions.size(), 2);
    EXPECT_EQ(questions.at(1).id, open);
    EXPECT_EQ(questions.at(1).number, QStringLiteral("4"));
    EXPECT_EQ(rtf::toPlainText(questions.at(1).question), QStringLiteral("Why?"));
}

} // namespace

namespace {

class RespondentListTest : public AnswersTest {
protected:
    qint32 addWith(const QVariant& submitted, const QVariant& source, const QVariant& answer = {})
    {
        c.execute(
            QStringLiteral("INSERT INTO respondent (submitteddate, source) VALUES (?, ?)"), { submitted, source });
        const auto id = qint32(c.lastInsertId());
        if (answer.isValid())
            setAnswer(id, answer);
        return id;
    }

    void setAnswer(qint32 id, const QVariant& answer)
    {
        c.execute(QStringLiteral("DELETE FROM Respondent_Responses WHERE RespondentID = ? AND QuestionID = ?"),
            { id, questionId(c, 1) });
        c.execute(QStringLiteral("INSERT INTO Respondent_Responses (QuestionID, RespondentID, ResponseID, "
                                 "SimpleResponse) VALUES (?, ?, 1, ?)"),
            { questionId(c, 1), id, answer });
    }

    // The list as "id|submitted|source" lines, and the file's rows in SQL's order for it.
    QStringList listed() const
    {
        QStringList lines;
        for (int row = 0; row < list.size(); ++row)
            lines << QStringLiteral("%1|%2|%3").arg(list.id(row)).arg(list.submitted(row), list.source(row));
        return lines;
    }
    QStringList inSqlOrder()
    {
        return rows(c,
            QStringLiteral("SELECT id, COALESCE(submitteddate, ''), COALESCE(source, '') FROM respondent "
                           "ORDER BY submitteddate DESC, id DESC"));
    }

    List list;
};

} // namespace

// The rows are put in order in memory: the order is SQL's for dates of every shape, Null last.
TEST_F(RespondentListTest, RowsComeInTheOrderOfTheStoredDatesWhateverTheirShape)
{
    const QList<QVariant> dates = { QStringLiteral("2024-01-05 10:00:00"), QVariant(), QString(),
        QStringLiteral("2024-01-05T10:00:00"), QStringLiteral("2024-1-5"), QStringLiteral("zzz"),
        QStringLiteral("2024-01-05 10:00:00.500"), QStringLiteral("2024-01-05"), QStringLiteral(" 2024-01-05 10:00:00"),
        QStringLiteral("9999-99-99 99:99:99"), QStringLiteral("0000-00-00 00:00:00"),
        QStringLiteral("2024-01-05 10:00:00"), QStringLiteral("2024-01-05 1O:00:00"), QStringLiteral("caf\u00e9"),
        QStringLiteral("\U0001F600"), QStringLiteral("\uFFFD"), QStringLiteral("2023-12-31 23:59:59"), QVariant(),
        QStringLiteral("zzz") };
    const QList<QVariant> sources
        = { QStringLiteral("Manual Entry"), QStringLiteral("Web"), QVariant(), QString(), QStringLiteral("Imported") };
    for (qsizetype i = 0; i < dates.size(); ++i)
        addWith(dates.at(i), sources.at(i % sources.size()));
    list.read(c);
    EXPECT_EQ(listed(), inSqlOrder());
    EXPECT_TRUE(list.matchesFile(c));

    // Respondents added in the order of their dates, as the program adds them, come the same.
    c.execute(QStringLiteral("DELETE FROM respondent"));
    for (int i = 0; i < 50; ++i)
        addWith(QStringLiteral("2024-02-01 10:%1:00").arg(i / 2, 2, 10, QLatin1Char('0')), sources.at(i % 3));
    list.read(c);
    EXPECT_EQ(listed(), inSqlOrder());
}

// Back from answer entry or a delete, one respondent is read again; the others stay as read, and a
// respondent added otherwise (an import) makes the list no longer the file's.
TEST_F(RespondentListTest, OneRespondentIsReadAgainInItsPlace)
{
    deleteRespondent(c, respondent);
    const qint32 old = addWith(QStringLiteral("2020-01-01 00:00:00"), QStringLiteral("Web"), QStringLiteral("was"));
    addWith(QStringLiteral("2999-01-01 00:00:00"), QStringLiteral("Web"));
    const qint32 middle = addWith(QStringLiteral("2022-01-01 00:00:00"), QVariant());
    list.setExampleQuestion(questionId(c, 1));
    list.read(c);
    ASSERT_EQ(list.exampleAnswer(c, 2), QStringLiteral("was"));

    qint32 added = 0;
    struct Step {
        const char* what;
        std::function<qint32()> change;
        int from;
        int to;
    };
    const std::vector<Step> steps = {
        { "added now: after the future one", [&] { return added = addRespondent(c); }, -1, 1 },
        { "answer changed, row kept",
            [&] {
                setAnswer(old, QStringLiteral("is"));
                return old;
            },
            3, 3 },
        { "deleted",
            [&] {
                deleteRespondent(c, middle);
                return middle;
            },
            2, -1 },
        { "the newest id deleted",
            [&] {
                deleteRespondent(c, added);
                return added;
            },
            1, -1 },
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const qint32 id = step.change();
        const List::Moved moved = list.update(c, id);
        EXPECT_EQ(moved.from, step.from);
        EXPECT_EQ(moved.to, step.to);
        EXPECT_EQ(listed(), inSqlOrder());
        EXPECT_TRUE(list.matchesFile(c));
    }
    EXPECT_EQ(list.exampleAnswer(c, list.rowOf(old)), QStringLiteral("is"));

    // A respondent added by an import, or deleted, behind the list's back.
    addWith(QStringLiteral("2021-01-01 00:00:00"), QStringLiteral("Web"));
    EXPECT_FALSE(list.matchesFile(c));
    list.read(c);
    EXPECT_TRUE(list.matchesFile(c));
    c.execute(QStringLiteral("DELETE FROM respondent WHERE id = ?"), { old });
    EXPECT_FALSE(list.matchesFile(c));
}

// Example answers are read when asked for, for the rows asked and a few around them, and kept for
// a bounded number of respondents; another question, or reading the list again, forgets them.
TEST_F(RespondentListTest, ExampleAnswersAreReadForTheRowsAskedForAndKeptBounded)
{
    deleteRespondent(c, respondent);
    constexpr int kRows = 6000;
    {
        db::Transaction adding(c);
        for (int i = 0; i < kRows; ++i)
            addWith(QStringLiteral("2024-01-01 00:00:00"), QStringLiteral("Web"), QStringLiteral("first %1").arg(i));
        adding.commit();
    }
    const auto changeAll = [this](const QString& text) {
        c.execute(QStringLiteral("UPDATE Respondent_Responses SET SimpleResponse = ? || RespondentID"), { text });
    };
    const auto answerAt = [this](int row) { return list.exampleAnswer(c, row).value_or(QStringLiteral("unknown")); };
    const auto was = [this](int row) { return QStringLiteral("first %1").arg(list.id(row) - respondent - 1); };

    list.read(c);
    EXPECT_EQ(list.exampleAnswer(c, 0), QString()) << "no example question";
    list.setExampleQuestion(questionId(c, 1));
    // The rows coming into view are read as they are drawn, and what was read stays.
    list.readExampleAnswers(c, 100, 130);
    changeAll(QStringLiteral("second "));
    for (const int row : { 92, 100, 130, 138 })
        EXPECT_EQ(answerAt(row), was(row)) << row;
    for (const int row : { 91, 139, 3000 })
        EXPECT_EQ(answerAt(row), QStringLiteral("second %1").arg(list.id(row))) << row;

    // Read on down the list, only so many are kept.
    for (int row = 0; row < kRows; ++row)
        answerAt(row);
    changeAll(QStringLiteral("third "));
    EXPECT_EQ(answerAt(kRows - 1), QStringLiteral("second %1").arg(list.id(kRows - 1)));
    EXPECT_EQ(answerAt(0), QStringLiteral("third %1").arg(list.id(0)));

    // Once the file is closed, what was read is still shown; nothing else is.
    c.close();
    EXPECT_EQ(answerAt(0), QStringLiteral("third %1").arg(list.id(0)));
    EXPECT_EQ(answerAt(3000), QStringLiteral("unknown"));
    list.readExampleAnswers(c, 2000, 2010);
}
