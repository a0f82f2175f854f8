#pragma once

// Shared fixture of the benchmarks (static library tessivo_bench_support).
//
// WHAT IT HOLDS
//
// Survey files built once by bulk insert with the raw SQLite C API from the template
// build/bin/blank.mdb, and cached between runs in build/bench-cache/ (or the folder named by the
// environment variable TESSIVO_BENCH_CACHE). A cached file's name carries kFixtureVersion and a
// hash of the template's schema: change either and the next run builds the file again (the old
// one can be deleted by hand). Files are built under a temporary name and renamed when complete,
// and are left read-only: open them with OpenMode::ReadOnly, or work on a copy (copySurvey).
//
// 1. The answer surveys, answerSurveyFixture(n): n respondents and 200 questions. The benchmarks
//    use n = 100,000 (kRespondents, about 5 million rows of Respondent_Responses, the default) and
//    n = 1,000,000 (kLargeRespondents, about 52 million rows, 4 GB; building it takes minutes).
//    Each size is built and read only when a benchmark asks for it, so the benchmarks at 100,000
//    never wait for the large one.
//    - Questions: ids 1 to 200 = pos 1 to 200. Types repeat every ten questions as
//      open-ended, check, radio, matrix, check, radio, open-ended, matrix, radio, instruction
//      text (40 open-ended, 40 check, 60 radio, 40 matrix, 20 instruction texts). Texts are RTF.
//    - Responses: check questions 5, radio questions 4 (response 1 jumps two questions on,
//      response 3 jumps seven on, when that question exists; the others have no jump), matrix
//      questions 4 rows; a matrix question uses answer scale 2 to 6 of the template (5 columns,
//      scale 6 has 2) and every one of its response rows carries that scale.
//    - Respondents: ids 1 to n, seven in ten "Manual Entry", the others "Web" (id % 10 >= 7).
//      submitteddate is 2022-01-01 00:00:00 plus a fixed hash of the id in seconds, anywhere in
//      the two years 2022 and 2023: the dates are in an order of their own, not the ids' (as in
//      a real survey, where imports and forms typed in late bring older dates), some respondents
//      share a second, and a respondent added now is the newest.
//    - Answers, in the shapes answer entry stores them: each respondent answers each
//      question that is not instruction text with a chance of about 15% (fixed hash of
//      respondent and question, so every run gives the same rows). Open-ended: one row with
//      ResponseID 1 and a text in SimpleResponse (some with an apostrophe, some with "é"); check:
//      one to three rows, each a chosen response id; radio: one row; matrix: one row per row of
//      the question with the row's response id and a responsematrix id of its scale. Rows are in
//      respondent order; instruction texts have none.
//    - Built with the raw C API in one transaction; the template's indexes of the respondents
//      and their answers are dropped for the bulk load and made again after it.
//    The layout (ids of questions, responses and scale columns) is read back into
//    AnswerSurvey::questions so that a benchmark can pick ids without a query.
//
// 2. Design surveys, designSurveyPath(n) for n questions (1,000, 10,000 and 20,000 are the
//    sizes of the open and save benchmarks): the same ten-type cycle, responses and jumps as
//    above, rich-text (RTF) question texts of about 300 characters, no respondents. Question ids
//    are their positions; some radio responses jump backwards (every third radio question's
//    response 2 goes five questions back).
//
// THE COUNTERS: every benchmark prints "program", the program's seconds per operation (m milli,
// u micro), and beside it its raw-SQLite floor, run in the same binary and the same benchmark
// with measureWithFloor below: each iteration runs the program's operation and then (or first,
// alternately) the floor doing the least the operation needs with the raw C API, statements
// prepared once. The benchmark's time is the program's (UseManualTime is required); the counters
// are "floor" (floor seconds per operation) and "ratio" = program time / floor time over the
// whole run. Follow this in new benchmarks: one workload per benchmark, its floor beside it, both
// timed by measureWithFloor (or measureSelfTimed, when the operation's wait begins or ends inside
// it). A reference that is no floor (it does other work than the program's least) shows as
// "reference", without a ratio.

#include <QString>

#include <benchmark/benchmark.h>
#include <chrono>
#include <functional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace bench {

