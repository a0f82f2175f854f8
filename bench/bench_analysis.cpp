// Speed of the analysis on the answer surveys of the shared fixture (100,000 and 1,000,000
// respondents, 200 questions), each against its raw-SQLite floor in the same run:
//   SummaryRefresh/n   the summary refresh with its grid filled and painted, against the
//                      per-answer counts (each statement prepared once)
//   SummaryRefreshGroupByReference/100000  the same refresh beside one GROUP BY over the answer
//                      rows: it sorts millions of rows and is much slower than the program, so it
//                      is a reference (its seconds as "reference"), not a floor
//   CsvExport/n        the CSV export, against one ordered scan of the answer rows joined to their
//                      respondents that writes the same bytes the same way (QSaveFile: a
//                      temporary file, fsync, rename); the floor's file is checked to be the
//                      program's, byte for byte
//   DetailReport/100000  the detailed report, against the ordered scan and writing as many bytes
//                      through QSaveFile: the report lists every question for every respondent
//                      (about 4 GB here), so writing it costs more than reading the survey
// with the process's peak memory while each export runs (peak_MB).
// Run build-release/bin/bench_analysis (a Release build gives the figures that count).
#include "BenchScreen.h"
#include "BenchSurvey.h"
#include "analysis/AnalyseScreen.h"
#include "document/CsvExport.h"
#include "document/DetailReport.h"
#include "document/SurveySession.h"
#include "platform/DateText.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
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

QByteArray columnBytes(sqlite3_stmt* stmt, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return text ? QByteArray(text, sqlite3_column_bytes(stmt, column)) : QByteArray();
}

