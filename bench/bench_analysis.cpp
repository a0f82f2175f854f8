// Speed of the analysis on the answer survey of the shared fixture (100,000 respondents, 200
// questions, about 5 million answer rows), each against its raw-SQLite floor in the same run:
// - the summary refresh with the grid fill, against the per-answer counts (each statement
//   prepared once) and against one GROUP BY over the answer rows;
// - the CSV export and the detailed report, against one ordered scan of all answer rows joined
//   to their respondents and responses; with the peak memory of the process while each runs;
// - the detailed report also against that scan plus writing a file of the report's size: the
//   report lists every question for every respondent (about 4 GB here), so writing it costs more
//   than reading the survey.
// Run build/bin/bench_analysis (a Release build gives the figures that count).
#include "BenchSurvey.h"

#include "analysis/AnalyseScreen.h"
#include "document/CsvExport.h"
#include "document/DetailReport.h"
#include "document/SurveySession.h"

#include <QApplication>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <stdexcept>

namespace {

// Reads every column of the current row as the program would use it.
size_t touch(sqlite3_stmt* stmt)
{
    size_t n = 0;
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
        if (sqlite3_column_type(stmt, i) == SQLITE_TEXT)
            n += size_t(sqlite3_column_bytes(stmt, i)) + (sqlite3_column_text(stmt, i) ? 1 : 0);
        else
            n += size_t(sqlite3_column_int64(stmt, i));
    }
    return n;
}

size_t totalsFloor(sqlite3* db)
{
    size_t n = 0;
    for (const char* sql : {"SELECT count(*) FROM respondent", "SELECT count(*) FROM respondent WHERE source='Manual Entry'",
                            "SELECT count(*) FROM respondent WHERE source='Web'",
                            "SELECT count(*) FROM respondent WHERE source='Imported'"}) {
        bench::raw::Stmt s(db, sql);
        while (s.step())
            n += touch(s);
    }
    return n;
}

// The summary as the rows are specified: one count per answer and per matrix cell.
void perAnswerCountsFloor(sqlite3* db)
{
    size_t n = totalsFloor(db);
    bench::raw::Stmt questions(db, "SELECT question.id, question, qtype, questionno FROM question WHERE qtype<>4 ORDER BY pos");
    bench::raw::Stmt responses(db, "SELECT id, name, responseMatrixGroupID FROM response WHERE questionid = ? ORDER BY pos");
    bench::raw::Stmt columns(db, "SELECT id, name FROM ResponseMatrix WHERE responseMatrixGroupID = ? ORDER BY pos");
    bench::raw::Stmt answerCount(db, "SELECT COUNT(*) FROM respondent_responses WHERE responseid = ? AND questionid = ?");
    bench::raw::Stmt cellCount(db, "SELECT COUNT(*) FROM respondent_responses WHERE responseid = ? AND responseMatrixID = ?");
    while (questions.step()) {
        n += touch(questions);
        const int q = sqlite3_column_int(questions, 0);
        const int type = sqlite3_column_int(questions, 2);
        sqlite3_bind_int(responses, 1, q);
        while (responses.step()) {
            n += touch(responses);
            const int response = sqlite3_column_int(responses, 0);
            if (type == 3) {
                sqlite3_bind_int(columns, 1, sqlite3_column_int(responses, 2));
                while (columns.step()) {
                    n += touch(columns);
                    sqlite3_bind_int(cellCount, 1, response);
                    sqlite3_bind_int(cellCount, 2, sqlite3_column_int(columns, 0));
                    while (cellCount.step())
                        n += touch(cellCount);
                    cellCount.reset();
                }
                columns.reset();
            } else {
                sqlite3_bind_int(answerCount, 1, response);
                sqlite3_bind_int(answerCount, 2, q);
                while (answerCount.step())
                    n += touch(answerCount);
                answerCount.reset();
            }
        }
        responses.reset();
    }
    benchmark::DoNotOptimize(n);
}

// The summary's counts from one GROUP BY over the answer rows, with the questions, responses and
// columns read once each.
void groupByFloor(sqlite3* db)
{
    size_t n = totalsFloor(db);
    for (const char* sql : {"SELECT question.id, question, qtype, questionno FROM question WHERE qtype<>4 ORDER BY pos",
                            "SELECT id, questionid, name, responseMatrixGroupID FROM response ORDER BY questionid, pos",
                            "SELECT id, name, responseMatrixGroupID FROM ResponseMatrix ORDER BY responseMatrixGroupID, pos",
                            "SELECT ResponseID, QuestionID, ResponseMatrixID, count(*) FROM Respondent_Responses "
                            "GROUP BY ResponseID, QuestionID, ResponseMatrixID"}) {
        bench::raw::Stmt s(db, sql);
        while (s.step())
            n += touch(s);
    }
    benchmark::DoNotOptimize(n);
}

