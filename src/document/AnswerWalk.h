#pragma once

#include "platform/Database.h"
#include "platform/Progress.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>
#include <vector>

// Every respondent's answers to every question, oldest respondent first, read in one ordered pass
// over the answer rows: what the detailed report and the CSV export write. Questions come in
// survey order without instruction text; check and radio answers in the order of their
// responses; matrix rows in row order. Answers name responses and columns by index and id, so
// that a writer can encode each name once.
class AnswerWalk {
public:
    struct Question {
        qint64 id = 0;
        qint32 type = 0;
        QString number; // questionno; "" when Null
        QString plainText; // the stored rich text as plain text
        // Its responses (check, radio) or rows (matrix), in order; a Null name is "".
        QStringList choices;
    };
    // One question's answers of one respondent.
    struct Answer {
        // Open-ended: the first stored answer (a Null text read as ""), none when nothing is stored.
        std::optional<QString> text;
        // Check and radio: the chosen responses, as indices into Question::choices, in order.
        std::vector<int> chosen;
        // Matrix: for each row, the id of the chosen column, or -1 when the row is unanswered.
        std::vector<qint64> columns;
    };
    struct Respondent {
        qint64 id = 0;
        QVariant submitted; // as stored
        QString source; // "" when Null
        // One entry per question(), in the same order.
        std::vector<Answer> answers;
    };

    // Reads the questions, their responses and the scale columns (small) and counts the
    // respondents; throws db::Error.
    explicit AnswerWalk(db::Connection& connection);

    const std::vector<Question>& questions() const { return questions_; }
    qint64 respondentCount() const { return respondentCount_; }
    // Every scale column by its id, with its name ("" when Null).
    const QHash<qint64, QString>& columns() const { return columns_; }

    // Hands every respondent to `each` in order, reporting each one done to `progress`; false as
    // soon as `progress` answers false (cancelled). The respondent handed over is reused for the
    // next one. Throws db::Error.
    bool run(const std::function<void(const Respondent&)>& each, const Progress& progress);

private:
    struct Stored {
        int question; // index into questions_
        qint64 row; // the answer row's id: the first stored answer wins
        qint64 response;
        qint64 column; // -1 when Null
        QString text;
    };
    void fill(Respondent& respondent);

    db::Connection& connection_;
    std::vector<Question> questions_;
    // Per question (same order): the response ids of its choices.
    std::vector<std::vector<qint64>> choiceIds_;
    QHash<qint64, QString> columns_;
    QHash<qint64, int> questionIndex_;
    qint64 respondentCount_ = 0;
    std::vector<Stored> stored_;
};
