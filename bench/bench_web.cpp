// Speed of the web results import: a results file holding the answers of the answer survey
// (100,000 respondents, 200 questions, about 5 million answer rows) imported into a survey file,
// against the floor: the same respondent and answer rows bulk-inserted with the raw SQLite C API,
// already parsed, statements prepared once, one transaction.
// ImportLongLine/MB: a results file of one respondent whose open-ended answer is one line of that
// many megabytes, against the floor: the file read whole, the answer found between its tags and
// inserted with the raw C API, one transaction. Time and memory should grow with the size of the
// line; peak_MB and floor_peak_MB are the process's peak resident memory while each runs.
// Run build/bin/bench_web (the first run also builds the cached answer survey).
#include "BenchSurvey.h"
#include "document/SurveyFile.h"
#include "platform/Database.h"
#include "web/ResultsImport.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <sqlite3.h>
#include <stdexcept>

namespace {

// One answer row as the import writes it.
struct Row {
    int question = 0;
    int response = 0;
    int column = 0; // 0: no answer-scale column
    int text = -1; // index into Results::texts; -1: ""
};

struct Respondent {
    size_t firstRow = 0;
    size_t rows = 0;
};

// The results file written from the answer survey's rows, and the same rows in memory for the
// floor.
struct Results {
    QTemporaryDir dir;
    QString path;
    std::vector<Respondent> respondents;
    std::vector<Row> rows;
    std::vector<QByteArray> texts;
    qint64 bytes = 0;
};

void writeGroup(QByteArray& out, const bench::FixtureQuestion& q, const std::vector<Row>& rows, size_t from, size_t to,
    const std::vector<QByteArray>& texts)
{
    out += "\t<r>\r\n\t\t<DatabaseID>" + QByteArray::number(q.id) + "</DatabaseID>\r\n\t\t<QuestionNo>"
        + QByteArray::number(q.pos) + "</QuestionNo>\r\n\t\t<QType>" + QByteArray::number(q.type) + "</QType>\r\n";
    for (size_t i = from; i < to; ++i) {
        const Row& r = rows[i];
        if (q.type == 0)
            out += "\t\t<text>" + (r.text < 0 ? QByteArray() : texts[size_t(r.text)]) + "</text>\r\n";
        else if (q.type == 3)
            out += "\t\t<Response>" + QByteArray::number(r.column) + ',' + QByteArray::number(r.response)
                + "</Response>\r\n";
        else
            out += "\t\t<Response>" + QByteArray::number(r.response) + "</Response>\r\n";
    }
    out += "\t</r>\r\n";
}

const Results& results()
{
    static const Results* built = [] {
        const bench::AnswerSurvey& survey = bench::answerSurveyFixture();
        QHash<int, const bench::FixtureQuestion*> questions;
        for (const bench::FixtureQuestion& q : survey.questions)
            questions.insert(q.id, &q);

        auto* r = new Results;
        r->path = r->dir.filePath(QStringLiteral("results.txt"));
        QFile file(r->path);
        if (!file.open(QIODevice::WriteOnly))
            throw std::runtime_error("cannot write the results file");

        sqlite3* db = bench::raw::open(survey.path, true);
        bench::raw::Stmt rows(db,
            "SELECT RespondentID, QuestionID, ResponseID, SimpleResponse, ResponseMatrixID "
            "FROM Respondent_Responses ORDER BY RespondentID, QuestionID, id");
        QByteArray block;
        int respondent = 0;
        size_t groupStart = 0;
        auto endGroup = [&] {
            if (groupStart < r->rows.size())
                writeGroup(block, *questions.value(r->rows[groupStart].question), r->rows, groupStart, r->rows.size(),
                    r->texts);
            groupStart = r->rows.size();
        };
        auto endBlock = [&] {
            endGroup();
            if (respondent) {
                block += "</userresponse>\r\n";
                file.write(block);
                r->bytes += block.size();
            }
            block.clear();
        };
        while (rows.step()) {
            const int who = sqlite3_column_int(rows, 0);
            const int question = sqlite3_column_int(rows, 1);
            if (who != respondent) {
                endBlock();
                respondent = who;
                block = "<userresponse>\r\n";
                r->respondents.push_back({ r->rows.size(), 0 });
            } else if (question != r->rows[groupStart].question) {
                endGroup();
            }
            Row row { question, sqlite3_column_int(rows, 2), sqlite3_column_int(rows, 4), -1 };
            if (questions.value(question)->type == 0) {
                row.response = 1;
                row.text = int(r->texts.size());
                r->texts.emplace_back(
                    reinterpret_cast<const char*>(sqlite3_column_text(rows, 3)), sqlite3_column_bytes(rows, 3));
            }
            r->rows.push_back(row);
            ++r->respondents.back().rows;
        }
        endBlock();
        bench::raw::close(db);
        file.close();
        return r;
    }();
    return *built;
}

// The floor: the same rows, parsed already, inserted as the import inserts them.
void bulkInsert(const QString& path, const Results& r)
{
    sqlite3* db = bench::raw::open(path, false);
    {
        bench::raw::exec(db, "BEGIN IMMEDIATE");
        bench::raw::Stmt respondent(db, "INSERT INTO respondent (source) VALUES ('Web')");
        bench::raw::Stmt answer(db,
            "INSERT INTO Respondent_Responses (QuestionID, RespondentID, ResponseID, "
            "SimpleResponse, ResponseMatrixID) VALUES (?, ?, ?, ?, ?)");
        for (const Respondent& who : r.respondents) {
            respondent.run();
            const sqlite3_int64 id = sqlite3_last_insert_rowid(db);
            for (size_t i = who.firstRow; i < who.firstRow + who.rows; ++i) {
                const Row& row = r.rows[i];
                sqlite3_bind_int(answer, 1, row.question);
                sqlite3_bind_int64(answer, 2, id);
                sqlite3_bind_int(answer, 3, row.response);
                const QByteArray& text = row.text < 0 ? QByteArray() : r.texts[size_t(row.text)];
                sqlite3_bind_text(answer, 4, text.constData(), int(text.size()), SQLITE_STATIC);
                if (row.column)
                    sqlite3_bind_int(answer, 5, row.column);
                else
                    sqlite3_bind_null(answer, 5);
                answer.run();
            }
        }
        bench::raw::exec(db, "COMMIT");
    }
    bench::raw::close(db);
}

void ImportResults(benchmark::State& state)
{
    const Results& r = results();
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target.tvq"));
    bench::measureWithFloor(
        state,
        [&] {
            db::Connection connection;
            SurveyFile::openConnection(connection, target);
            if (ResultsImport::DoLoadXML(connection, r.path) != int(r.respondents.size()))
                throw std::runtime_error("the import made another number of respondents");
        },
        [&] { bulkInsert(target, r); }, qint64(r.rows.size()),
        [&](bench::Side) { bench::copySurvey(bench::templatePath(), dir.path(), QStringLiteral("target.tvq")); });
    state.counters["respondents"] = double(r.respondents.size());
    state.counters["rows"] = double(r.rows.size());
    state.counters["file_MB"] = double(r.bytes) / 1e6;
}
BENCHMARK(ImportResults)->UseManualTime()->Iterations(2)->Unit(benchmark::kSecond);

const char kLongLineHead[]
    = "<userresponse>\r\n\t<r>\r\n\t\t<DatabaseID>1</DatabaseID>\r\n\t\t<QuestionNo>1</QuestionNo>"
      "\r\n\t\t<QType>0</QType>\r\n\t\t<text>";
const char kLongLineTail[] = "</text>\r\n\t</r>\r\n</userresponse>\r\n";

// A results file whose only answer is a text of that many bytes on one line: words of ASCII
// letters with an "é" now and then, written in blocks.
void writeLongLineFile(const QString& path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write the results file");
    QByteArray block;
    while (block.size() < 1 << 20)
        block += "lorem ipsum caf\xc3\xa9 dolor sit amet ";
    file.write(kLongLineHead);
    for (qint64 left = bytes; left > 0; left -= block.size())
        file.write(block.constData(), std::min<qint64>(left, block.size()));
    file.write(kLongLineTail);
}

// The floor: the file read whole, the answer found between its tags and stored as the import
// stores it.
void longLineFloor(const QString& results, const QString& target)
{
    QFile file(results);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read the results file");
    const QByteArray content = file.readAll();
    const qsizetype from = content.indexOf("<text>") + 6;
    const qsizetype to = content.indexOf("</text>", from);
    sqlite3* db = bench::raw::open(target, false);
    {
        bench::raw::exec(db, "BEGIN IMMEDIATE");
        bench::raw::Stmt respondent(db, "INSERT INTO respondent (source) VALUES ('Web')");
        respondent.run();
        bench::raw::Stmt answer(db,
            "INSERT INTO Respondent_Responses (QuestionID, RespondentID, ResponseID, "
            "SimpleResponse, ResponseMatrixID) VALUES (1, ?, 1, ?, NULL)");
        sqlite3_bind_int64(answer, 1, sqlite3_last_insert_rowid(db));
        sqlite3_bind_text(answer, 2, content.constData() + from, int(to - from), SQLITE_STATIC);
        answer.run();
        bench::raw::exec(db, "COMMIT");
    }
    bench::raw::close(db);
}

void ImportLongLine(benchmark::State& state)
{
    const qint64 bytes = state.range(0) * 1000 * 1000;
    QTemporaryDir dir;
    const QString results = dir.filePath(QStringLiteral("results.txt"));
    writeLongLineFile(results, bytes);
    const QString target = dir.filePath(QStringLiteral("target.tvq"));
    double programPeak = 0;
    double floorPeak = 0;
    bench::measureWithFloor(
        state,
        [&] {
            {
                db::Connection connection;
                SurveyFile::openConnection(connection, target);
                if (ResultsImport::DoLoadXML(connection, results) != 1)
                    throw std::runtime_error("the import made another number of respondents");
            }
            programPeak = std::max(programPeak, bench::peakMegabytes());
        },
        [&] {
            longLineFloor(results, target);
            floorPeak = std::max(floorPeak, bench::peakMegabytes());
        },
        1,
        [&](bench::Side) {
            bench::copySurvey(bench::templatePath(), dir.path(), QStringLiteral("target.tvq"));
            bench::resetPeak();
        });
    state.counters["line_MB"] = double(bytes) / 1e6;
    state.counters["peak_MB"] = programPeak;
    state.counters["floor_peak_MB"] = floorPeak;
}
BENCHMARK(ImportLongLine)->Arg(50)->Arg(200)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
