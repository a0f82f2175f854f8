#include "BenchSurvey.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <map>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>
#include <string>

namespace bench {

namespace {

// Question types as the survey file stores them.
constexpr qint32 kOpenEnded = 0;
constexpr qint32 kCheck = 1;
constexpr qint32 kRadio = 2;
constexpr qint32 kMatrix = 3;
constexpr qint32 kText = 4;

constexpr qint32 kCycle[10]
    = { kOpenEnded, kCheck, kRadio, kMatrix, kCheck, kRadio, kOpenEnded, kMatrix, kRadio, kText };
constexpr int kCheckResponses = 5;
constexpr int kRadioResponses = 4;
constexpr int kMatrixRows = 4;
// The chance that a respondent answers a question, out of 1,000,000.
constexpr quint64 kAnswerChance = 147000;

[[noreturn]] void fail(sqlite3* db, const std::string& what)
{
    throw std::runtime_error(what + ": " + (db ? sqlite3_errmsg(db) : "no connection"));
}

quint64 mix(quint64 x)
{
    // splitmix64: a fixed hash, so that the fixture does not depend on a random generator.
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

quint64 hashOf(int respondent, int question, int salt = 0)
{
    return mix((quint64(respondent) << 24) ^ (quint64(question) << 4) ^ quint64(salt));
}

void bindText(sqlite3_stmt* stmt, int column, const QByteArray& text)
{
    sqlite3_bind_text(stmt, column, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

QByteArray questionRtf(int pos, qint32 type)
{
    static const char* const kTopics[] = { "the service at our branch", "the opening hours", "the price of a visit",
        "the staff's advice", "the waiting time", "our web site" };
    const char* topic = kTopics[pos % 6];
    if (type == kText) {
        return QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}"
                          "{\\colortbl;\\red0\\green0\\blue128;}\r\n\\uc1\\pard\\f0\\fs20\\b Part ")
            + QByteArray::number(pos) + QByteArray("\\b0\\par\r\n\\pard\\cf1 The next questions are about ") + topic
            + QByteArray(". Please answer each one; skip those that do not apply to you.\\cf0}");
    }
    return QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
                      "{\\f1\\fnil\\fcharset0 Times New Roman;}}{\\colortbl;\\red0\\green0\\blue128;}\r\n"
                      "\\uc1\\pard\\f0\\fs20 Question ")
        + QByteArray::number(pos) + QByteArray(": \\b how satisfied\\b0  are you with \\i ") + topic
        + QByteArray("\\i0 ?\\par\r\n\\pard\\cf1\\f1\\fs18 Think of your last visit to the caf\\'e9 "
                     "and choose the answer that fits best.\\cf0\\par\r\n\\pard\\f0\\fs20}");
}

QByteArray responseName(qint32 type, int pos, int j)
{
    if (type == kMatrix)
        return QByteArray("Row ") + QByteArray::number(j) + QByteArray(" of question ") + QByteArray::number(pos);
    static const char* const kNames[] = { "Very much", "Somewhat", "Not really", "Not at all", "Don't know" };
    return QByteArray(kNames[(j - 1) % 5]);
}

// The jump target of response j (1-based) of the radio question at pos, 0 for none.
int jumpOf(int pos, int j, int questions, int radioOrdinal, bool backwards)
{
    if (j == 1 && pos + 2 <= questions)
        return pos + 2;
    if (j == 3 && pos + 7 <= questions)
        return pos + 7;
    if (backwards && j == 2 && radioOrdinal % 3 == 2 && pos > 5)
        return pos - 5;
    return 0;
}

// The columns of every scale of the template, by scale id.
std::vector<std::vector<int>> scaleColumns(sqlite3* db)
{
    std::vector<std::vector<int>> columns(16);
    raw::Stmt rs(db, "SELECT responsematrixgroupid, id FROM responsematrix ORDER BY responsematrixgroupid, pos");
    while (rs.step()) {
        const int scale = sqlite3_column_int(rs, 0);
        if (scale >= 0 && scale < int(columns.size()))
            columns[size_t(scale)].push_back(sqlite3_column_int(rs, 1));
    }
    return columns;
}

// Writes the questions and responses of a survey of n questions (ids = positions) into an empty
// survey file, inside the caller's transaction.
void writeDesign(sqlite3* db, int n, bool backwardJumps)
{
    raw::Stmt addQuestion(db,
        "INSERT INTO question (id, question, questionno, qtype, pos, deleteme) "
        "VALUES (?, ?, ?, ?, ?, 0)");
    raw::Stmt addResponse(db,
        "INSERT INTO response (questionid, name, pos, responseMatrixGroupID, "
        "LogicJumpToQuestionID, deleteme) VALUES (?, ?, ?, ?, ?, 0)");
    int numbered = 0;
    int radios = 0;
    int matrices = 0;
    for (int pos = 1; pos <= n; ++pos) {
        const qint32 type = kCycle[(pos - 1) % 10];
        sqlite3_bind_int(addQuestion, 1, pos);
        bindText(addQuestion, 2, questionRtf(pos, type));
        bindText(addQuestion, 3, type == kText ? QByteArray() : QByteArray::number(++numbered));
        sqlite3_bind_int(addQuestion, 4, type);
        sqlite3_bind_int(addQuestion, 5, pos);
        addQuestion.run();

        const int count = type == kCheck ? kCheckResponses
            : type == kRadio             ? kRadioResponses
            : type == kMatrix            ? kMatrixRows
                                         : 0;
        const int scale = type == kMatrix ? 2 + (matrices++ % 5) : 2;
        const int radioOrdinal = type == kRadio ? radios++ : 0;
        for (int j = 1; j <= count; ++j) {
            sqlite3_bind_int(addResponse, 1, pos);
            bindText(addResponse, 2, responseName(type, pos, j));
            sqlite3_bind_int(addResponse, 3, j);
            sqlite3_bind_int(addResponse, 4, scale);
            const int jump = type == kRadio ? jumpOf(pos, j, n, radioOrdinal, backwardJumps) : 0;
            if (jump > 0)
                sqlite3_bind_int(addResponse, 5, jump);
            else
                sqlite3_bind_null(addResponse, 5);
            addResponse.run();
        }
    }
}

QByteArray openEndedAnswer(int respondent, int question)
{
    static const char* const kTexts[] = {
        "Fine, thanks.",
        "It's too slow at times, and the queue at noon is long.",
        "The caf\xc3\xa9 could open earlier.",
        "No comment",
        "Friendly staff; I would come back.",
        "Prices went up again this year, which I don't like.",
    };
    const quint64 h = hashOf(respondent, question, 7);
    return QByteArray(kTexts[h % 6]) + QByteArray(" (") + QByteArray::number(respondent) + QByteArray(")");
}

// The submission time of a respondent, in seconds after the first possible one: anywhere in two
// years, in an order of its own. Real lists are not in id order (imports bring old dates, a form
// typed in late keeps its own), and a date index that follows the ids reads the rows in file
// order, which no real survey gives. Every date is in the past, so a respondent added now is
// the newest.
constexpr qint64 kSubmittedSpan = 2 * 365 * 24 * 3600;

qint64 submittedOffset(int respondent)
{
    return qint64(mix(quint64(respondent) ^ 0x5ea5u) % quint64(kSubmittedSpan));
}

void writeAnswers(sqlite3* db, const std::vector<FixtureQuestion>& questions, int respondents)
{
    raw::Stmt addRespondent(db,
        "INSERT INTO respondent (id, submitteddate, source) VALUES "
        "(?, datetime('2022-01-01 00:00:00', '+' || ? || ' seconds'), ?)");
    raw::Stmt addAnswer(db,
        "INSERT INTO Respondent_Responses (QuestionID, RespondentID, ResponseID, "
        "SimpleResponse, ResponseMatrixID) VALUES (?, ?, ?, ?, ?)");
    const QByteArray manual("Manual Entry");
    const QByteArray web("Web");
    auto answer = [&](int question, int respondent, int response, const QByteArray* text, int column) {
        sqlite3_bind_int(addAnswer, 1, question);
        sqlite3_bind_int(addAnswer, 2, respondent);
        sqlite3_bind_int(addAnswer, 3, response);
        if (text)
            bindText(addAnswer, 4, *text);
        else
            sqlite3_bind_null(addAnswer, 4);
        if (column > 0)
            sqlite3_bind_int(addAnswer, 5, column);
        else
            sqlite3_bind_null(addAnswer, 5);
        addAnswer.run();
    };

    for (int r = 1; r <= respondents; ++r) {
        if (respondents > kRespondents && r % 100000 == 0)
            std::fprintf(stderr, "  %d respondents ...\n", r);
        sqlite3_bind_int(addRespondent, 1, r);
        sqlite3_bind_int64(addRespondent, 2, submittedOffset(r));
        bindText(addRespondent, 3, r % 10 >= 7 ? web : manual);
        addRespondent.run();

        for (const FixtureQuestion& q : questions) {
            if (q.type == kText || hashOf(r, q.id) % 1000000 >= kAnswerChance)
                continue;
            const quint64 h = hashOf(r, q.id, 1);
            switch (q.type) {
            case kOpenEnded: {
                const QByteArray text = openEndedAnswer(r, q.id);
                answer(q.id, r, 1, &text, 0);
                break;
            }
            case kCheck: {
                const int chosen = 1 + int(h % 3);
                for (int k = 0; k < chosen; ++k)
                    answer(q.id, r, q.responses[(h / 3 + size_t(k) * 2) % q.responses.size()], nullptr, 0);
                break;
            }
            case kRadio:
                answer(q.id, r, q.responses[h % q.responses.size()], nullptr, 0);
                break;
            case kMatrix:
                for (size_t row = 0; row < q.responses.size(); ++row) {
                    const quint64 c = hashOf(r, q.id, 2 + int(row));
                    answer(q.id, r, q.responses[row], nullptr, q.columns[c % q.columns.size()]);
                }
                break;
            default:
                break;
            }
        }
    }
}

std::vector<FixtureQuestion> readLayout(sqlite3* db)
{
    std::vector<FixtureQuestion> questions;
    {
        raw::Stmt rs(db, "SELECT id, pos, qtype FROM question ORDER BY pos");
        while (rs.step()) {
            FixtureQuestion q;
            q.id = sqlite3_column_int(rs, 0);
            q.pos = sqlite3_column_int(rs, 1);
            q.type = sqlite3_column_int(rs, 2);
            questions.push_back(q);
        }
    }
    const std::vector<std::vector<int>> columns = scaleColumns(db);
    raw::Stmt responses(db,
        "SELECT id, responseMatrixGroupID, LogicJumpToQuestionID FROM response "
        "WHERE questionid = ? ORDER BY pos");
    for (FixtureQuestion& q : questions) {
        sqlite3_bind_int(responses, 1, q.id);
        while (responses.step()) {
            q.responses.push_back(sqlite3_column_int(responses, 0));
            q.jumps.push_back(sqlite3_column_int(responses, 2));
            if (q.type == kMatrix)
                q.scale = sqlite3_column_int(responses, 1);
        }
        responses.reset();
        if (q.type == kMatrix && q.scale >= 0 && q.scale < int(columns.size()))
            q.columns = columns[size_t(q.scale)];
    }
    return questions;
}

// A hash of the template's schema, so that a changed template builds the fixtures again.
QString templateKey()
{
    static const QString key = [] {
        sqlite3* db = raw::open(templatePath(), true);
        QCryptographicHash hash(QCryptographicHash::Sha1);
        {
            raw::Stmt rs(db, "SELECT type, name, sql FROM sqlite_master ORDER BY type, name");
            while (rs.step()) {
                for (int i = 0; i < 3; ++i) {
                    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(rs, i));
                    hash.addData(QByteArrayView(text ? text : ""));
                    hash.addData(QByteArrayView("\n"));
                }
            }
        }
        raw::close(db);
        return QString::fromLatin1(hash.result().toHex().left(10));
    }();
    return key;
}

QString cachedName(const QString& stem)
{
    return QDir(cacheFolder())
        .filePath(QStringLiteral("%1-v%2-%3.tvq").arg(stem).arg(kFixtureVersion).arg(templateKey()));
}

// Gives the cached file of that name, building it with build(db) on a copy of the template
// first when it is not there yet.
QString cached(const QString& stem, const std::function<void(sqlite3*)>& build)
{
    const QString path = cachedName(stem);
    if (QFileInfo::exists(path))
        return path;
    const QString part = path + QStringLiteral(".part-%1").arg(QCoreApplication::applicationPid());
    std::fprintf(stderr, "Building the benchmark fixture %s ...\n", qPrintable(path));
    copySurvey(templatePath(), QFileInfo(part).absolutePath(), QFileInfo(part).fileName());
    try {
        sqlite3* db = raw::open(part, false);
        try {
            raw::exec(db, "PRAGMA journal_mode = OFF");
            raw::exec(db, "PRAGMA synchronous = OFF");
            raw::exec(db, "PRAGMA cache_size = -1048576");
            // The index builds of the large survey sort tens of millions of rows.
            raw::exec(db, "PRAGMA threads = 2");
            raw::exec(db, "BEGIN");
            build(db);
            raw::exec(db, "COMMIT");
            raw::exec(db, "PRAGMA journal_mode = DELETE");
        } catch (...) {
            raw::close(db);
            throw;
        }
        raw::close(db);
    } catch (...) {
        QFile::remove(part);
        throw;
    }
    QFile::setPermissions(part, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    // Another process may have built it meanwhile; either file is complete.
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(path).constData()) != 0)
        QFile::remove(part);
    return path;
}

} // namespace

