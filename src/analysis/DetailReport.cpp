#include "analysis/DetailReport.h"

#include "analysis/AnswerWalk.h"
#include "analysis/ReportFile.h"
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
    QString out = text;
    return out.replace(lineBreak, QStringLiteral("\r\n\t"));
}

}  // namespace

bool Write(db::Connection& connection, QIODevice& out, const Progress& progress)
{
    AnswerWalk walk(connection);
    rtf::DocumentWriter doc(out, {kFont}, kPoints);
    // Answers at the first stop, a matrix row's chosen column at the second.
    doc.setTabStops({720, 5040});
    const rtf::RunFormat normal;
    const rtf::RunFormat questionHeading{QString(), 0, true};
    const rtf::RunFormat respondentHeading{QString(), kPoints + 1, true};
    const GeneralDateFormat dates;

    doc.append(QString::number(walk.respondentCount()) + QStringLiteral(" respondents have completed this survey.")
               + kLineBreak + kLineBreak);

    const auto& questions = walk.questions();
    QString answers;
    const bool complete = walk.run(
        [&](const AnswerWalk::Respondent& r) {
            doc.append(r.source + QStringLiteral(" on ") + dates.text(r.submitted) + kLineBreak, respondentHeading);
            doc.append(kLineBreak, normal);
            for (size_t q = 0; q < questions.size(); ++q) {
                doc.append(questions[q].number + QStringLiteral(". ") + questions[q].plainText + kLineBreak,
                           questionHeading);
                const AnswerWalk::Answer& a = r.answers[q];
                answers.clear();
                switch (questions[q].type) {
                case 0:
                    answers = QLatin1Char('\t') + (a.text ? indentedAnswer(*a.text) : QStringLiteral("Data not found"))
                              + kLineBreak;
                    break;
                case 3:
                    for (const AnswerWalk::MatrixLine& line : a.matrix)
                        answers += QLatin1Char('\t') + line.row + QLatin1Char('\t') + line.column.value_or(QString())
                                   + kLineBreak;
                    break;
                default:
                    for (const QString& name : a.chosen)
                        answers += QLatin1Char('\t') + name + kLineBreak;
                    break;
                }
                if (!answers.isEmpty())
                    doc.append(answers, normal);
            }
            doc.append(kLineBreak, normal);
            if (!doc.ok())
                throw db::Error(doc.errorString(), ReportFile::kErrPathAccess, QStringLiteral("Tessivo"));
        },
        progress);
    doc.finish();
    if (!doc.ok())
        throw db::Error(doc.errorString(), ReportFile::kErrPathAccess, QStringLiteral("Tessivo"));
    return complete;
}

bool WriteFile(db::Connection& connection, const QString& path, const Progress& progress)
{
    return ReportFile::WriteWhole(path, [&](QIODevice& out) { return Write(connection, out, progress); });
}

}  // namespace DetailReport
