#include "document/ChartData.h"

#include "platform/Rtf.h"
#include "platform/TextUtil.h"

#include <QStringList>

namespace Chart {

namespace {

std::optional<qint64> single(db::Connection& connection, const QString& sql, const QVariantList& params)
{
    db::Recordset rs = connection.openRecordset(sql, params);
    if (rs.atEnd() || rs.isNull(0))
        return std::nullopt;
    return rs.field(0).toLongLong();
}

QList<Point> answers(db::Connection& connection, qint64 question)
{
    QList<Point> points;
    db::Statement count(connection,
        QStringLiteral("SELECT COUNT(*) FROM respondent_responses WHERE responseid = ? AND questionid = ?"));
    db::Recordset rs = connection.openRecordset(
        QStringLiteral("SELECT id, name FROM response WHERE questionid = ? ORDER BY pos"), { question });
    for (; !rs.atEnd(); rs.moveNext()) {
        db::Recordset n = count.query({ rs.field(0), question });
        points.append({ QLatin1Char(' ') + NullToEmpty(rs.field(1)), n.atEnd() ? 0.0 : n.field(0).toDouble() });
    }
    return points;
}

// The columns of the matrix row's own scale; none when the row is not one of the question's.
// `name` is set to the row's name.
std::optional<QList<Point>> matrixRow(db::Connection& connection, qint64 question, qint64 matrixRow, QString& name)
{
    std::optional<qint64> scale;
    {
        db::Recordset rs = connection.openRecordset(
            QStringLiteral("SELECT responseMatrixGroupID, name FROM response WHERE id = ? AND questionid = ?"),
            { matrixRow, question });
        if (!rs.atEnd() && !rs.isNull(0)) {
            scale = rs.field(0).toLongLong();
            name = NullToEmpty(rs.field(1));
        }
    }
    if (!scale)
        return std::nullopt;
    QList<Point> points;
    db::Statement count(connection,
        QStringLiteral("SELECT COUNT(*) FROM respondent_responses WHERE responseid = ? AND responseMatrixID = ?"));
    db::Recordset rs = connection.openRecordset(
        QStringLiteral("SELECT id, name FROM ResponseMatrix WHERE responseMatrixGroupID = ? ORDER BY pos"), { *scale });
    for (; !rs.atEnd(); rs.moveNext()) {
        db::Recordset n = count.query({ matrixRow, rs.field(0) });
        points.append({ QLatin1Char(' ') + NullToEmpty(rs.field(1)), n.atEnd() ? 0.0 : n.field(0).toDouble() });
    }
    return points;
}

} // namespace

Result read(db::Connection& connection, int row, qint32 datum, qint32 mapEntry)
{
    Result result;
    const qint32 matrix = row > 0 ? mapEntry : -1;

    // A question row (datum -1) and the header row find no response.
    const std::optional<qint64> question
        = single(connection, QStringLiteral("SELECT questionid FROM response WHERE id = ?"), { datum });
    if (!question) {
        result.visibility = Visibility::Hide;
        return result;
    }

    // A response whose question row is gone is charted as an open-ended question's, with the
    // visibility left as it was.
    qint64 type = 0;
    {
        db::Recordset rs = connection.openRecordset(
            QStringLiteral("SELECT qtype, question FROM question WHERE id = ?"), { *question });
        if (!rs.atEnd() && !rs.isNull(0)) {
            type = rs.field(0).toLongLong();
            result.visibility = (type == 0 || type == 4) ? Visibility::Hide : Visibility::Show;
            result.subject = oneLine(rtf::captionOf(NullToEmpty(rs.field(1))));
        }
    }

    if (type != 3) {
        result.data = answers(connection, *question);
    } else {
        QString rowName;
        result.data = matrixRow(connection, *question, matrix, rowName);
        if (result.data)
            result.subject += QStringLiteral(" (") + rowName + QLatin1Char(')');
        // A scale without columns has nothing to chart.
        if (result.data && result.data->isEmpty())
            result.visibility = Visibility::Hide;
    }
    return result;
}

QString description(const QString& subject, const QList<Point>& points)
{
    QStringList counts;
    counts.reserve(points.size());
    for (const Point& point : points)
        counts << point.label.trimmed() + QLatin1Char(' ') + QString::number(point.value, 'g', 12);
    return subject + QStringLiteral(": ") + counts.join(QStringLiteral(", "));
}

} // namespace Chart
