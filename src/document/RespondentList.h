#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace db {
class Connection;
}

namespace RespondentAnswers {

// The rows of the respondent list: every respondent of a survey file, newest first (respondents of
// the same second newest id first), with its answer to the example question. Small enough for a
// survey of millions of respondents: a row keeps its id, its submission date as a number and its
// source as an index into the distinct sources; the texts are made when asked for, and the example
// answers are read for the rows asked for (those in view and a margin) and kept for a bounded
// number of respondents. Every failure is thrown as db::Error.
class List {
public:
    // Reads every respondent in one pass over the respondent rows, and forgets the example answers
    // read before. On failure the list stays as it was.
    void read(db::Connection& connection);
    void clear();

    int size() const { return int(rows_.size()); }
    qint32 id(int row) const { return rows_[size_t(row)].id; }
    // The submission date and time as stored ("yyyy-MM-dd HH:mm:ss" as the file's default writes
    // it, local time); "" for Null.
    QString submitted(int row) const;
    // "" for Null.
    QString source(int row) const { return sources_.at(rows_[size_t(row)].source); }
    // The row of the respondent; -1 when it is not listed.
    int rowOf(qint32 id) const;

    // Where a respondent's row went when it was read again; -1 for none (a respondent new to the
    // list, or one the file no longer holds).
    struct Moved {
        int from = -1;
        int to = -1;
    };
    // Reads one respondent again, after it was added, its answers changed or it was deleted: its
    // row goes where its date places it (or out of the list), and its example answer is read anew
    // when next asked for. The other rows stay as they are.
    Moved update(db::Connection& connection, qint32 id);
    // Whether the file holds as many respondents as the list, with the same highest id: false once
    // respondents were added or deleted other than through update (a results import), when the
    // list must be read again.
    bool matchesFile(db::Connection& connection) const;

    // The open-ended question whose answers the list shows; -1 for none, when every example answer
    // is "". Another question forgets the answers read.
    void setExampleQuestion(int questionId);
    int exampleQuestion() const { return question_; }
    // The example answer of a row: the text of the respondent's first answer row to the example
    // question, "" for none (or Null). Read from the file with those of the rows around it when not
    // known yet; none when it is not known and the file the rows came from is not open.
    std::optional<QString> exampleAnswer(db::Connection& connection, int row);
    // Reads the example answers of the rows first to last and a few around them that are not
    // known yet, in one go: those of the rows coming into view.
    void readExampleAnswers(db::Connection& connection, int first, int last);

private:
    struct Row {
        // The date as its 14 digits (yyyyMMddHHmmss) when stored as "yyyy-MM-dd HH:mm:ss"; kNull
        // for Null; another text as kOther - its index in otherDates_.
        qint64 when;
        qint32 id;
        quint32 source;
    };
    static constexpr qint64 kNull = -1;
    static constexpr qint64 kOther = -2;

    // The key of a stored date, keeping a text of another shape in otherDates_.
    qint64 dateKey(QByteArrayView stored);
    quint32 sourceKey(QByteArrayView stored);
    // The stored text of a date key, into buffer (19 bytes) when it is made.
    QByteArrayView dateText(qint64 when, char* buffer) const;
    // SQL's order of the stored dates (Null first, texts by their bytes): <0, 0 or >0.
    int compareDates(qint64 a, qint64 b) const;
    // True when a is listed before b: the newer date, of one date the higher id.
    bool before(const Row& a, const Row& b) const;
    bool readable(const db::Connection& connection) const;
    // Reads the example answers of the rows first to last not known yet.
    void readAnswers(db::Connection& connection, int first, int last);

    std::vector<Row> rows_;
    std::vector<QByteArray> otherDates_;
    QHash<QByteArray, qint64> otherDateKeys_;
    QStringList sources_;
    // The sources as stored, by their index, and the index of each.
    std::vector<QByteArray> sourceTexts_;
    QHash<QByteArray, quint32> sourceKeys_;
    qint32 maxId_ = 0;
    // The file the rows were read from.
    QString path_;

    int question_ = -1;
    QHash<qint32, QString> answers_;
};

} // namespace RespondentAnswers
