#include "document/SummaryReport.h"

#include "platform/Rtf.h"
#include "platform/TextUtil.h"

#include <QHash>
#include <QLocale>

#include <cmath>

namespace Summary {

namespace {

const QString kIndent5 = QStringLiteral("     ");
const QString kIndent10 = QStringLiteral("          ");

// v rounded to one decimal with halves to the even digit, decided on v's exact binary value: the
// product v * 10 is rounded itself, so its rounding error tells whether a product that looks like
// a half lies above or below it.
double roundHalfEvenOneDecimal(double v)
{
    const double p = v * 10.0;
    const double error = std::fma(v, 10.0, -p); // exact: v * 10 - p
    const double lower = std::floor(p);
    const double fraction = p - lower;
    double rounded;
    if (fraction > 0.5 || (fraction == 0.5 && error > 0))
        rounded = lower + 1;
    else if (fraction < 0.5 || (fraction == 0.5 && error < 0))
        rounded = lower;
    else
        rounded = std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
    return rounded / 10.0;
}

template <typename T> const std::vector<T>& listOf(const QHash<qint64, std::vector<T>>& lists, qint64 key)
{
    static const std::vector<T> none;
    const auto it = lists.constFind(key);
    return it == lists.constEnd() ? none : *it;
}

QLocale shareLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

} // namespace

Totals readTotals(db::Connection& connection)
{
    db::Recordset rs = connection.openRecordset(
        QStringLiteral("SELECT count(*), coalesce(sum(source='Manual Entry'), 0), coalesce(sum(source='Web'), 0), "
                       "coalesce(sum(source='Imported'), 0) FROM respondent"));
    Totals t;
    if (!rs.atEnd()) {
        t.all = rs.field(0).toLongLong();
        t.manualEntry = rs.field(1).toLongLong();
        t.webBased = rs.field(2).toLongLong();
        t.imported = rs.field(3).toLongLong();
    }
    return t;
}

qint64 respondentCount(db::Connection& connection)
{
    db::Recordset rs = connection.openRecordset(QStringLiteral("SELECT count(*) FROM respondent"));
    return rs.atEnd() ? 0 : rs.field(0).toLongLong();
}

QString shareText(qint64 count, qint64 total)
{
    if (count == 0)
        return QStringLiteral("0.0%");
    // Answers whose respondent row is gone can be counted when no respondent is left: there is no
    // share of nobody.
    if (total <= 0)
        return QStringLiteral("n/a");
    const double share = roundHalfEvenOneDecimal(double(count) / double(total) * 100.0);
    return shareLocale().toString(share, 'f', QLocale::FloatingPointShortest) + QLatin1Char('%');
}

QString widestShareText()
{
    return shareLocale().toString(100.0, 'f', 1) + QLatin1Char('%');
}

std::vector<Row> readRows(db::Connection& connection, qint64 total)
{
    struct Response {
        qint32 id;
        QString name;
        qint32 scale;
    };
    struct Column {
        qint32 id;
        QString name;
    };

    // Responses of every question and columns of every scale, each read once.
    QHash<qint64, std::vector<Response>> responses;
    {
        db::Recordset rs = connection.openRecordset(QStringLiteral(
            "SELECT id, questionid, name, responseMatrixGroupID FROM response ORDER BY questionid, pos"));
        for (; !rs.atEnd(); rs.moveNext())
            responses[rs.field(1).toLongLong()].push_back(
                { rs.field(0).toInt(), NullToEmpty(rs.field(2)), rs.field(3).toInt() });
    }
    QHash<qint64, std::vector<Column>> columns;
    {
        db::Recordset rs = connection.openRecordset(QStringLiteral(
            "SELECT id, name, responseMatrixGroupID FROM ResponseMatrix ORDER BY responseMatrixGroupID, pos"));
        for (; !rs.atEnd(); rs.moveNext())
            columns[rs.field(2).toLongLong()].push_back({ rs.field(0).toInt(), NullToEmpty(rs.field(1)) });
    }

    // One count per answer and per matrix cell, each statement prepared once and run through the
    // template's indexes.
    db::Statement answerCount(connection,
        QStringLiteral("SELECT COUNT(*) FROM respondent_responses WHERE responseid = ? AND questionid = ?"));
    db::Statement cellCount(connection,
        QStringLiteral("SELECT COUNT(*) FROM respondent_responses WHERE responseid = ? AND responseMatrixID = ?"));
    const auto count = [](db::Statement& statement, qint64 a, qint64 b) {
        db::Recordset rs = statement.query({ a, b });
        return rs.atEnd() ? qint64(0) : rs.field(0).toLongLong();
    };

    std::vector<Row> rows;
    db::Recordset questions = connection.openRecordset(
        QStringLiteral("SELECT question.id, question, qtype, questionno FROM question WHERE qtype<>4 ORDER BY pos"));
    for (; !questions.atEnd(); questions.moveNext()) {
        const qint64 questionId = questions.field(0).toLongLong();
        const qint32 type = questions.field(2).toInt();
        const QString text = NullToEmpty(questions.field(3)) + QStringLiteral(". ")
            + captionText(rtf::toPlainText(NullToEmpty(questions.field(1)), kWholeTextLength + 1), kWholeTextLength);
        rows.push_back(
            { RowKind::Question, type == 0 ? QStringLiteral("n/a") : QString(), oneLine(text), text, -1, -1 });

        const std::vector<Response>& own = listOf(responses, questionId);
        if (type == 3) {
            for (const Response& row : own) {
                rows.push_back({ RowKind::MatrixRow, QString(), kIndent5 + row.name, QString(), row.id, row.id });
                for (const Column& column : listOf(columns, row.scale))
                    rows.push_back({ RowKind::ScaleColumn, shareText(count(cellCount, row.id, column.id), total),
                        kIndent10 + column.name, QString(), row.id, row.id });
            }
        } else {
            for (const Response& response : own)
                rows.push_back({ RowKind::Answer, shareText(count(answerCount, response.id, questionId), total),
                    kIndent5 + response.name, QString(), response.id, -1 });
        }
    }
    return rows;
}

} // namespace Summary