// One ordered scan of all answer rows joined to their respondents and responses.
void orderedScanFloor(sqlite3* db)
{
    bench::raw::Stmt scan(db,
        "SELECT respondent.id, respondent.submitteddate, respondent.source, a.QuestionID, a.ResponseID, "
        "a.SimpleResponse, a.ResponseMatrixID, response.name FROM respondent "
        "JOIN Respondent_Responses AS a ON a.RespondentID = respondent.id "
        "LEFT JOIN response ON response.id = a.ResponseID "
        "ORDER BY respondent.submitteddate, respondent.id");
    size_t n = 0;
    while (scan.step())
        n += touch(scan);
    benchmark::DoNotOptimize(n);
}

struct Opened {
    Opened()
    {
        const bench::AnswerSurvey& fixture = bench::AnswerSurveyFixture();
        session.SurveyConnection.Open(fixture.path, {}, db::OpenMode::ReadOnly);
        raw = bench::raw::open(fixture.path, true);
    }
    ~Opened() { bench::raw::close(raw); }
    SurveySession session;
    sqlite3* raw = nullptr;
};

Opened& opened()
{
    static Opened o;
    return o;
}

void SummaryRefresh(benchmark::State& state, void (*floor)(sqlite3*))
{
    Opened& o = opened();
    AnalyseScreen screen(o.session, nullptr);
    screen.show();
    bench::MeasureWithFloor(state, [&] { screen.RefreshRespondeSummaryReportList(1, 0); }, [&] { floor(o.raw); });
    state.counters["rows"] = screen.findChild<QTableWidget*>(QStringLiteral("gSummaryReport"))->rowCount();
}

void SummaryRefreshVsPerAnswerCounts(benchmark::State& state)
{
    SummaryRefresh(state, perAnswerCountsFloor);
}

void SummaryRefreshVsGroupBy(benchmark::State& state)
{
    SummaryRefresh(state, groupByFloor);
}

void Export(benchmark::State& state, bool (*write)(db::Connection&, const QString&, const Progress&))
{
    Opened& o = opened();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("out"));
    qint64 reports = 0;
    const Progress progress = [&](qint64, qint64) {
        ++reports;
        return true;
    };
    double peak = 0;
    bench::MeasureWithFloor(
        state,
        [&] {
            bench::ResetPeak();
            write(o.session.SurveyConnection, file, progress);
            peak = std::max(peak, bench::PeakMegabytes());
        },
        [&] { orderedScanFloor(o.raw); });
    state.counters["peak_MB"] = peak;
    state.counters["file_MB"] = double(QFile(file).size()) / (1024.0 * 1024.0);
}

// The ordered scan, then writing as many bytes as the document has to a file in large blocks:
// the floor of a document whose size is set by what it must contain.
void Export(benchmark::State& state, bool (*write)(db::Connection&, const QString&, const Progress&), bool)
{
    Opened& o = opened();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("out"));
    write(o.session.SurveyConnection, file, {});
    const qint64 size = QFile(file).size();
    const QString copy = dir.filePath(QStringLiteral("floor"));
    const QByteArray block(1024 * 1024, 'x');
    bench::MeasureWithFloor(
        state, [&] { write(o.session.SurveyConnection, file, {}); },
        [&] {
            orderedScanFloor(o.raw);
            QFile out(copy);
            if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
                throw std::runtime_error("cannot write the floor's file");
            for (qint64 left = size; left > 0; left -= block.size())
                out.write(block.constData(), std::min<qint64>(left, block.size()));
        });
    state.counters["file_MB"] = double(size) / (1024.0 * 1024.0);
}

void CsvExportVsOrderedScan(benchmark::State& state)
{
    Export(state, &CsvExport::WriteFile);
}

void DetailReportVsOrderedScan(benchmark::State& state)
{
    Export(state, &DetailReport::WriteFile);
}

void DetailReportVsOrderedScanAndWrite(benchmark::State& state)
{
    Export(state, &DetailReport::WriteFile, true);
}

}  // namespace

BENCHMARK(SummaryRefreshVsPerAnswerCounts)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(6);
BENCHMARK(SummaryRefreshVsGroupBy)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(CsvExportVsOrderedScan)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(DetailReportVsOrderedScan)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(DetailReportVsOrderedScanAndWrite)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
