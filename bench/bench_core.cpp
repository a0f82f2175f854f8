// Speed of the survey document and its database layer, each workload beside its raw-SQLite
// floor (see BenchSurvey.h for the fixture and the "ratio" counter):
//   Open/n      opening a survey file of n questions: connection, version check, questions and
//               responses read, jumps resolved (SurveyFile::openConnection, versionMismatch, Load)
//   Save/n      saving it again into its file (SurveyFile::save: mark, update every row, sweep)
//   SaveNew/n   saving a survey of n new questions into a blank file (every row inserted)
//   FileSave/n  File > Save in the main window with the question tree filled: save, close and
//               reopen with the tree, the lists and the screens refreshed (frmMain::DoSave)
//   FileSaveAnswers/r  the same for the 200 questions of the survey of r respondents (100,000 and
//               1,000,000), on the Design screen
//   FileSaveAnswersFromCollection/r  the same on the Data Collection screen, until the respondent
//               list is on screen again with its first rows filled
//   AnswerLookup / ChoiceLookup  one answer read back as answer entry does, at 100,000
//               respondents (5 million answer rows), through Connection::openRecordset
//   AppendAnswer one answer row added inside a transaction, through Connection::appendRow
// How to build and run them: README, "Benchmarks".
#include "BenchScreen.h"
#include "BenchSurvey.h"
#include "document/SurveyFile.h"
#include "platform/AppPath.h"
#include "platform/Settings.h"
#include "platform/Shell.h"
#include "platform/TextUtil.h"
#include "shell/frmMain.h"
#include "shell/frmSplash.h"
#include "widgets/Dialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <unordered_map>

namespace {

using bench::measureWithFloor;
using bench::Side;

QTemporaryDir& workFolder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tessivo-bench-XXXXXX"));
    return dir;
}

QString workCopy(const QString& from, const QString& name)
{
    return bench::copySurvey(from, workFolder().path(), name);
}

// The floor's survey: the same values the program holds, in plain structures.
struct RawResponse {
    int id = -1;
    std::string name;
    int jumpId = -1; // as stored; -1 for none
    int jumpTo = -1; // index of the target question; -1 for none
};

struct RawQuestion {
    int id = -1;
    int type = 0;
    std::string text;
    std::string number;
    int scale = 1;
    std::vector<RawResponse> responses;
};

std::string columnText(sqlite3_stmt* stmt, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return text ? std::string(text, size_t(sqlite3_column_bytes(stmt, column))) : std::string();
}

int columnIndex(sqlite3_stmt* stmt, const char* name)
{
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
        if (sqlite3_stricmp(sqlite3_column_name(stmt, i), name) == 0)
            return i;
    }
    return -1;
}

bool carries(int type)
{
    return type == 1 || type == 2 || type == 3;
}

// The floor of opening: the reads of openConnection, versionMismatch and Load (which reads the
// questions and responses inside one read transaction, as here).
std::vector<RawQuestion> rawLoad(sqlite3* db)
{
    {
        bench::raw::Stmt tables(db, "SELECT name FROM sqlite_master WHERE type = 'table'");
        std::vector<std::string> names;
        while (tables.step())
            names.push_back(columnText(tables, 0));
        benchmark::DoNotOptimize(names.data());
    }
    {
        bench::raw::Stmt version(db, "SELECT * FROM version");
        if (version.step() && sqlite3_column_double(version, 0) != 1.7)
            throw std::runtime_error("version");
    }
    bench::raw::exec(db, "BEGIN DEFERRED");
    std::vector<RawQuestion> questions;
    std::unordered_map<int, int> byId;
    {
        bench::raw::Stmt rs(db, "SELECT * FROM question ORDER BY pos");
        const int text = columnIndex(rs, "question");
        const int type = columnIndex(rs, "qtype");
        const int id = columnIndex(rs, "id");
        const int number = columnIndex(rs, "questionno");
        while (rs.step()) {
            RawQuestion q;
            q.text = columnText(rs, text);
            q.type = sqlite3_column_int(rs, type);
            q.id = sqlite3_column_int(rs, id);
            q.number = columnText(rs, number);
            byId.emplace(q.id, int(questions.size()));
            questions.push_back(std::move(q));
        }
    }
    bench::raw::Stmt responses(db,
        "SELECT id, name, responseMatrixGroupID, LogicJumpToQuestionID FROM response "
        "WHERE questionid = ? ORDER BY pos");
    for (RawQuestion& q : questions) {
        if (!carries(q.type))
            continue;
        sqlite3_bind_int(responses, 1, q.id);
        bool first = true;
        while (responses.step()) {
            if (first) {
                q.scale = sqlite3_column_int(responses, 2);
                first = false;
            }
            RawResponse r;
            r.id = sqlite3_column_int(responses, 0);
            r.name = columnText(responses, 1);
            if (sqlite3_column_type(responses, 3) != SQLITE_NULL) {
                r.jumpId = sqlite3_column_int(responses, 3);
                const auto target = byId.find(r.jumpId);
                r.jumpTo = target == byId.end() ? -1 : target->second;
            }
            q.responses.push_back(std::move(r));
        }
        responses.reset();
    }
    bench::raw::exec(db, "ROLLBACK");
    return questions;
}