size_t totalsFloor(sqlite3* db)
{
    size_t n = 0;
    for (const char* sql :
        { "SELECT count(*) FROM respondent", "SELECT count(*) FROM respondent WHERE source='Manual Entry'",
            "SELECT count(*) FROM respondent WHERE source='Web'",
            "SELECT count(*) FROM respondent WHERE source='Imported'" }) {
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
    bench::raw::Stmt questions(
        db, "SELECT question.id, question, qtype, questionno FROM question WHERE qtype<>4 ORDER BY pos");
    bench::raw::Stmt responses(
        db, "SELECT id, name, responseMatrixGroupID FROM response WHERE questionid = ? ORDER BY pos");
    bench::raw::Stmt columns(db, "SELECT id, name FROM ResponseMatrix WHERE responseMatrixGroupID = ? ORDER BY pos");
    bench::raw::Stmt answerCount(
        db, "SELECT COUNT(*) FROM respondent_responses WHERE responseid = ? AND questionid = ?");
    bench::raw::Stmt cellCount(
        db, "SELECT COUNT(*) FROM respondent_responses WHERE responseid = ? AND responseMatrixID = ?");
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
void groupByReference(sqlite3* db)
{
    size_t n = totalsFloor(db);
    for (const char* sql :
        { "SELECT question.id, question, qtype, questionno FROM question WHERE qtype<>4 ORDER BY pos",
            "SELECT id, questionid, name, responseMatrixGroupID FROM response ORDER BY questionid, pos",
            "SELECT id, name, responseMatrixGroupID FROM ResponseMatrix ORDER BY responseMatrixGroupID, pos",
            "SELECT ResponseID, QuestionID, ResponseMatrixID, count(*) FROM Respondent_Responses "
            "GROUP BY ResponseID, QuestionID, ResponseMatrixID" }) {
        bench::raw::Stmt s(db, sql);
        while (s.step())
            n += touch(s);
    }
    benchmark::DoNotOptimize(n);
}

// The one ordered pass of the exports: every respondent, oldest first, with its answer rows.
constexpr const char* kOrderedScan
    = "SELECT respondent.id, respondent.submitteddate, respondent.source, a.id, a.QuestionID, a.ResponseID, "
      "a.SimpleResponse, a.ResponseMatrixID FROM respondent "
      "LEFT JOIN Respondent_Responses AS a ON a.RespondentID = respondent.id "
      "ORDER BY respondent.submitteddate, respondent.id";

void orderedScanFloor(sqlite3* db)
{
    bench::raw::Stmt scan(db, kOrderedScan);
    size_t n = 0;
    while (scan.step())
        n += touch(scan);
    benchmark::DoNotOptimize(n);
}

// Bytes gathered into blocks of 1 MB for a QSaveFile, which commit() syncs and renames into place.
class SavedFile {
public:
    explicit SavedFile(const QString& path)
        : file_(path)
        , buffer_(new char[kBlock])
    {
        if (!file_.open(QIODevice::WriteOnly))
            throw std::runtime_error("cannot write the floor's file");
    }
    void put(const char* bytes, qsizetype size)
    {
        if (used_ + size > kBlock)
            flush();
        if (size > kBlock) {
            write(bytes, size);
            return;
        }
        std::memcpy(buffer_.get() + used_, bytes, size_t(size));
        used_ += size;
    }
    void put(const QByteArray& bytes) { put(bytes.constData(), bytes.size()); }
    void put(char c) { put(&c, 1); }
    // ,"bytes" with each double quote in them doubled: a CSV field after its separator.
    void putField(const char* bytes, qsizetype size)
    {
        put(',');
        putQuoted(bytes, size);
    }
    // "bytes" with each double quote in them doubled.
    void putQuoted(const char* bytes, qsizetype size)
    {
        put('"');
        for (const char* quote;
             size > 0 && (quote = static_cast<const char*>(std::memchr(bytes, '"', size_t(size))));) {
            put(bytes, quote - bytes + 1);
            put('"');
            size -= quote - bytes + 1;
            bytes = quote + 1;
        }
        put(bytes, size);
        put('"');
    }
    void commit()
    {
        flush();
        if (!file_.commit())
            throw std::runtime_error("cannot commit the floor's file");
    }

private:
    static constexpr qsizetype kBlock = 1024 * 1024;
    void flush()
    {
        write(buffer_.get(), used_);
        used_ = 0;
    }
    void write(const char* bytes, qsizetype size)
    {
        if (file_.write(bytes, size) != size)
            throw std::runtime_error("cannot write the floor's file");
    }
    QSaveFile file_;
    std::unique_ptr<char[]> buffer_;
    qsizetype used_ = 0;
};

// The CSV export written from the ordered scan with the raw C API: the same records, fields and
// bytes as the program's file. Names of responses and columns are encoded once, as fields.
class CsvFloor {
public:
    explicit CsvFloor(sqlite3* db)
        : db_(db)
    {
        bench::raw::Stmt questions(db, "SELECT id, qtype FROM question WHERE qtype<>4 ORDER BY pos");
        while (questions.step()) {
            index_.insert(sqlite3_column_int64(questions, 0), int(questions_.size()));
            questions_.push_back({ sqlite3_column_int(questions, 1), {}, {} });
        }
        bench::raw::Stmt responses(db, "SELECT id, questionid, name FROM response ORDER BY questionid, pos");
        while (responses.step()) {
            const auto q = index_.constFind(sqlite3_column_int64(responses, 1));
            if (q == index_.constEnd())
                continue;
            questions_[size_t(*q)].choices.push_back(sqlite3_column_int64(responses, 0));
            questions_[size_t(*q)].fields.push_back(field(columnBytes(responses, 2)));
        }
        bench::raw::Stmt columns(db, "SELECT id, name FROM ResponseMatrix");
        while (columns.step())
            columns_.insert(sqlite3_column_int64(columns, 0), field(columnBytes(columns, 1)));
    }

    void write(const QString& path)
    {
        SavedFile out(path);
        bench::raw::Stmt scan(db_, kOrderedScan);
        const GeneralDateFormat dates;
        qint64 current = -1;
        QByteArray source;
        QByteArray submitted;
        const auto finish = [&] {
            out.putQuoted(source.constData(), source.size());
            const QByteArray date = dates.text(QString::fromUtf8(submitted)).toUtf8();
            out.putField(date.constData(), date.size());
            record(out);
            out.put("\r\n", 2);
        };
        while (scan.step()) {
            const qint64 id = sqlite3_column_int64(scan, 0);
            if (id != current) {
                if (current >= 0)
                    finish();
                current = id;
                submitted = columnBytes(scan, 1);
                source = columnBytes(scan, 2);
            }
            if (sqlite3_column_type(scan, 3) == SQLITE_NULL)
                continue;
            const auto q = index_.constFind(sqlite3_column_int64(scan, 4));
            if (q == index_.constEnd())
                continue;
            Stored s { *q, sqlite3_column_int64(scan, 3), sqlite3_column_int64(scan, 5),
                sqlite3_column_type(scan, 7) == SQLITE_NULL ? -1 : sqlite3_column_int64(scan, 7), texts_.size(), 0 };
            if (questions_[size_t(*q)].type == 0) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(scan, 6));
                s.size = sqlite3_column_bytes(scan, 6);
                if (text)
                    texts_.append(text, s.size);
            }
            stored_.push_back(s);
        }
        if (current >= 0)
            finish();
        out.commit();
    }

private:
    struct Question {
        int type;
        std::vector<qint64> choices;
        std::vector<QByteArray> fields;
    };
    // One answer row of the respondent; an open answer's text lies in texts_.
    struct Stored {
        int question;
        qint64 row;
        qint64 response;
        qint64 column;
        qsizetype text;
        qsizetype size;
    };

    static QByteArray field(const QByteArray& bytes)
    {
        QByteArray quoted = bytes;
        quoted.replace("\"", "\"\"");
        return ",\"" + quoted + '"';
    }

    // The fields of every question of the respondent whose rows are stored_.
    void record(SavedFile& out)
    {
        std::sort(stored_.begin(), stored_.end(), [](const Stored& a, const Stored& b) {
            return a.question != b.question ? a.question < b.question : a.row < b.row;
        });
        auto next = stored_.cbegin();
        for (size_t q = 0; q < questions_.size(); ++q) {
            const auto from = next;
            while (next != stored_.cend() && next->question == int(q))
                ++next;
            const Question& question = questions_[q];
            if (question.type == 0) {
                if (from != next)
                    out.putField(texts_.constData() + from->text, from->size);
                else
                    out.put(notFound_);
            } else if (question.type == 3) {
                for (size_t row = 0; row < question.choices.size(); ++row) {
                    out.put(question.fields[row]);
                    const auto first = std::find_if(
                        from, next, [&](const Stored& s) { return s.response == question.choices[row]; });
                    if (first != next) {
                        const auto column = columns_.constFind(first->column);
                        if (column != columns_.constEnd())
                            out.put(*column);
                    }
                }
            } else if (from != next) {
                for (size_t i = 0; i < question.choices.size(); ++i) {
                    for (auto s = from; s != next; ++s) {
                        if (s->response == question.choices[i])
                            out.put(question.fields[i]);
                    }
                }
            }
        }
        stored_.clear();
        texts_.resize(0);
    }

    sqlite3* db_;
    std::vector<Question> questions_;
    QHash<qint64, int> index_;
    QHash<qint64, QByteArray> columns_;
    const QByteArray notFound_ = field("Data not found");
    std::vector<Stored> stored_;
    QByteArray texts_;
};

