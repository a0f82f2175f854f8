#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <vector>

namespace db {
class Connection;
}

// The respondents of a survey file and their answers, page by page as answer entry shows and
// stores them, and the rows of the respondent list. Every failure is thrown as db::Error.
//
// Answer rows (Respondent_Responses) by question type: an open-ended answer is one row with
// ResponseID 1 and the text; a check or radio answer one row per chosen response; a matrix answer
// one row per answered matrix row with the chosen column in ResponseMatrixID; instruction text
// none.
namespace RespondentAnswers {

// A response of a check or radio question, a row of a matrix question, or a column of its scale.
struct Choice {
    int id = 0;
    QString name;
    // The question a chosen radio response leads to (its question id); -1 for the next question.
    int jump = -1;
};

// The answers of one page, as it shows them or as the user leaves them.
struct Answers {
    // An open-ended question: the answer's text.
    QString text;
    // A check or radio question: one entry per response, true for a ticked box or the chosen option.
    QList<bool> chosen;
    // A matrix question: one entry per row, the index of its chosen column, -1 for none.
    QList<int> cells;

    bool operator==(const Answers&) const = default;
};

// One page of answer entry: a question of the survey file with the respondent's stored answers.
struct Page {
    // The question's position, id and type (qtype).
    int pos = 0;
    int questionId = 0;
    int type = -1;
    // The stored question text (rich text) and number.
    QString question;
    QString number;
    // In pos order: the responses of a check or radio question, the rows of a matrix question.
    QList<Choice> responses;
    // A matrix question: the columns of its answer scale (the scale of its first row), in pos order.
    QList<Choice> columns;
    // Whether any answer row of the respondent is stored for the question.
    bool anyStored = false;
    // The stored answers as the page shows them: the text of the first row; every stored response
    // ticked, of a radio question only the last of them in response order; of each matrix row the
    // column of its first stored row. Stored rows that name nothing of the page show nothing.
    Answers stored;
};

// One answer row as it is stored: the response, the text, and the answer-scale column of a matrix
// answer (-1 for the other types).
struct AnswerRow {
    int responseId = 0;
    QString text;
    int columnId = -1;

    bool operator==(const AnswerRow&) const = default;
};

// The page of the question at position pos, with respondent's stored answers; none when no
// question has that position.
std::optional<Page> readPage(db::Connection& connection, qint32 respondent, int pos);

// The answer rows the answers of a page stand for, in the order they are stored: one open-ended
// row (also when the text is ""); a row per chosen response in response order; the chosen matrix
// cells column by column from the left and, within a column, row by row from the top.
QList<AnswerRow> rowsOf(const Page& page, const Answers& answers);

// The question id that the answers lead to: the jump of the chosen radio option (of the last, when
// several are chosen, that has one); -1 for the next question.
int jumpOf(const Page& page, const Answers& answers);

enum class StoreResult {
    Stored,
    // The answers are those the page was shown with: nothing was written.
    Unchanged,
    // No question has the position: nothing was written.
    NoQuestion,
};

// Replaces the respondent's stored answer rows to the question at position pos (the page's
// question) by the rows the answers stand for, in one transaction: on failure the stored rows stay
// as they were. A page left as it was shown writes nothing, so viewing a respondent changes no row;
// it still stores an open answer that no row holds yet.
StoreResult storePage(db::Connection& connection, qint32 respondent, int pos, const Page& page, const Answers& answers);

// The position of a question; none when the file has no question of that id.
std::optional<int> positionOf(db::Connection& connection, int questionId);

// The respondent list (its rows: RespondentList.h)

// An open-ended question, which the list can show the answers of.
struct ExampleQuestion {
    int id = 0;
    QString number;
    // The stored question text (rich text).
    QString question;
};

// The open-ended questions, in survey order.
QList<ExampleQuestion> readExampleQuestions(db::Connection& connection);

// The answers of the respondents ids to the question, one per id in the same order: the text of
// the respondent's first answer row to it, "" for none (or Null). Costs a look-up per id, so a
// list can read those of the rows it shows.
QStringList readExampleAnswers(db::Connection& connection, int questionId, std::span<const qint32> ids);

// Adds a respondent whose answers are typed in by hand (source "Manual Entry", submitted now) and
// returns its id. One transaction: a respondent whose id would not fit in 1 to 2147483647 is not
// added.
qint32 addRespondent(db::Connection& connection);

// Whether the survey file holds a respondent.
bool hasRespondents(db::Connection& connection);

// Deletes the respondent with all its answer rows, in one transaction: on failure both stay.
void deleteRespondent(db::Connection& connection, qint32 id);

} // namespace RespondentAnswers