std::vector<RawQuestion> rawOpen(const QString& path)
{
    sqlite3* db = bench::raw::open(path, false);
    std::vector<RawQuestion> questions;
    try {
        questions = rawLoad(db);
    } catch (...) {
        bench::raw::close(db);
        throw;
    }
    bench::raw::close(db);
    return questions;
}

void bindText(sqlite3_stmt* stmt, int column, const std::string& text)
{
    sqlite3_bind_text(stmt, column, text.data(), int(text.size()), SQLITE_STATIC);
}

// The floor of saving: the statements of SurveyFile::save, prepared once per save.
void rawSave(sqlite3* db, std::vector<RawQuestion>& questions)
{
    using bench::raw::Stmt;
    bench::raw::exec(db, "BEGIN IMMEDIATE");
    bench::raw::exec(db, "UPDATE question SET deleteme = true");
    bench::raw::exec(db, "UPDATE response SET deleteme = true");
    Stmt findQuestion(db, "SELECT id FROM question WHERE id = ?");
    Stmt updateQuestion(db,
        "UPDATE question SET Deleteme = false, questionno = ?, question = ?, qtype = ?, "
        "pos = ? WHERE id = ?");
    Stmt insertQuestion(db,
        "INSERT INTO \"question\" (\"question\", \"questionno\", \"qtype\", \"pos\", \"Deleteme\") "
        "VALUES (?, ?, ?, ?, ?)");
    for (size_t i = 0; i < questions.size(); ++i) {
        RawQuestion& q = questions[i];
        sqlite3_bind_int(findQuestion, 1, q.id);
        const bool stored = findQuestion.step();
        findQuestion.reset();
        if (!stored) {
            bindText(insertQuestion, 1, q.text);
            bindText(insertQuestion, 2, q.number);
            sqlite3_bind_int(insertQuestion, 3, q.type);
            sqlite3_bind_int(insertQuestion, 4, int(i + 1));
            sqlite3_bind_int(insertQuestion, 5, 0);
            insertQuestion.run();
            q.id = int(sqlite3_last_insert_rowid(db));
        } else {
            bindText(updateQuestion, 1, q.number);
            bindText(updateQuestion, 2, q.text);
            sqlite3_bind_int(updateQuestion, 3, q.type);
            sqlite3_bind_int(updateQuestion, 4, int(i + 1));
            sqlite3_bind_int(updateQuestion, 5, q.id);
            updateQuestion.run();
        }
    }
    Stmt findResponse(db, "SELECT id FROM response WHERE id = ?");
    Stmt updateResponse(db,
        "UPDATE response SET Deleteme = false, name = ?, responseMatrixGroupID = ?, "
        "LogicJumpToQuestionID = ?, pos = ? WHERE id = ?");
    Stmt insertResponse(db,
        "INSERT INTO \"response\" (\"questionid\", \"name\", \"pos\", \"responseMatrixGroupID\", "
        "\"LogicJumpToQuestionID\") VALUES (?, ?, ?, ?, ?)");
    for (RawQuestion& q : questions) {
        sqlite3_bind_int(findQuestion, 1, q.id);
        const bool stored = findQuestion.step();
        findQuestion.reset();
        if (!stored || !carries(q.type))
            continue;
        for (size_t j = 0; j < q.responses.size(); ++j) {
            const RawResponse& r = q.responses[j];
            const int jump = r.jumpTo >= 0 ? questions[size_t(r.jumpTo)].id : -1;
            sqlite3_bind_int(findResponse, 1, r.id);
            const bool exists = findResponse.step();
            findResponse.reset();
            if (exists) {
                bindText(updateResponse, 1, r.name);
                sqlite3_bind_int(updateResponse, 2, q.scale);
                if (jump >= 0)
                    sqlite3_bind_int(updateResponse, 3, jump);
                sqlite3_bind_int(updateResponse, 4, int(j + 1));
                sqlite3_bind_int(updateResponse, 5, r.id);
                updateResponse.run();
            } else {
                sqlite3_bind_int(insertResponse, 1, q.id);
                bindText(insertResponse, 2, r.name);
                sqlite3_bind_int(insertResponse, 3, int(j + 1));
                sqlite3_bind_int(insertResponse, 4, q.scale);
                if (jump >= 0)
                    sqlite3_bind_int(insertResponse, 5, jump);
                insertResponse.run();
            }
        }
    }
    bench::raw::exec(db, "DELETE FROM response WHERE deleteme = true;");
    bench::raw::exec(db, "DELETE FROM question WHERE deleteme = true;");
    bench::raw::exec(db, "COMMIT");
}

