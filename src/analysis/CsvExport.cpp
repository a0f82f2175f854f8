#include "analysis/CsvExport.h"

#include "analysis/AnswerWalk.h"
#include "analysis/ReportFile.h"
#include "platform/DateText.h"

#include <QIODevice>

namespace CsvExport {

namespace {
constexpr qsizetype kFlushSize = 64 * 1024;
}

QString QuoteMe(const QString& text)
{
    QString field = text;
    field.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

bool Write(db::Connection& connection, QIODevice& out, const Progress& progress)
{
    AnswerWalk walk(connection);
    const auto& questions = walk.questions();
    const GeneralDateFormat dates;
    QByteArray pending;
    QString record;
    const auto flush = [&] {
        if (out.write(pending) != pending.size())
            throw db::Error(out.errorString(), ReportFile::kErrPathAccess, QStringLiteral("Tessivo"));
        pending.clear();
    };
    const auto field = [&](const QString& value) {
        record += QLatin1Char(',');
        record += QuoteMe(value);
    };

    const bool complete = walk.run(
        [&](const AnswerWalk::Respondent& r) {
            record = QuoteMe(r.source);
            field(dates.text(r.submitted));
            for (size_t q = 0; q < questions.size(); ++q) {
                const AnswerWalk::Answer& a = r.answers[q];
                switch (questions[q].type) {
                case 0:
                    field(a.text.value_or(QStringLiteral("Data not found")));
                    break;
                case 3:
                    for (const AnswerWalk::MatrixLine& line : a.matrix) {
                        field(line.row);
                        if (line.column)
                            field(*line.column);
                    }
                    break;
                default:
                    for (const QString& name : a.chosen)
                        field(name);
                    break;
                }
            }
            record += QLatin1String("\r\n");
            pending += record.toUtf8();
            if (pending.size() >= kFlushSize)
                flush();
        },
        progress);
    if (complete)
        flush();
    return complete;
}

bool WriteFile(db::Connection& connection, const QString& path, const Progress& progress)
{
    return ReportFile::WriteWhole(path, [&](QIODevice& out) { return Write(connection, out, progress); });
}

}  // namespace CsvExport
