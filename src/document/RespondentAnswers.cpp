#include "document/RespondentAnswers.h"

#include "document/SurveyFile.h"
#include "document/clsQ.h"
#include "platform/Database.h"
#include "platform/TextUtil.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace RespondentAnswers {

namespace {

// Respondents whose example answers one statement reads; the last statement of a list fills the
// ids it has no respondent for with Null, which matches no row.
constexpr qsizetype kIdsPerRead = 256;

QList<Choice> choicesOf(
    db::Connection& connection, const QString& sql, const QVariantList& params, bool withJumps = false)
{
    QList<Choice> choices;
    db::Recordset rs = connection.openRecordset(sql, params);
    for (; !rs.atEnd(); rs.moveNext())
        choices.append(
            { rs.field(0).toInt(), NullToEmpty(rs.field(1)), withJumps && !rs.isNull(2) ? rs.field(2).toInt() : -1 });
    return choices;
}

// The page's responses (or matrix rows), and a matrix question's columns.
void readChoices(db::Connection& connection, Page& page)
{
    if (page.type == QTypeCheck || page.type == QTypeRadio) {
        page.responses = choicesOf(connection,
            QStringLiteral("SELECT id, name, logicjumptoquestionid FROM response WHERE questionid = ? ORDER BY pos"),
            { page.questionId }, page.type == QTypeRadio);
        return;
    }
    if (page.type != QTypeMatrix)
        return;
    int scale = -1;
    db::Recordset rs = connection.openRecordset(
        QStringLiteral("SELECT id, name, responsematrixgroupid FROM response WHERE questionid = ? ORDER BY pos"),
        { page.questionId });
    if (!rs.atEnd())
        scale = rs.field(2).toInt();
    for (; !rs.atEnd(); rs.moveNext())
        page.responses.append({ rs.field(0).toInt(), NullToEmpty(rs.field(1)) });
    rs = db::Recordset();
    if (!page.responses.isEmpty())
        page.columns = choicesOf(connection,
            QStringLiteral("SELECT id, name FROM responsematrix WHERE responsematrixgroupid = ? ORDER BY pos"),
            { scale });
}

// The respondent's stored rows of the page's question, as the page shows them.
void readStored(db::Connection& connection, qint32 respondent, Page& page)
{
    if (page.type < QTypeOpenEnded || page.type > QTypeMatrix)
        return;
    bool first = true;
    QSet<int> responses;
    QHash<int, int> cells; // matrix row's response id -> column id, of its first stored row
    db::Recordset rs = connection.openRecordset(
        QStringLiteral("SELECT ResponseID, SimpleResponse, ResponseMatrixID FROM Respondent_Responses "
                       "WHERE questionid = ? AND respondentid = ? ORDER BY id"),
        { page.questionId, respondent });
    for (; !rs.atEnd(); rs.moveNext()) {
        const int response = rs.field(0).toInt();
        if (first)
            page.stored.text = NullToEmpty(rs.field(1));
        first = false;
        responses.insert(response);
        if (!cells.contains(response))
            cells.insert(response, rs.field(2).toInt());
    }
    page.anyStored = !first;

    Answers& shown = page.stored;
    if (page.type == QTypeCheck || page.type == QTypeRadio) {
        shown.chosen.fill(false, page.responses.size());
        for (qsizetype i = 0; i < page.responses.size(); ++i) {
            if (!responses.contains(page.responses.at(i).id))
                continue;
            // One option of a radio question is chosen: the last stored one.
            if (page.type == QTypeRadio)
                shown.chosen.fill(false);
            shown.chosen[i] = true;
        }
    } else if (page.type == QTypeMatrix) {
        shown.cells.fill(-1, page.responses.size());
        for (qsizetype r = 0; r < page.responses.size(); ++r) {
            const auto column = cells.constFind(page.responses.at(r).id);
            if (column == cells.cend())
                continue;
            for (qsizetype c = 0; c < page.columns.size(); ++c) {
                if (page.columns.at(c).id == *column)
                    shown.cells[r] = int(c);
            }
        }
    }
}

} // namespace

std::optional<Page> readPage(db::Connection& connection, qint32 respondent, int pos)
{
    db::Recordset rs = connection.openRecordset(
        QStringLiteral("SELECT id, question, questionno, qtype FROM question WHERE pos = ?"), { pos });
    if (rs.atEnd())
        return std::nullopt;
    Page page;
    page.pos = pos;
    page.questionId = rs.field(0).toInt();
    page.question = NullToEmpty(rs.field(1));
    page.number = NullToEmpty(rs.field(2));
    page.type = rs.field(3).toInt();
    rs = db::Recordset();
    readChoices(connection, page);
    readStored(connection, respondent, page);
    return page;
}

QList<AnswerRow> rowsOf(const Page& page, const Answers& answers)
{
    QList<AnswerRow> rows;
    switch (page.type) {
    case QTypeOpenEnded:
        rows.append({ 1, answers.text });
        break;
    case QTypeCheck:
    case QTypeRadio:
        for (qsizetype i = 0; i < page.responses.size(); ++i) {
            if (answers.chosen.value(i))
                rows.append({ page.responses.at(i).id, QString() });
        }
        break;
    case QTypeMatrix:
        for (qsizetype c = 0; c < page.columns.size(); ++c) {
            for (qsizetype r = 0; r < page.responses.size(); ++r) {
                if (answers.cells.value(r, -1) == c)
                    rows.append({ page.responses.at(r).id, QString(), page.columns.at(c).id });
            }
        }
        break;
    default:
        break;
    }
    return rows;
}