void forgetIds(clsSurvey& survey)
{
    for (int i = 1; i <= survey.QCount(); ++i) {
        const QPtr q = survey.GetQIndex(i);
        q->DatabaseID = -1;
        for (int j = 1; j <= q->ResponsesCount(); ++j)
            q->GetResponse(j)->DatabaseID = -1;
    }
}

void forgetIds(std::vector<RawQuestion>& questions)
{
    for (RawQuestion& q : questions) {
        q.id = -1;
        for (RawResponse& r : q.responses)
            r.id = -1;
    }
}

void loadSurvey(const QString& path, clsSurvey& survey)
{
    db::Connection connection;
    SurveyFile::openConnection(connection, path);
    if (SurveyFile::versionMismatch(connection))
        throw std::runtime_error("version");
    SurveyFile::load(connection, survey);
}

// Open

void Open(benchmark::State& state)
{
    const QString path = workCopy(bench::designSurveyPath(int(state.range(0))), QStringLiteral("open.tvq"));
    measureWithFloor(
        state,
        [&] {
            clsSurvey survey;
            loadSurvey(path, survey);
            benchmark::DoNotOptimize(survey.QCount());
        },
        [&] {
            const std::vector<RawQuestion> questions = rawOpen(path);
            benchmark::DoNotOptimize(questions.data());
        });
}
BENCHMARK(Open)->Arg(1000)->Arg(10000)->Arg(20000)->UseManualTime()->Unit(benchmark::kMillisecond);

// Save

void Save(benchmark::State& state)
{
    const QString design = bench::designSurveyPath(int(state.range(0)));
    const QString programFile = workCopy(design, QStringLiteral("save-program.tvq"));
    const QString floorFile = workCopy(design, QStringLiteral("save-floor.tvq"));
    db::Connection connection;
    SurveyFile::openConnection(connection, programFile);
    clsSurvey survey;
    SurveyFile::load(connection, survey);
    std::vector<RawQuestion> questions = rawOpen(floorFile);
    sqlite3* db = bench::raw::open(floorFile, false);
    measureWithFloor(
        state, [&] { SurveyFile::save(connection, survey); }, [&] { rawSave(db, questions); });
    bench::raw::close(db);
}
BENCHMARK(Save)->Arg(1000)->Arg(10000)->Arg(20000)->UseManualTime()->Unit(benchmark::kMillisecond);

void SaveNew(benchmark::State& state)
{
    const QString design = bench::designSurveyPath(int(state.range(0)));
    clsSurvey survey;
    loadSurvey(workCopy(design, QStringLiteral("savenew-source.tvq")), survey);
    std::vector<RawQuestion> questions = rawOpen(design);
    db::Connection connection;
    sqlite3* db = nullptr;
    measureWithFloor(
        state, [&] { SurveyFile::save(connection, survey); }, [&] { rawSave(db, questions); }, 1,
        [&](Side side) {
            if (side == Side::Program) {
                connection.close();
                SurveyFile::openConnection(
                    connection, workCopy(bench::templatePath(), QStringLiteral("savenew-program.tvq")));
                forgetIds(survey);
            } else {
                bench::raw::close(db);
                db = bench::raw::open(workCopy(bench::templatePath(), QStringLiteral("savenew-floor.tvq")), false);
                forgetIds(questions);
            }
        });
    bench::raw::close(db);
}
BENCHMARK(SaveNew)->Arg(1000)->Arg(10000)->Arg(20000)->UseManualTime()->Unit(benchmark::kMillisecond);