QString binFolder()
{
    return QStringLiteral(TESSIVO_BIN_DIR);
}

QString templatePath()
{
    return QDir(binFolder()).filePath(QStringLiteral("blank.mdb"));
}

QString cacheFolder()
{
    QString folder = qEnvironmentVariable("TESSIVO_BENCH_CACHE");
    if (folder.isEmpty())
        folder = QStringLiteral(TESSIVO_BENCH_CACHE_DIR);
    QDir().mkpath(folder);
    return folder;
}

QString copySurvey(const QString& from, const QString& folder, const QString& name)
{
    QDir().mkpath(folder);
    const QString to = QDir(folder).filePath(name);
    QFile::remove(to);
    if (!QFile::copy(from, to))
        throw std::runtime_error("Could not copy " + from.toStdString() + " to " + to.toStdString());
    QFile::setPermissions(to, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return to;
}

const AnswerSurvey& answerSurveyFixture(int respondents)
{
    // Built and read once per size and process; a survey of another size is not touched.
    static std::map<int, AnswerSurvey> surveys;
    const auto found = surveys.find(respondents);
    if (found != surveys.end())
        return found->second;

    AnswerSurvey s;
    s.path = cached(QStringLiteral("answers-%1").arg(respondents), [respondents](sqlite3* db) {
        writeDesign(db, kAnswerQuestions, false);
        const std::vector<FixtureQuestion> layout = readLayout(db);

        // The indexes of the respondents and their answers are made again after the load: much
        // faster than keeping them up to date row by row.
        std::vector<std::string> names;
        std::vector<std::string> indexes;
        {
            raw::Stmt rs(db,
                "SELECT name, sql FROM sqlite_master WHERE type = 'index' AND tbl_name IN "
                "('Respondent_Responses', 'respondent') AND sql IS NOT NULL");
            while (rs.step()) {
                names.push_back(reinterpret_cast<const char*>(sqlite3_column_text(rs, 0)));
                indexes.push_back(reinterpret_cast<const char*>(sqlite3_column_text(rs, 1)));
            }
        }
        for (const std::string& name : names)
            raw::exec(db, ("DROP INDEX \"" + name + "\"").c_str());
        writeAnswers(db, layout, respondents);
        for (const std::string& sql : indexes)
            raw::exec(db, sql.c_str());
    });
    sqlite3* db = raw::open(s.path, true);
    s.questions = readLayout(db);
    {
        // Ids are given 1, 2, ... by the load and the file is never changed: the largest id is
        // the count, read from the table's end instead of by counting 50 million rows.
        raw::Stmt count(db, "SELECT (SELECT max(id) FROM respondent), (SELECT max(id) FROM Respondent_Responses)");
        count.step();
        s.respondents = sqlite3_column_int(count, 0);
        s.answerRows = sqlite3_column_int64(count, 1);
    }
    raw::close(db);
    return surveys.emplace(respondents, std::move(s)).first->second;
}

QString designSurveyPath(int questions)
{
    return cached(
        QStringLiteral("design-%1").arg(questions), [questions](sqlite3* db) { writeDesign(db, questions, true); });
}

void measureWithFloor(benchmark::State& state, const std::function<void()>& program, const std::function<void()>& floor,
    qint64 opsPerIteration, const std::function<void(Side)>& prepare)
{
    using Clock = std::chrono::steady_clock;
    const auto timed = [](const std::function<void()>& work) {
        return [&work] {
            const auto start = Clock::now();
            work();
            return std::chrono::duration<double>(Clock::now() - start).count();
        };
    };
    measureSelfTimed(state, timed(program), timed(floor), opsPerIteration, prepare);
}

void measureSelfTimed(benchmark::State& state, const std::function<double()>& program,
    const std::function<double()>& floor, qint64 opsPerIteration, const std::function<void(Side)>& prepare)
{
    const auto run = [&](Side side) {
        if (prepare)
            prepare(side);
        return side == Side::Program ? program() : floor();
    };
    double programTotal = 0;
    double floorTotal = 0;
    bool programFirst = true;
    for (auto _ : state) {
        double p = 0;
        double f = 0;
        if (programFirst) {
            p = run(Side::Program);
            f = run(Side::Floor);
        } else {
            f = run(Side::Floor);
            p = run(Side::Program);
        }
        programFirst = !programFirst;
        programTotal += p;
        floorTotal += f;
        state.SetIterationTime(p);
    }
    const double ops = double(state.iterations()) * double(opsPerIteration);
    if (ops > 0) {
        state.counters["program"] = programTotal / ops;
        state.counters["floor"] = floorTotal / ops;
    }
    state.counters["ratio"] = floorTotal > 0 ? programTotal / floorTotal : 0.0;
    state.SetItemsProcessed(state.iterations() * opsPerIteration);
}

void keepFloorAsReference(benchmark::State& state)
{
    const auto floor = state.counters.find("floor");
    if (floor != state.counters.end()) {
        state.counters["reference"] = floor->second;
        state.counters.erase(floor);
    }
    state.counters.erase("ratio");
}

benchmark::internal::Benchmark* atSize(
    const char* name, void (*function)(benchmark::State&), int respondents, int iterations)
{
    benchmark::internal::Benchmark* b = benchmark::RegisterBenchmark(name, function)
                                            ->Arg(respondents)
                                            ->UseManualTime()
                                            ->Unit(benchmark::kMillisecond);
    if (iterations > 0)
        b->Iterations(iterations);
    return b;
}

void atBothSizes(const char* name, void (*function)(benchmark::State&), int largeIterations, int smallIterations)
{
    atSize(name, function, kRespondents, smallIterations);
    atSize(name, function, kLargeRespondents, largeIterations);
}

int runBenchmarks(int& argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

namespace {

// A figure of /proc/self/status in kB ("VmHWM:", "VmRSS:"), 0 when there is none.
double statusKilobytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray name(field);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(name))
            return line.mid(name.size()).trimmed().split(' ').constFirst().toDouble();
    }
    return 0;
}

} // namespace

double peakMegabytes()
{
    return statusKilobytes("VmHWM:") / 1024.0;
}

double residentBytes()
{
    return statusKilobytes("VmRSS:") * 1024.0;
}

void resetPeak()
{
    if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

namespace raw {

sqlite3* open(const QString& path, bool readOnly)
{
    sqlite3* db = nullptr;
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close_v2(db);
        throw std::runtime_error("Could not open " + path.toStdString() + ": " + message);
    }
    return db;
}

void close(sqlite3* db)
{
    sqlite3_close_v2(db);
}

void exec(sqlite3* db, const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "error";
        sqlite3_free(error);
        throw std::runtime_error(std::string(sql) + ": " + message);
    }
}

Stmt::Stmt(sqlite3* db, const char* sql)
    : db_(db)
{
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK)
        fail(db, sql);
}

Stmt::~Stmt()
{
    sqlite3_finalize(stmt_);
}

bool Stmt::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail(db_, sqlite3_sql(stmt_));
}

void Stmt::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

void Stmt::run()
{
    while (step()) { }
    reset();
}

} // namespace raw

} // namespace bench
