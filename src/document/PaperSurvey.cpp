#include "document/PaperSurvey.h"

#include "document/clsQ.h"
#include "platform/Database.h"
#include "platform/Rtf.h"
#include "platform/RtfDocument.h"
#include "platform/TextUtil.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QIODevice>

#include <algorithm>
#include <cmath>

namespace PaperSurvey {

namespace {

constexpr int kFirstStop = 720; // where an answer begins, half an inch in
constexpr int kGap = 240; // room between a caption and the next column
constexpr int kLastBoxStop = 8000; // a box stays within the default page width

const QString kLineBreak = QStringLiteral("\r\n");

QStringList scaleColumns(db::Connection& connection, const QVariant& scale)
{
    QStringList names;
    db::Recordset rs = connection.openRecordset(
        QStringLiteral("SELECT name FROM responsematrix WHERE responsematrixgroupid = ? ORDER BY pos;"), { scale });
    for (; !rs.atEnd(); rs.moveNext())
        names << NullToEmpty(rs.field(0));
    return names;
}

void writeAnswers(db::Connection& connection, rtf::DocumentWriter& doc, const QVariant& questionId)
{
    // In the order the designer and answer entry show them, so a typist finds them as on paper.
    QStringList answers;
    db::Recordset rs = connection.openRecordset(
        QStringLiteral("SELECT response.name FROM response WHERE response.questionid = ? ORDER BY response.pos"),
        { questionId });
    for (; !rs.atEnd(); rs.moveNext())
        answers << NullToEmpty(rs.field(0));
    if (answers.isEmpty())
        return;
    doc.setTabStops(answerStops(answers));
    for (const QString& answer : std::as_const(answers)) {
        doc.append(QStringLiteral("\t") + answer + QStringLiteral("\t"));
        doc.append(QString(QChar(kBox)));
        doc.append(kLineBreak);
    }
    doc.setTabStops({});
}

void writeMatrix(db::Connection& connection, rtf::DocumentWriter& doc, const QVariant& questionId)
{
    QStringList rowCaptions;
    QVariantList rowScales;
    db::Recordset rs = connection.openRecordset(
        QStringLiteral("SELECT id, name, responseMatrixGroupID FROM response WHERE questionid = ? ORDER BY pos"),
        { questionId });
    for (; !rs.atEnd(); rs.moveNext()) {
        rowCaptions << NullToEmpty(rs.field(1));
        rowScales << rs.field(2);
    }
    // A matrix without rows has no scale to show: its heading stands alone.
    if (rowCaptions.isEmpty())
        return;

    // Every row shows the boxes of its own scale; they are normally all the first row's.
    QHash<QString, QStringList> scales;
    const auto columnsOf = [&](const QVariant& scale) -> const QStringList& {
        const QString key = NullToEmpty(scale);
        auto it = scales.find(key);
        if (it == scales.end())
            it = scales.insert(key, scaleColumns(connection, scale));
        return *it;
    };
    const QStringList header = columnsOf(rowScales.first());
    QStringList widest = header;
    for (const QVariant& scale : std::as_const(rowScales)) {
        const QStringList& own = columnsOf(scale);
        for (qsizetype i = widest.size(); i < own.size(); ++i)
            widest << QString();
    }

    const QList<int> rowStops = matrixRowStops(rowCaptions, widest);
    doc.setTabStops(matrixHeaderStops(rowStops));
    doc.append(QStringLiteral("\t\t"));
    for (const QString& column : header)
        doc.append(column + QStringLiteral("\t"));
    doc.append(kLineBreak);

    doc.setTabStops(rowStops);
    for (qsizetype r = 0; r < rowCaptions.size(); ++r) {
        doc.append(rowCaptions.at(r) + QStringLiteral("\t"));
        const qsizetype boxes = columnsOf(rowScales.at(r)).size();
        for (qsizetype c = 0; c < boxes; ++c) {
            doc.append(QString(QChar(kBox)));
            doc.append(QStringLiteral("\t"));
        }
        doc.append(kLineBreak);
    }
    doc.setTabStops({});
}

} // namespace

int textTwips(const QString& text)
{
    // Measured at one pixel per twip: a font of the body size in points times 20 pixels.
    static const QFontMetricsF metrics = [] {
        QFont font(kFont);
        font.setPixelSize(int(kPoints * 20));
        return QFontMetricsF(font);
    }();
    return int(std::ceil(metrics.horizontalAdvance(text)));
}

QList<int> answerStops(const QStringList& answers)
{
    int widest = 0;
    for (const QString& answer : answers)
        widest = std::max(widest, textTwips(answer));
    return { kFirstStop, std::min(kFirstStop + widest + kGap, kLastBoxStop) };
}

QList<int> matrixRowStops(const QStringList& rowCaptions, const QStringList& columnCaptions)
{
    int rowWidth = 0;
    for (const QString& caption : rowCaptions)
        rowWidth = std::max(rowWidth, textTwips(caption));
    const int box = textTwips(QString(QChar(kBox)));
    QList<int> stops;
    int at = rowWidth + kGap;
    for (const QString& column : columnCaptions) {
        stops << at;
        at += std::max(textTwips(column), box) + kGap;
    }
    return stops;
}

QList<int> matrixHeaderStops(const QList<int>& rowStops)
{
    // The header's first tab stops half-way to the first column, its second at the column.
    if (rowStops.isEmpty())
        return {};
    QList<int> stops { std::max(1, rowStops.first() / 2) };
    stops << rowStops;
    return stops;
}

void write(db::Connection& connection, QIODevice& out)
{
    rtf::DocumentWriter doc(out, { kFont }, kPoints);
    const rtf::RunFormat heading { QString(), kPoints + 1, true };

    doc.append(kLineBreak + kLineBreak);
    db::Recordset questions
        = connection.openRecordset(QStringLiteral("SELECT id, question, qtype, questionno FROM question ORDER BY pos"));
    for (; !questions.atEnd(); questions.moveNext()) {
        const QVariant id = questions.field(0);
        const QString text = rtf::toPlainText(NullToEmpty(questions.field(1)));
        const qint32 qType = questions.field(2).toInt();
        // An instruction text, or a question without a number, is headed by its text alone.
        doc.append(numberPrefix(qType, NullToEmpty(questions.field(3))) + text + kLineBreak, heading);
        doc.append(kLineBreak);

        switch (qType) {
        case QTypeOpenEnded:
        case QTypeText:
            doc.append(kLineBreak + kLineBreak + kLineBreak);
            break;
        case QTypeMatrix:
            writeMatrix(connection, doc, id);
            break;
        case QTypeRadio:
            doc.append(QStringLiteral("Please select just one of the following.") + kLineBreak + kLineBreak);
            writeAnswers(connection, doc, id);
            break;
        default:
            doc.append(QStringLiteral("Please select any of the following.") + kLineBreak + kLineBreak);
            writeAnswers(connection, doc, id);
            break;
        }
        doc.append(kLineBreak);
    }
    doc.finish();
    if (!doc.ok())
        throw db::programError(doc.errorString(), db::kErrPathAccess);
}

} // namespace PaperSurvey