// File > Save in the main window

void FileSave(benchmark::State& state)
{
    const QString design = bench::designSurveyPath(int(state.range(0)));
    const QString programFile = workCopy(design, QStringLiteral("filesave-program.tvq"));
    const QString floorFile = workCopy(design, QStringLiteral("filesave-floor.tvq"));
    SurveySession session;
    db::Connection library;
    auto window = std::make_unique<frmMain>(session, library);
    window->Form_Load(programFile);
    window->show();
    QCoreApplication::processEvents();
    if (window->session().Survey.QCount() != int(state.range(0))) {
        state.SkipWithError("the survey did not open");
        return;
    }

    std::vector<RawQuestion> questions = rawOpen(floorFile);
    sqlite3* db = bench::raw::open(floorFile, false);
    measureWithFloor(
        state,
        [&] {
            if (!window->DoSave())
                throw std::runtime_error("DoSave failed");
            QCoreApplication::processEvents();
        },
        [&] {
            rawSave(db, questions);
            bench::raw::close(db);
            db = bench::raw::open(floorFile, false);
            questions = rawLoad(db);
        });
    bench::raw::close(db);
    window->session().setFileChanged(false);
    window->close();
}
BENCHMARK(FileSave)->Arg(1000)->Arg(10000)->Arg(20000)->UseManualTime()->Unit(benchmark::kMillisecond);

// File > Save of the design of an answer survey (200 questions, n respondents): the save, the
// reopen and the screens refreshed, until the window shows the survey again. On the Design screen
// the respondent list, not on view, is refilled only when it is shown next; on the Data
// Collection screen it is refilled at once, and the save lasts until the list is on screen with
// its first rows filled. The floor is the save's statements, the reopen's reads and, on the Data
// Collection screen, the list's floor (RespondentList in bench_collection). Program and floor save
// into one copy of the survey, in turn.
void fileSaveAnswers(benchmark::State& state, bool onCollection)
{
    const int n = int(state.range(0));
    const QString file = workCopy(bench::answerSurveyFixture(n).path, QStringLiteral("answers-save.tvq"));
    SurveySession session;
    db::Connection library;
    auto window = std::make_unique<frmMain>(session, library);
    window->Form_Load(file);
    window->show();
    QCoreApplication::processEvents();
    if (window->session().Survey.QCount() != bench::kAnswerQuestions) {
        state.SkipWithError("the survey did not open");
        return;
    }
    auto* grid = window->findChild<QAbstractItemView*>(QStringLiteral("gRespondents"));
    // On the Design screen any paint of the window after the save shows it; on the Data
    // Collection screen the list's rows must be painted.
    bench::ScreenWait wait(
        onCollection ? grid->viewport() : static_cast<QWidget*>(window.get()), onCollection ? grid : nullptr);
    bench::ListTexts expected;
    int inView = 0;
    if (onCollection) {
        sqlite3* db = bench::raw::open(file, true);
        {
            bench::RawRespondentList list(db);
            list.readOrder();
            expected = list.texts(0, 100);
        }
        bench::raw::close(db);
        window->ShowScreen(QStringLiteral("Respondent"));
        wait.begin();
        if (!wait.waitShown([&] { return bench::viewShows(grid, expected); })) {
            state.SkipWithError("the list did not show its first rows");
            return;
        }
        const auto [first, last] = bench::rowsInView(grid);
        inView = last - first + 1;
    }

    std::vector<RawQuestion> questions = rawOpen(file);
    sqlite3* db = bench::raw::open(file, false);
    bool failed = false;
    measureWithFloor(
        state,
        [&] {
            wait.begin();
            if (!window->DoSave())
                throw std::runtime_error("DoSave failed");
            const bool shown = wait.waitShown(
                [&] { return !onCollection || (bench::viewShows(grid, expected) && grid->currentIndex().row() == 0); });
            if (!shown && !failed) {
                failed = true;
                state.SkipWithError("the window did not show the survey again");
            }
        },
        [&] {
            rawSave(db, questions);
            bench::raw::close(db);
            db = bench::raw::open(file, false);
            questions = rawLoad(db);
            if (onCollection) {
                bench::RawRespondentList list(db);
                list.floorList(inView);
            }
        });
    bench::raw::close(db);
    window->session().setFileChanged(false);
    window->close();
}

