#include "analysis/AnswerWalk.h"

#include "platform/Rtf.h"
#include "platform/TextUtil.h"

#include <algorithm>

// One answer row of the respondent being read.
struct AnswerWalk::Stored {
    int question;  // index into questions_
    qint64 row;    // the answer row's id: the first stored answer wins
    qint64 response;
    QVariant text;
    QVariant column;
};

AnswerWalk::AnswerWalk(db::Connection& connection) : connection_(connection)
{
    {
        db::Recordset rs = connection.OpenRecordset(
            QStringLiteral("SELECT id, question, qtype, questionno FROM question WHERE qtype<>4 ORDER BY pos"));
        for (; !rs.atEnd(); rs.MoveNext()) {
            questionIndex_.insert(rs.field(0).toLongLong(), int(questions_.size()));
            questions_.push_back({rs.field(0).toLongLong(), rs.field(2).toInt(), NullToEmpty(rs.field(3)),
                                  rtf::toPlainText(NullToEmpty(rs.field(1)))});
        }
    }
    choices_.resize(questions_.size());
    {
        db::Recordset rs =
            connection.OpenRecordset(QStringLiteral("SELECT id, questionid, name FROM response ORDER BY questionid, pos"));
        for (; !rs.atEnd(); rs.MoveNext()) {
            const auto it = questionIndex_.constFind(rs.field(1).toLongLong());
            if (it != questionIndex_.constEnd())
                choices_[*it].push_back({rs.field(0).toInt(), NullToEmpty(rs.field(2))});
        }
    }
    {
        db::Recordset rs = connection.OpenRecordset(QStringLiteral("SELECT id, name FROM ResponseMatrix"));
        for (; !rs.atEnd(); rs.MoveNext())
            columns_.insert(rs.field(0).toLongLong(), NullToEmpty(rs.field(1)));
    }
    db::Recordset rs = connection.OpenRecordset(QStringLiteral("SELECT count(*) FROM respondent"));
    respondentCount_ = rs.atEnd() ? 0 : rs.field(0).toLongLong();
}

void AnswerWalk::fill(Respondent& respondent, std::vector<Stored>& stored) const
{
    std::sort(stored.begin(), stored.end(), [](const Stored& a, const Stored& b) {
        return a.question != b.question ? a.question < b.question : a.row < b.row;
    });
    respondent.answers.assign(questions_.size(), Answer{});
    auto next = stored.cbegin();
    for (size_t q = 0; q < questions_.size(); ++q) {
        const auto from = next;
        while (next != stored.cend() && next->question == int(q))
            ++next;
        const auto to = next;
        Answer& answer = respondent.answers[q];
        const std::vector<Choice>& choices = choices_[q];

        switch (questions_[q].type) {
        case 0:
            if (from != to)
                answer.text = NullToEmpty(from->text);
            break;
        case 3:
            for (const Choice& row : choices) {
                MatrixLine line{row.name, std::nullopt};
                const auto first = std::find_if(from, to, [&](const Stored& s) { return s.response == row.id; });
                if (first != to && !first->column.isNull()) {
                    const auto column = columns_.constFind(first->column.toLongLong());
                    if (column != columns_.constEnd())
                        line.column = *column;
                }
                answer.matrix.append(line);
            }
            break;
        default:
            // Every stored choice of one of the question's own responses, in response order.
            for (const Choice& choice : choices) {
                for (auto s = from; s != to; ++s) {
                    if (s->response == choice.id)
                        answer.chosen.append(choice.name);
                }
            }
            break;
        }
    }
    stored.clear();
}

bool AnswerWalk::run(const std::function<void(const Respondent&)>& each, const Progress& progress)
{
    // Respondents in date order through their index, each one's answer rows through the
    // respondent index: one pass, no sort of the answer rows.
    db::Recordset rs = connection_.OpenRecordset(QStringLiteral(
        "SELECT respondent.id, respondent.submitteddate, respondent.source, a.id, a.QuestionID, a.ResponseID, "
        "a.SimpleResponse, a.ResponseMatrixID FROM respondent "
        "LEFT JOIN Respondent_Responses AS a ON a.RespondentID = respondent.id "
        "ORDER BY respondent.submitteddate, respondent.id"));

    Respondent current;
    std::vector<Stored> stored;
    bool open = false;
    qint64 done = 0;
    for (; !rs.atEnd(); rs.MoveNext()) {
        const qint64 id = rs.field(0).toLongLong();
        if (!open || id != current.id) {
            if (open) {
                fill(current, stored);
                each(current);
                if (progress && !progress(++done, respondentCount_))
                    return false;
            }
            current.id = id;
            current.submitted = rs.field(1);
            current.source = NullToEmpty(rs.field(2));
            open = true;
        }
        if (rs.isNull(3))
            continue;  // a respondent without answers
        const auto question = questionIndex_.constFind(rs.field(4).toLongLong());
        if (question == questionIndex_.constEnd())
            continue;  // an answer to instruction text or to a question no longer in the survey
        stored.push_back({*question, rs.field(3).toLongLong(), rs.field(5).toLongLong(),
                          questions_[*question].type == 0 ? rs.field(6) : QVariant(), rs.field(7)});
    }
    if (open) {
        fill(current, stored);
        each(current);
        if (progress && !progress(++done, respondentCount_))
            return false;
    }
    return true;
}