// Whether two files hold the same bytes.
bool sameBytes(const QString& a, const QString& b)
{
    QFile one(a);
    QFile two(b);
    if (!one.open(QIODevice::ReadOnly) || !two.open(QIODevice::ReadOnly) || one.size() != two.size())
        return false;
    while (!one.atEnd()) {
        if (one.read(1 << 20) != two.read(1 << 20))
            return false;
    }
    return true;
}

// The survey of that size opened as the program opens it, and by the raw C API.
struct Opened {
    explicit Opened(int respondents)
    {
        const bench::AnswerSurvey& fixture = bench::answerSurveyFixture(respondents);
        session.SurveyConnection.open(fixture.path, {}, db::OpenMode::ReadOnly);
        raw = bench::raw::open(fixture.path, true);
    }
    ~Opened() { bench::raw::close(raw); }
    SurveySession session;
    sqlite3* raw = nullptr;
};

Opened& opened(int respondents)
{
    static std::map<int, std::unique_ptr<Opened>> surveys;
    std::unique_ptr<Opened>& o = surveys[respondents];
    if (!o)
        o = std::make_unique<Opened>(respondents);
    return *o;
}

// The summary refreshed on the Analyse screen, until its grid has painted the rows.
void summary(benchmark::State& state, void (*floor)(sqlite3*))
{
    Opened& o = opened(int(state.range(0)));
    AnalyseScreen screen(o.session, nullptr);
    screen.resize(1200, 800);
    screen.show();
    QCoreApplication::processEvents();
    QTableWidget* grid = screen.findChild<QTableWidget*>(QStringLiteral("gSummaryReport"));
    bench::ScreenWait wait(grid->viewport(), grid);
    bool failed = false;
    bench::measureWithFloor(
        state,
        [&] {
            wait.begin();
            screen.RefreshRespondeSummaryReportList(1, 0);
            if (!wait.waitShown([&] { return grid->rowCount() > 0; }) && !failed) {
                failed = true;
                state.SkipWithError("the summary was not shown");
            }
        },
        [&] { floor(o.raw); });
    state.counters["rows"] = grid->rowCount();
}