void FileSaveAnswers(benchmark::State& state)
{
    fileSaveAnswers(state, false);
}

void FileSaveAnswersFromCollection(benchmark::State& state)
{
    fileSaveAnswers(state, true);
}

// Answer look-ups at 100,000 respondents

constexpr int kBatch = 1000;

struct LookupCase {
    std::vector<std::pair<int, int>> keys; // question, respondent (and response for choices)
    std::vector<int> responses;
};

const bench::FixtureQuestion& firstOfType(qint32 type)
{
    for (const bench::FixtureQuestion& q : bench::answerSurveyFixture().questions) {
        if (q.type == type)
            return q;
    }
    throw std::runtime_error("no question of that type");
}

// Respondents in a fixed scattered order, so that every look-up reads another part of the file.
int respondentAt(int i)
{
    return int((quint64(i) * 7919u) % quint64(bench::kRespondents)) + 1;
}

void openAnswers(db::Connection& connection)
{
    connection.open(bench::answerSurveyFixture().path, SurveyFile::requiredTables(), db::OpenMode::ReadOnly);
}

// The typed answer of an open-ended question, as answer entry shows it.
void AnswerLookup(benchmark::State& state)
{
    db::Connection connection;
    openAnswers(connection);
    const int question = firstOfType(QTypeOpenEnded).id;
    const QString sql
        = QStringLiteral("SELECT simpleresponse FROM Respondent_Responses WHERE questionid = ? AND respondentid = ?");
    bench::raw::Stmt floorStmt(connection.handle(),
        "SELECT simpleresponse FROM Respondent_Responses WHERE questionid = ? AND respondentid = ?");
    int next = 0;
    int nextFloor = 0;
    qint64 found = 0;
    measureWithFloor(
        state,
        [&] {
            for (int k = 0; k < kBatch; ++k) {
                db::Recordset rs = connection.openRecordset(sql, { question, respondentAt(next++) });
                if (!rs.atEnd()) {
                    const QString text = NullToEmpty(rs.field(QStringLiteral("simpleresponse")));
                    found += text.size();
                }
            }
        },
        [&] {
            for (int k = 0; k < kBatch; ++k) {
                sqlite3_bind_int(floorStmt, 1, question);
                sqlite3_bind_int(floorStmt, 2, respondentAt(nextFloor++));
                if (floorStmt.step()) {
                    const std::string text = columnText(floorStmt, 0);
                    found += qint64(text.size());
                }
                floorStmt.reset();
            }
        },
        kBatch);
    benchmark::DoNotOptimize(found);
}
BENCHMARK(AnswerLookup)->UseManualTime()->Unit(benchmark::kMillisecond);

// Whether a response of a check question was chosen, as answer entry ticks its boxes.
void ChoiceLookup(benchmark::State& state)
{
    db::Connection connection;
    openAnswers(connection);
    const bench::FixtureQuestion& q = firstOfType(QTypeCheck);
    const QString sql = QStringLiteral(
        "SELECT id FROM Respondent_Responses WHERE responseid = ? AND questionid = ? AND respondentid = ?");
    bench::raw::Stmt floorStmt(connection.handle(),
        "SELECT id FROM Respondent_Responses WHERE responseid = ? AND questionid = ? AND respondentid = ?");
    int next = 0;
    int nextFloor = 0;
    qint64 found = 0;
    measureWithFloor(
        state,
        [&] {
            for (int k = 0; k < kBatch; ++k, ++next) {
                const int response = q.responses[size_t(next) % q.responses.size()];
                db::Recordset rs = connection.openRecordset(sql, { response, q.id, respondentAt(next) });
                found += rs.atEnd() ? 0 : 1;
            }
        },
        [&] {
            for (int k = 0; k < kBatch; ++k, ++nextFloor) {
                sqlite3_bind_int(floorStmt, 1, q.responses[size_t(nextFloor) % q.responses.size()]);
                sqlite3_bind_int(floorStmt, 2, q.id);
                sqlite3_bind_int(floorStmt, 3, respondentAt(nextFloor));
                found += floorStmt.step() ? 1 : 0;
                floorStmt.reset();
            }
        },
        kBatch);
    benchmark::DoNotOptimize(found);
}
BENCHMARK(ChoiceLookup)->UseManualTime()->Unit(benchmark::kMillisecond);