int jumpOf(const Page& page, const Answers& answers)
{
    int jump = -1;
    if (page.type != QTypeRadio)
        return jump;
    for (qsizetype i = 0; i < page.responses.size(); ++i) {
        if (answers.chosen.value(i) && page.responses.at(i).jump != -1)
            jump = page.responses.at(i).jump;
    }
    return jump;
}

StoreResult storePage(db::Connection& connection, qint32 respondent, int pos, const Page& page, const Answers& answers)
{
    db::Recordset rs = connection.openRecordset(QStringLiteral("SELECT ID FROM question WHERE pos = ?"), { pos });
    if (rs.atEnd())
        return StoreResult::NoQuestion;
    const int questionId = rs.field(0).toInt();
    rs = db::Recordset();

    const QList<AnswerRow> rows = rowsOf(page, answers);
    // A page left as it was shown keeps its stored rows as they are; only a page shown with
    // answers no row holds yet (an open answer never stored) stores them.
    if (rows == rowsOf(page, page.stored) && (page.anyStored || rows.isEmpty()))
        return StoreResult::Unchanged;

    db::Transaction transaction(connection);
    connection.execute(QStringLiteral("DELETE FROM Respondent_Responses WHERE RespondentID = ? AND questionid = ?"),
        { respondent, questionId });
    const QString insert = QStringLiteral(
        "INSERT INTO Respondent_Responses (QuestionID, RespondentID, ResponseID, SimpleResponse) VALUES (?, ?, ?, ?)");
    const QString insertCell
        = QStringLiteral("INSERT INTO Respondent_Responses (QuestionID, RespondentID, ResponseID, SimpleResponse, "
                         "ResponseMatrixID) VALUES (?, ?, ?, ?, ?)");
    for (const AnswerRow& row : rows) {
        if (row.columnId < 0)
            connection.execute(insert, { questionId, respondent, row.responseId, row.text });
        else
            connection.execute(insertCell, { questionId, respondent, row.responseId, row.text, row.columnId });
    }
    transaction.commit();
    return StoreResult::Stored;
}

std::optional<int> positionOf(db::Connection& connection, int questionId)
{
    db::Recordset rs
        = connection.openRecordset(QStringLiteral("SELECT pos FROM question WHERE id = ?"), { questionId });
    if (rs.atEnd())
        return std::nullopt;
    return rs.field(0).toInt();
}

// The respondent list

QList<ExampleQuestion> readExampleQuestions(db::Connection& connection)
{
    QList<ExampleQuestion> questions;
    db::Recordset rs = connection.openRecordset(
        QStringLiteral("SELECT id, question, questionno FROM question WHERE qtype = 0 ORDER BY pos"));
    for (; !rs.atEnd(); rs.moveNext())
        questions.append({ rs.field(0).toInt(), NullToEmpty(rs.field(2)), NullToEmpty(rs.field(1)) });
    return questions;
}

QStringList readExampleAnswers(db::Connection& connection, int questionId, std::span<const qint32> ids)
{
    if (ids.empty())
        return {};
    QString sql = QStringLiteral("SELECT RespondentID, SimpleResponse FROM Respondent_Responses "
                                 "WHERE QuestionID = ? AND RespondentID IN (?");
    sql += QStringLiteral(", ?").repeated(kIdsPerRead - 1);
    sql += QStringLiteral(") ORDER BY RespondentID, id");
    db::Statement read(connection, sql);

    QStringList answers;
    answers.reserve(qsizetype(ids.size()));
    QVariantList params;
    QHash<qint32, QString> found;
    for (size_t from = 0; from < ids.size(); from += kIdsPerRead) {
        const std::span<const qint32> part = ids.subspan(from, std::min<size_t>(kIdsPerRead, ids.size() - from));
        params.clear();
        params.append(questionId);
        for (const qint32 id : part)
            params.append(id);
        while (params.size() <= kIdsPerRead)
            params.append(QVariant());
        found.clear();
        db::Recordset rs = read.query(params);
        for (; !rs.atEnd(); rs.moveNext())
            if (!found.contains(rs.field(0).toInt()))
                found.insert(rs.field(0).toInt(), NullToEmpty(rs.field(1)));
        rs = db::Recordset();
        for (const qint32 id : part)
            answers.append(found.value(id));
    }
    return answers;
}

qint32 addRespondent(db::Connection& connection)
{
    db::Transaction adding(connection);
    const qint32 id = SurveyFile::newId(connection.appendRow(QStringLiteral("respondent"),
                                            { { QStringLiteral("Source"), QStringLiteral("Manual Entry") } }),
        QStringLiteral("respondent"));
    adding.commit();
    return id;
}

bool hasRespondents(db::Connection& connection)
{
    return !connection.openRecordset(QStringLiteral("SELECT 1 FROM respondent LIMIT 1")).atEnd();
}

void deleteRespondent(db::Connection& connection, qint32 id)
{
    db::Transaction transaction(connection);
    connection.execute(QStringLiteral("DELETE FROM respondent_responses WHERE respondentid = ?"), { id });
    connection.execute(QStringLiteral("DELETE FROM respondent WHERE id = ?"), { id });
    transaction.commit();
}

} // namespace RespondentAnswers
