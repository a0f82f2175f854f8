#include "document/DetailReport.h"

#include "document/AnswerWalk.h"
#include "document/ReportFile.h"
#include "platform/DateText.h"
#include "platform/RtfDocument.h"

#include <QRegularExpression>

namespace DetailReport {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// An open answer of several lines: every line after the first begins with a tab too, whichever
// line break it was typed with.
QString indentedAnswer(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString out = text;
    return out.replace(lineBreak, QStringLiteral("\r\n\t"));
}

} // namespace

bool write(db::Connection& connection, QIODevice& out, const Progress& progress)
{
    AnswerWalk walk(connection);
    rtf::DocumentWriter doc(out, { kFont }, kPoints);
    const rtf::RunFormat normal;
    const rtf::RunFormat questionHeading { QString(), 0, true };
    const rtf::RunFormat respondentHeading { QString(), kPoints + 1, true };
    const GeneralDateFormat dates;
    const auto& questions = walk.questions();

    doc.append(QString::number(walk.respondentCount()) + QStringLiteral(" respondents have completed this survey.")
        + kLineBreak + kLineBreak);

    // Every line the report repeats for each respondent, encoded once: question headings, the
    // lines of chosen responses, matrix rows and their columns.
    struct Lines {
        rtf::DocumentWriter::Piece heading;
        std::vector<rtf::DocumentWriter::Piece> choices; // "\tname\r\n"; matrix: "\trow\t"
    };
    std::vector<Lines> lines(questions.size());
    for (size_t q = 0; q < questions.size(); ++q) {
        lines[q].heading = doc.encode(
            questions[q].number + QStringLiteral(". ") + questions[q].plainText + kLineBreak, questionHeading);
        const bool matrix = questions[q].type == 3;
        for (const QString& name : questions[q].choices)
            lines[q].choices.push_back(
                doc.encode(QLatin1Char('\t') + name + (matrix ? QStringLiteral("\t") : kLineBreak)));
    }
    QHash<qint64, rtf::DocumentWriter::Piece> columnLines;
    for (auto it = walk.columns().cbegin(); it != walk.columns().cend(); ++it)
        columnLines.insert(it.key(), doc.encode(it.value() + kLineBreak));
    const rtf::DocumentWriter::Piece lineBreak = doc.encode(kLineBreak);
    const rtf::DocumentWriter::Piece notFound = doc.encode(QStringLiteral("\tData not found") + kLineBreak);

    const bool complete = walk.run(
        [&](const AnswerWalk::Respondent& r) {
            doc.append(r.source + QStringLiteral(" on ") + dates.text(r.submitted) + kLineBreak, respondentHeading);
            doc.append(lineBreak);
            for (size_t q = 0; q < questions.size(); ++q) {
                doc.append(lines[q].heading);
                const AnswerWalk::Answer& a = r.answers[q];
                switch (questions[q].type) {
                case 0:
                    if (a.text)
                        doc.append(QLatin1Char('\t') + indentedAnswer(*a.text) + kLineBreak, normal);
                    else
                        doc.append(notFound);
                    break;
                case 3:
                    for (size_t row = 0; row < a.columns.size(); ++row) {
                        doc.append(lines[q].choices[row]);
                        const auto column = columnLines.constFind(a.columns[row]);
                        doc.append(column != columnLines.constEnd() ? *column : lineBreak);
                    }
                    break;
                default:
                    for (const int chosen : a.chosen)
                        doc.append(lines[q].choices[size_t(chosen)]);
                    break;
                }
            }
            doc.append(lineBreak);
            if (!doc.ok())
                throw db::programError(doc.errorString(), db::kErrPathAccess);
        },
        progress);
    doc.finish();
    if (!doc.ok())
        throw db::programError(doc.errorString(), db::kErrPathAccess);
    return complete;
}

bool writeFile(db::Connection& connection, const QString& path, const Progress& progress)
{
    return ReportFile::writeWhole(path, [&](QIODevice& out) { return write(connection, out, progress); });
}

} // namespace DetailReport