// Answer rows added inside one transaction (rolled back at the end), on a copy of the answer survey.
void AppendAnswer(benchmark::State& state)
{
    static const QString copy = workCopy(bench::answerSurveyFixture().path, QStringLiteral("append.tvq"));
    db::Connection connection;
    SurveyFile::openConnection(connection, copy);
    const bench::FixtureQuestion& matrix = firstOfType(QTypeMatrix);
    const QVariant none;
    db::Transaction transaction(connection);
    bench::raw::Stmt floorStmt(connection.handle(),
        "INSERT INTO \"Respondent_Responses\" (\"QuestionID\", \"RespondentID\", \"ResponseID\", \"SimpleResponse\", "
        "\"ResponseMatrixID\") VALUES (?, ?, ?, ?, ?)");
    int respondent = bench::kRespondents;
    measureWithFloor(
        state,
        [&] {
            for (int k = 0; k < kBatch; ++k) {
                connection.appendRow(QStringLiteral("Respondent_Responses"),
                    {
                        { QStringLiteral("QuestionID"), matrix.id },
                        { QStringLiteral("RespondentID"), respondent + k / 8 },
                        { QStringLiteral("ResponseID"), matrix.responses[size_t(k) % matrix.responses.size()] },
                        { QStringLiteral("SimpleResponse"), none },
                        { QStringLiteral("ResponseMatrixID"), matrix.columns[size_t(k) % matrix.columns.size()] },
                    });
            }
            respondent += kBatch / 8;
        },
        [&] {
            for (int k = 0; k < kBatch; ++k) {
                sqlite3_bind_int(floorStmt, 1, matrix.id);
                sqlite3_bind_int(floorStmt, 2, respondent + k / 8);
                sqlite3_bind_int(floorStmt, 3, matrix.responses[size_t(k) % matrix.responses.size()]);
                sqlite3_bind_null(floorStmt, 4);
                sqlite3_bind_int(floorStmt, 5, matrix.columns[size_t(k) % matrix.columns.size()]);
                floorStmt.run();
                benchmark::DoNotOptimize(sqlite3_last_insert_rowid(connection.handle()));
            }
            respondent += kBatch / 8;
        },
        kBatch);
}
BENCHMARK(AppendAnswer)->UseManualTime()->Unit(benchmark::kMillisecond);

// The main window needs a program folder, settings of its own and no prompts waiting for a person.
void prepareProgram(const QString& folder)
{
    for (const char* name : { "blank.mdb", "Library.mdb", "TipOfTheDay.txt", "bhelp.hlp" }) {
        const QString to = QDir(folder).filePath(QString::fromLatin1(name));
        QFile::copy(QDir(bench::binFolder()).filePath(QString::fromLatin1(name)), to);
        QFile::setPermissions(to, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    setAppPath(folder);
    frmSplash::setDisplayTime(1);
    Dialogs::Script::begin();
}

// The offscreen platform warns about every window it cannot size by hints; nothing to see here.
QtMessageHandler previousHandler = nullptr;

void quietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support propagateSizeHints")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    previousHandler = qInstallMessageHandler(quietOffscreen);
    QTemporaryDir environment(QDir::tempPath() + QStringLiteral("/tessivo-bench-env-XXXXXX"));
    const QString runtime = environment.filePath(QStringLiteral("runtime"));
    QDir().mkpath(runtime);
    QDir().mkpath(environment.filePath(QStringLiteral("config")));
    QDir().mkpath(environment.filePath(QStringLiteral("program")));
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", environment.filePath(QStringLiteral("config")).toLocal8Bit());
    Shell::setRecording(true);

    QApplication app(argc, argv);
    prepareProgram(environment.filePath(QStringLiteral("program")));

    bench::atBothSizes("FileSaveAnswers", FileSaveAnswers);
    bench::atBothSizes("FileSaveAnswersFromCollection", FileSaveAnswersFromCollection, 3, 5);
    return bench::runScriptedBenchmarks(argc, argv);
}
