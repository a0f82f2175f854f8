#include "analysis/ChartData.h"

#include "platform/TextUtil.h"

namespace Chart {

namespace {

std::optional<qint64> single(db::Connection& connection, const QString& sql, const QVariantList& params)
{
    db::Recordset rs = connection.OpenRecordset(sql, params);
    if (rs.atEnd() || rs.isNull(0))
        return std::nullopt;
    return rs.field(0).toLongLong();
}

QList<Point> answers(db::Connection& connection, qint64 question)
{
    QList<Point> points;
    db::Statement count(connection,
        QStringLiteral("SELECT COUNT(*) FROM respondent_responses WHERE responseid = ? AND questionid = ?"));
    db::Recordset rs = connection.OpenRecordset(
        QStringLiteral("SELECT id, name FROM response WHERE questionid = ? ORDER BY pos"), {question});
    for (; !rs.atEnd(); rs.MoveNext()) {
        db::Recordset n = count.query({rs.field(0), question});
        points.append({QLatin1Char(' ') + NullToEmpty(rs.field(1)), n.atEnd() ? 0.0 : n.field(0).toDouble()});
    }
    return points;
}

// The columns of the matrix row's own scale; none when the row is not one of the question's.
std::optional<QList<Point>> matrixRow(db::Connection& connection, qint64 question, qint64 matrixRow)
{
    const std::optional<qint64> scale = single(connection,
        QStringLiteral("SELECT responseMatrixGroupID FROM response WHERE id = ? AND questionid = ?"),
        {matrixRow, question});
    if (!scale)
        return std::nullopt;
    QList<Point> points;
    db::Statement count(connection,
        QStringLiteral("SELECT COUNT(*) FROM respondent_responses WHERE responseid = ? AND responseMatrixID = ?"));
    db::Recordset rs = connection.OpenRecordset(
        QStringLiteral("SELECT id, name FROM ResponseMatrix WHERE responseMatrixGroupID = ? ORDER BY pos"), {*scale});
    for (; !rs.atEnd(); rs.MoveNext()) {
        db::Recordset n = count.query({matrixRow, rs.field(0)});
        points.append({QLatin1Char(' ') + NullToEmpty(rs.field(1)), n.atEnd() ? 0.0 : n.field(0).toDouble()});
    }
    return points;
}

}  // namespace

Result Read(db::Connection& connection, int row, qint32 datum, qint32 mapEntry)
{
    Result result;
    const qint32 matrix = row > 0 ? mapEntry : -1;

    // A question row (datum -1) and the header row find no response.
    const std::optional<qint64> question =
        single(connection, QStringLiteral("SELECT questionid FROM response WHERE id = ?"), {datum});
    if (!question) {
        result.visibility = Visibility::Hide;
        return result;
    }

    // A response whose question row is gone is charted as an open-ended question's, with the
    // visibility left as it was.
    qint64 type = 0;
    if (const std::optional<qint64> found =
            single(connection, QStringLiteral("SELECT qtype FROM question WHERE id = ?"), {*question})) {
        type = *found;
        result.visibility = (type == 0 || type == 4) ? Visibility::Hide : Visibility::Show;
    }

    if (type != 3) {
        result.data = answers(connection, *question);
    } else {
        result.data = matrixRow(connection, *question, matrix);
        // A scale without columns has nothing to chart.
        if (result.data && result.data->isEmpty())
            result.visibility = Visibility::Hide;
    }
    return result;
}

}  // namespace Chart
