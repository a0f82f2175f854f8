#include "analysis/CsvExport.h"

#include "analysis/AnswerWalk.h"
#include "analysis/ReportFile.h"
#include "platform/DateText.h"

#include <QIODevice>

namespace CsvExport {

namespace {

constexpr qsizetype kFlushSize = 256 * 1024;

// The text in double quotes, in UTF-8.
void appendQuoted(QByteArray& out, const QString& text)
{
    out += '"';
    const QByteArray utf8 = text.toUtf8();
    if (utf8.contains('"'))
        out += QByteArray(utf8).replace("\"", "\"\"");
    else
        out += utf8;
    out += '"';
}

// A field after its separator: a comma, then the quoted text.
void appendField(QByteArray& out, const QString& text)
{
    out += ',';
    appendQuoted(out, text);
}

QByteArray field(const QString& text)
{
    QByteArray out;
    appendField(out, text);
    return out;
}

}  // namespace

QString QuoteMe(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool Write(db::Connection& connection, QIODevice& out, const Progress& progress)
{
    AnswerWalk walk(connection);
    const auto& questions = walk.questions();

    // Every name the records repeat, encoded once.
    std::vector<std::vector<QByteArray>> choiceFields(questions.size());
    for (size_t q = 0; q < questions.size(); ++q) {
        for (const QString& name : questions[q].choices)
            choiceFields[q].push_back(field(name));
    }
    QHash<qint64, QByteArray> columnFields;
    for (auto it = walk.columns().cbegin(); it != walk.columns().cend(); ++it)
        columnFields.insert(it.key(), field(it.value()));
    const QByteArray notFound = field(QStringLiteral("Data not found"));
    const GeneralDateFormat dates;

    QByteArray pending;
    pending.reserve(kFlushSize * 2);
    const auto flush = [&] {
        if (out.write(pending) != pending.size())
            throw db::Error(out.errorString(), ReportFile::kErrPathAccess, QStringLiteral("Tessivo"));
        pending.resize(0);  // keeps its room
    };

    const bool complete = walk.run(
        [&](const AnswerWalk::Respondent& r) {
            appendQuoted(pending, r.source);
            appendField(pending, dates.text(r.submitted));
            for (size_t q = 0; q < questions.size(); ++q) {
                const AnswerWalk::Answer& a = r.answers[q];
                switch (questions[q].type) {
                case 0:
                    if (a.text)
                        appendField(pending, *a.text);
                    else
                        pending += notFound;
                    break;
                case 3:
                    for (size_t row = 0; row < a.columns.size(); ++row) {
                        pending += choiceFields[q][row];
                        if (a.columns[row] >= 0)
                            pending += columnFields.value(a.columns[row]);
                    }
                    break;
                default:
                    for (const int chosen : a.chosen)
                        pending += choiceFields[q][size_t(chosen)];
                    break;
                }
            }
            pending += "\r\n";
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