void summaryRefresh(benchmark::State& state)
{
    summary(state, perAnswerCountsFloor);
}

void summaryRefreshGroupByReference(benchmark::State& state)
{
    summary(state, groupByReference);
    bench::keepFloorAsReference(state);
}

void csvExport(benchmark::State& state)
{
    Opened& o = opened(int(state.range(0)));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("program.csv"));
    const QString copy = dir.filePath(QStringLiteral("floor.csv"));
    CsvFloor floor(o.raw);
    qint64 reports = 0;
    const Progress progress = [&](qint64, qint64) {
        ++reports;
        return true;
    };
    double peak = 0;
    bench::measureWithFloor(
        state,
        [&] {
            bench::resetPeak();
            CsvExport::writeFile(o.session.SurveyConnection, file, progress);
            peak = std::max(peak, bench::peakMegabytes());
        },
        [&] { floor.write(copy); });
    state.counters["peak_MB"] = peak;
    state.counters["file_MB"] = double(QFile(file).size()) / (1024.0 * 1024.0);
    if (!sameBytes(file, copy))
        state.SkipWithError("the floor's file is not the program's");
}

void detailReport(benchmark::State& state)
{
    Opened& o = opened(int(state.range(0)));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("program.rtf"));
    const QString copy = dir.filePath(QStringLiteral("floor.rtf"));
    DetailReport::writeFile(o.session.SurveyConnection, file, {});
    const qint64 size = QFile(file).size();
    const QByteArray block(1024 * 1024, 'x');
    double peak = 0;
    bench::measureWithFloor(
        state,
        [&] {
            bench::resetPeak();
            DetailReport::writeFile(o.session.SurveyConnection, file, {});
            peak = std::max(peak, bench::peakMegabytes());
        },
        [&] {
            orderedScanFloor(o.raw);
            SavedFile out(copy);
            for (qint64 left = size; left > 0; left -= block.size())
                out.put(block.constData(), std::min<qint64>(left, block.size()));
            out.commit();
        });
    state.counters["peak_MB"] = peak;
    state.counters["file_MB"] = double(size) / (1024.0 * 1024.0);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::atBothSizes("SummaryRefresh", summaryRefresh, 3, 6);
    bench::atSize("SummaryRefreshGroupByReference", summaryRefreshGroupByReference, bench::kRespondents, 3);
    bench::atBothSizes("CsvExport", csvExport, 1, 2);
    bench::atSize("DetailReport", detailReport, bench::kRespondents, 2);
    return bench::runBenchmarks(argc, argv);
}
