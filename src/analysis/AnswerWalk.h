#pragma once

#include "platform/Database.h"
#include "platform/Progress.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>
#include <vector>

// Every respondent's answers to every question, oldest respondent first, read in one ordered pass
// over the answer rows: what the detailed report and the CSV export write. Questions come in
// survey order without instruction text; check and radio answers in the order of their
// responses; matrix rows in row order.
class AnswerWalk {
public:
    struct Question {
        qint64 id = 0;
        qint32 type = 0;
        QString number;     // questionno; "" when Null
        QString plainText;  // the stored rich text as plain text
    };
    struct MatrixLine {
        QString row;
        std::optional<QString> column;  // the chosen column, none when the row is unanswered
    };
    // One question's answers of one respondent.
    struct Answer {
        // Open-ended: the first stored answer (a Null text read as ""), none when nothing is stored.
        std::optional<QString> text;
        // Check and radio: the chosen responses' names.
        QStringList chosen;
        // Matrix: every row of the question.
        QList<MatrixLine> matrix;
    };
    struct Respondent {
        qint64 id = 0;
        QVariant submitted;  // as stored
        QString source;      // "" when Null
        // One entry per question(), in the same order.
        std::vector<Answer> answers;
    };

    // Reads the questions, their responses and the scale columns (small) and counts the
    // respondents; throws db::Error.
    explicit AnswerWalk(db::Connection& connection);

    const std::vector<Question>& questions() const { return questions_; }
    qint64 respondentCount() const { return respondentCount_; }

    // Hands every respondent to `each` in order, reporting each one done to `progress`; false as
    // soon as `progress` answers false (cancelled). Throws db::Error.
    bool run(const std::function<void(const Respondent&)>& each, const Progress& progress);

private:
    struct Choice {
        qint32 id;
        QString name;
    };
    struct Stored;
    void fill(Respondent& respondent, std::vector<Stored>& stored) const;

    db::Connection& connection_;
    std::vector<Question> questions_;
    // Per question (same order): its responses (check, radio) or rows (matrix), in order.
    std::vector<std::vector<Choice>> choices_;
    QHash<qint64, QString> columns_;
    QHash<qint64, int> questionIndex_;
    qint64 respondentCount_ = 0;
};
