#include "document/CsvExport.h"

#include "document/AnswerWalk.h"
#include "document/ReportFile.h"
#include "platform/BlockWriter.h"
#include "platform/DateText.h"

#include <QIODevice>

namespace CsvExport {

namespace {

// A field as the file holds it: the text in UTF-8 in double quotes, each double quote in it
// doubled.
QByteArray quoted(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.contains('"'))
        bytes.replace("\"", "\"\"");
    bytes.prepend('"').append('"');
    return bytes;
}

// The same, put straight into the records: an answer's text is quoted once.
void putQuoted(BlockWriter& records, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    records.put('"');
    QByteArrayView rest(bytes);
    for (qsizetype quote; (quote = rest.indexOf('"')) >= 0; rest = rest.sliced(quote + 1)) {
        records.put(rest.data(), quote + 1);
        records.put('"');
    }
    records.put(rest.data(), rest.size());
    records.put('"');
}

// A field after its separator, encoded once for the records that repeat it.
QByteArray field(const QString& text)
{
    return ',' + quoted(text);
}

} // namespace

QString QuoteMe(const QString& text)
{
    return QString::fromUtf8(quoted(text));
}

bool write(db::Connection& connection, QIODevice& out, const Progress& progress)
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

    BlockWriter records(out);
    const auto putField = [&records](const QString& text) {
        records.put(',');
        putQuoted(records, text);
    };
    const auto check = [&records] {
        if (!records.ok())
            throw db::programError(records.errorString(), db::kErrPathAccess);
    };
    const bool complete = walk.run(
        [&](const AnswerWalk::Respondent& r) {
            putQuoted(records, r.source);
            putField(dates.text(r.submitted));
            for (size_t q = 0; q < questions.size(); ++q) {
                const AnswerWalk::Answer& a = r.answers[q];
                switch (questions[q].type) {
                case 0:
                    if (a.text)
                        putField(*a.text);
                    else
                        records.put(notFound);
                    break;
                case 3:
                    for (size_t row = 0; row < a.columns.size(); ++row) {
                        records.put(choiceFields[q][row]);
                        if (a.columns[row] >= 0)
                            records.put(columnFields.value(a.columns[row]));
                    }
                    break;
                default:
                    for (const int chosen : a.chosen)
                        records.put(choiceFields[q][size_t(chosen)]);
                    break;
                }
            }
            records.put("\r\n", 2);
            check();
        },
        progress);
    if (complete) {
        records.flush();
        check();
    }
    return complete;
}

bool writeFile(db::Connection& connection, const QString& path, const Progress& progress)
{
    return ReportFile::writeWhole(path, [&](QIODevice& out) { return write(connection, out, progress); });
}

} // namespace CsvExport