// Raise it whenever what a fixture holds changes; the cached files are then built again.
constexpr int kFixtureVersion = 2;

constexpr int kRespondents = 100000;
constexpr int kLargeRespondents = 1000000;
constexpr int kAnswerQuestions = 200;

// The program's folder (build/bin) and the template survey.
QString binFolder();
QString templatePath();
// Where the cached fixture files live (created when missing).
QString cacheFolder();

struct FixtureQuestion {
    int id = 0;
    int pos = 0;
    qint32 type = 0;
    int scale = 0; // matrix: the answer scale; 0 otherwise
    std::vector<int> responses; // response ids in order (check, radio: choices; matrix: rows)
    std::vector<int> jumps; // radio: the question id each response jumps to, 0 for none
    std::vector<int> columns; // matrix: responsematrix ids of its scale in order
};

struct AnswerSurvey {
    QString path; // the cached file (read-only)
    std::vector<FixtureQuestion> questions; // in pos order
    int respondents = 0; // ids 1 to respondents
    qint64 answerRows = 0;
};

// The answer survey of that many respondents, built on first use (about half a minute for
// 100,000, some minutes for 1,000,000), with its layout read.
const AnswerSurvey& answerSurveyFixture(int respondents = kRespondents);

// The cached design survey of that many questions (built on first use).
QString designSurveyPath(int questions);

// A writable copy of a survey file at folder/name, replacing a file of that name; returns its path.
QString copySurvey(const QString& from, const QString& folder, const QString& name);

// Runs the program's operation and its floor once each per iteration (the order alternates) and
// reports as described in the header comment. opsPerIteration: how many operations one call of
// program (and of floor) performs, for the per-operation counters and items per second. prepare,
// when given, runs untimed before each call of program and of floor (for instance to copy a
// fresh file); it is told which of the two comes next.
enum class Side { Program, Floor };
void measureWithFloor(benchmark::State& state, const std::function<void()>& program, const std::function<void()>& floor,
    qint64 opsPerIteration = 1, const std::function<void(Side)>& prepare = {});
// The same for operations that time themselves: each call returns the seconds its operation
// took (a process's start to its first painted window, the list's wait from the moment the
// answer-entry dialog closes).
void measureSelfTimed(benchmark::State& state, const std::function<double()>& program,
    const std::function<double()>& floor, qint64 opsPerIteration = 1, const std::function<void(Side)>& prepare = {});
// After measureWithFloor: the floor was a reference, not the least the program must do; its time
// is kept as "reference" and there is no "ratio".
void keepFloorAsReference(benchmark::State& state);

// The process's peak resident memory in MB since the last reset (VmHWM), and its reset (to the
// memory resident now).
double peakMegabytes();
void resetPeak();
// The process's resident memory now, in bytes (VmRSS).
double residentBytes();

// Registers a benchmark of the answer surveys at both sizes, as name/100000 and name/1000000,
// timed by measureWithFloor or measureSelfTimed. largeIterations (smallIterations), when not 0,
// fixes the number of iterations at 1,000,000 (100,000), for operations that take seconds.
void atBothSizes(
    const char* name, void (*benchmark)(benchmark::State&), int largeIterations = 0, int smallIterations = 0);
// The same at one size only, as name/respondents.
benchmark::internal::Benchmark* atSize(
    const char* name, void (*benchmark)(benchmark::State&), int respondents, int iterations = 0);

// main()'s end in every benchmark program: the command line read, the benchmarks run; 1 on an
// argument it does not know.
int runBenchmarks(int& argc, char** argv);

// Small helpers for floors written with the raw C API. Every failure throws std::runtime_error.
namespace raw {

sqlite3* open(const QString& path, bool readOnly);
void close(sqlite3* db);
void exec(sqlite3* db, const char* sql);

class Stmt {
public:
    Stmt(sqlite3* db, const char* sql);
    ~Stmt();
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    sqlite3_stmt* get() const { return stmt_; }
    operator sqlite3_stmt*() const { return stmt_; }
    // sqlite3_step; true on a row, false when done; throws on an error.
    bool step();
    // Resets the statement and clears its bindings.
    void reset();
    // Steps to the end and resets.
    void run();

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace raw

} // namespace bench
