#include "document/AnswerWalk.h"

#include "platform/Rtf.h"
#include "platform/TextUtil.h"

#include <algorithm>

AnswerWalk::AnswerWalk(db::Connection& connection)
    : connection_(connection)
{
    {
        db::Recordset rs = connection.openRecordset(
            QStringLiteral("SELECT id, question, qtype, questionno FROM question WHERE qtype<>4 ORDER BY pos"));
        for (; !rs.atEnd(); rs.moveNext()) {
            questionIndex_.insert(rs.field(0).toLongLong(), int(questions_.size()));
            questions_.push_back({ rs.field(0).toLongLong(), rs.field(2).toInt(), NullToEmpty(rs.field(3)),
                rtf::toPlainText(NullToEmpty(rs.field(1))), {} });
        }
    }
    choiceIds_.resize(questions_.size());
    {
        db::Recordset rs = connection.openRecordset(
            QStringLiteral("SELECT id, questionid, name FROM response ORDER BY questionid, pos"));
        for (; !rs.atEnd(); rs.moveNext()) {
            const auto it = questionIndex_.constFind(rs.field(1).toLongLong());
            if (it == questionIndex_.constEnd())
                continue;
            choiceIds_[size_t(*it)].push_back(rs.field(0).toLongLong());
            questions_[size_t(*it)].choices.append(NullToEmpty(rs.field(2)));
        }
    }
    {
        db::Recordset rs = connection.openRecordset(QStringLiteral("SELECT id, name FROM ResponseMatrix"));
        for (; !rs.atEnd(); rs.moveNext())
            columns_.insert(rs.field(0).toLongLong(), NullToEmpty(rs.field(1)));
    }
    db::Recordset rs = connection.openRecordset(QStringLiteral("SELECT count(*) FROM respondent"));
    respondentCount_ = rs.atEnd() ? 0 : rs.field(0).toLongLong();
}

void AnswerWalk::fill(Respondent& respondent)
{
    std::sort(stored_.begin(), stored_.end(), [](const Stored& a, const Stored& b) {
        return a.question != b.question ? a.question < b.question : a.row < b.row;
    });
    respondent.answers.resize(questions_.size());
    auto next = stored_.cbegin();
    for (size_t q = 0; q < questions_.size(); ++q) {
        const auto from = next;
        while (next != stored_.cend() && next->question == int(q))
            ++next;
        const auto to = next;
        Answer& answer = respondent.answers[q];
        const std::vector<qint64>& choices = choiceIds_[q];

        switch (questions_[q].type) {
        case 0:
            if (from != to)
                answer.text = from->text;
            else
                answer.text.reset();
            break;
        case 3:
            answer.columns.assign(choices.size(), -1);
            for (size_t row = 0; row < choices.size(); ++row) {
                const auto first = std::find_if(from, to, [&](const Stored& s) { return s.response == choices[row]; });
                if (first != to && columns_.contains(first->column))
                    answer.columns[row] = first->column;
            }
            break;
        default:
            // Every stored choice of one of the question's own responses, in response order.
            answer.chosen.clear();
            if (from == to)
                break;
            for (size_t i = 0; i < choices.size(); ++i) {
                for (auto s = from; s != to; ++s) {
                    if (s->response == choices[i])
                        answer.chosen.push_back(int(i));
                }
            }
            break;
        }
    }
    stored_.clear();
}

bool AnswerWalk::run(const std::function<void(const Respondent&)>& each, const Progress& progress)
{
    // Respondents in date order through their index, each one's answer rows through the
    // respondent index: one pass, no sort of the answer rows.
    db::Recordset rs = connection_.openRecordset(QStringLiteral(
        "SELECT respondent.id, respondent.submitteddate, respondent.source, a.id, a.QuestionID, a.ResponseID, "
        "a.SimpleResponse, a.ResponseMatrixID FROM respondent "
        "LEFT JOIN Respondent_Responses AS a ON a.RespondentID = respondent.id "
        "ORDER BY respondent.submitteddate, respondent.id"));

    Respondent current;
    bool open = false;
    qint64 done = 0;
    const auto finish = [&] {
        fill(current);
        each(current);
        return !progress || progress(++done, respondentCount_);
    };
    // Millions of rows: the numbers and texts are read without a QVariant where they can be.
    for (; !rs.atEnd(); rs.moveNext()) {
        const qint64 id = rs.int64(0);
        if (!open || id != current.id) {
            if (open && !finish())
                return false;
            current.id = id;
            current.submitted = rs.field(1);
            current.source = NullToEmpty(rs.field(2));
            open = true;
        }
        if (rs.isNull(3))
            continue; // a respondent without answers
        const auto question = questionIndex_.constFind(rs.int64(4));
        if (question == questionIndex_.constEnd())
            continue; // an answer to instruction text or to a question no longer in the survey
        Stored s { *question, rs.int64(3), rs.int64(5), -1, QString() };
        if (questions_[size_t(*question)].type == 0)
            s.text = QString::fromUtf8(rs.utf8(6)); // a Null answer reads as ""
        else if (!rs.isNull(7))
            s.column = rs.int64(7);
        stored_.push_back(std::move(s));
    }
    return !open || finish();
}
