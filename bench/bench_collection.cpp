// Data Collection on the answer survey of 100,000 respondents and 200 questions: the respondent
// list refilled (grid included), and a page of answer entry shown and stored. Each beside its
// raw-SQLite floor (see BenchSurvey.h for "ratio"). A design save at that size is bench_core's
// FileSaveAnswers.
// Run build/bin/bench_collection.
#include "BenchSurvey.h"
#include "TestEnvironment.h"
#include "collection/CollectScreen.h"
#include "collection/frmManualResponse.h"
#include "document/SurveySession.h"
#include "widgets/FlexGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include <memory>
#include <sqlite3.h>

namespace {

using bench::raw::Stmt;

// Reads every column of every row, as a caller that uses the values must.
qint64 readAll(Stmt& stmt)
{
    qint64 bytes = 0;
    while (stmt.step()) {
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            if (sqlite3_column_type(stmt, i) == SQLITE_INTEGER)
                bytes += sqlite3_column_int64(stmt, i);
            else
                bytes += sqlite3_column_bytes(stmt, i) + (sqlite3_column_text(stmt, i) ? 1 : 0);
        }
    }
    stmt.reset();
    return bytes;
}

int firstOpenQuestion(const bench::AnswerSurvey& survey)
{
    for (const bench::FixtureQuestion& q : survey.questions) {
        if (q.type == 0)
            return q.id;
    }
    return -1;
}

// The whole respondent list, refilled on view, the grid included: 100,000 rows.
void RefreshRespondentList(benchmark::State& state)
{
    const bench::AnswerSurvey& survey = bench::AnswerSurveyFixture();
    SurveySession session;
    session.SurveyConnection.Open(survey.path, {}, db::OpenMode::ReadOnly);
    QWidget window;
    window.resize(1200, 800);
    auto* screen = new CollectScreen(session, &window);
    screen->resize(1200, 800);
    window.show();

    sqlite3* db = bench::raw::open(survey.path, true);
    Stmt questions(db, "SELECT id, question, questionno FROM question WHERE qtype = 0 ORDER BY pos");
    Stmt respondents(db,
        "SELECT r.id, r.submitteddate, r.source, (SELECT simpleresponse FROM Respondent_Responses "
        "WHERE respondentid = r.id AND questionid = ?) FROM respondent r "
        "ORDER BY r.submitteddate DESC, r.id DESC");
    const int example = firstOpenQuestion(survey);

    bench::MeasureWithFloor(
        state, [&] { screen->RefreshRespondentList(1, 0); },
        [&] {
            benchmark::DoNotOptimize(readAll(questions));
            sqlite3_bind_int(respondents, 1, example);
            benchmark::DoNotOptimize(readAll(respondents));
        });
    if (screen->findChild<FlexGrid*>(QStringLiteral("gRespondents"))->rows() != survey.respondents + 1)
        state.SkipWithError("the list does not hold every respondent");
    bench::raw::close(db);
}
BENCHMARK(RefreshRespondentList)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3);

// Answer entry on a writable copy, for a respondent who answered the first questions.
struct Entry {
    QTemporaryDir dir;
    QString path;
    db::Connection connection;
    std::unique_ptr<frmManualResponse> dialog;
    sqlite3* db = nullptr;
    int respondent = 0;

    Entry()
    {
        path = bench::CopySurvey(bench::AnswerSurveyFixture().path, dir.path(), QStringLiteral("entry.tvq"));
        connection.Open(path);
        db::Recordset rs = connection.OpenRecordset(QStringLiteral(
            "SELECT RespondentID FROM Respondent_Responses WHERE RespondentID BETWEEN 50000 AND 52000 "
            "AND QuestionID <= 10 GROUP BY RespondentID ORDER BY COUNT(DISTINCT QuestionID) DESC LIMIT 1"));
        respondent = rs.field(0).toInt();
        rs = db::Recordset();
        dialog = std::make_unique<frmManualResponse>(connection, respondent);
        db = bench::raw::open(path, false);
    }
    ~Entry()
    {
        bench::raw::close(db);
        dialog.reset();
        connection.Close();
    }
};

constexpr int kPages = 10; // one of each kind of page, twice over, and instruction text

// The reads of showing the page at a position, bare.
struct PageReads {
    explicit PageReads(sqlite3* db)
        : question(db, "SELECT id, question, questionno, qtype FROM question WHERE pos = ?")
        , open(db, "SELECT simpleresponse FROM Respondent_Responses WHERE questionid = ? AND respondentid = ?")
        , responses(db, "SELECT id, name, responsematrixgroupid FROM response WHERE questionid = ? ORDER BY pos")
        , stored(db,
              "SELECT ResponseID, ResponseMatrixID FROM Respondent_Responses WHERE questionid = ? AND "
              "respondentid = ? ORDER BY id")
        , columns(db, "SELECT id, name FROM responsematrix WHERE responsematrixgroupid = ? ORDER BY pos")
    { }

    void show(int pos, int respondent, const bench::FixtureQuestion& q)
    {
        sqlite3_bind_int(question, 1, pos);
        benchmark::DoNotOptimize(readAll(question));
        const auto bindTwo = [&](Stmt& s) {
            sqlite3_bind_int(s, 1, q.id);
            sqlite3_bind_int(s, 2, respondent);
        };
        switch (q.type) {
        case 0:
            bindTwo(open);
            benchmark::DoNotOptimize(readAll(open));
            break;
        case 1:
        case 2:
        case 3:
            sqlite3_bind_int(responses, 1, q.id);
            benchmark::DoNotOptimize(readAll(responses));
            if (q.type == 3) {
                sqlite3_bind_int(columns, 1, q.scale);
                benchmark::DoNotOptimize(readAll(columns));
            }
            bindTwo(stored);
            benchmark::DoNotOptimize(readAll(stored));
            break;
        default:
            break;
        }
    }

    Stmt question, open, responses, stored, columns;
};

void ShowAnswerPage(benchmark::State& state)
{
    Entry entry;
    const bench::AnswerSurvey& survey = bench::AnswerSurveyFixture();
    PageReads reads(entry.db);
    bench::MeasureWithFloor(
        state,
        [&] {
            for (int pos = 1; pos <= kPages; ++pos) {
                entry.dialog->CurrentQuestionPos = pos;
                entry.dialog->RespondentAnswers_ShowQuestion();
            }
        },
        [&] {
            for (int pos = 1; pos <= kPages; ++pos)
                reads.show(pos, entry.respondent, survey.questions.at(size_t(pos - 1)));
        },
        kPages);
}
BENCHMARK(ShowAnswerPage)->UseManualTime()->Unit(benchmark::kMillisecond);

// Changes one answer of the page on screen, as a user would, keeping the number of its rows: the
// open answer gains or loses a "!", a tick or a matrix row's choice moves to the next box, the
// radio choice to the next option. A page left as it was shown stores nothing.
void changeAnswer(frmManualResponse& entry)
{
    switch (entry.CurrentQType) {
    case 0: {
        QString text = entry.txtDCSimpleResponse->toPlainText();
        if (text.endsWith(QLatin1Char('!')))
            text.chop(1);
        else
            text += QLatin1Char('!');
        entry.txtDCSimpleResponse->setPlainText(text);
        break;
    }
    case 1: {
        const qsizetype n = entry.chkDCCheck.size();
        qsizetype moved = 0;
        while (moved < n
            && !(entry.chkDCCheck.at(moved)->isChecked() && !entry.chkDCCheck.at((moved + 1) % n)->isChecked()))
            ++moved;
        if (moved < n) {
            entry.chkDCCheck.at(moved)->setChecked(false);
            entry.chkDCCheck.at((moved + 1) % n)->setChecked(true);
        } else {
            entry.chkDCCheck.first()->toggle();
        }
        break;
    }
    case 2: {
        const qsizetype n = entry.optDCRadio.size();
        qsizetype chosen = n - 1;
        for (qsizetype i = 0; i < n; ++i) {
            if (entry.optDCRadio.at(i)->isChecked())
                chosen = i;
        }
        entry.optDCRadio.at((chosen + 1) % n)->setChecked(true);
        break;
    }
    case 3: {
        FlexGrid* grid = entry.gMatrix;
        const int columns = grid->cols() - 1;
        int chosen = columns;
        for (int c = 1; c <= columns; ++c) {
            if (grid->textMatrix(1, c) == QLatin1String("Yes"))
                chosen = c;
        }
        grid->setTextMatrix(1, chosen, QString());
        grid->setTextMatrix(1, chosen % columns + 1, QStringLiteral("Yes"));
        break;
    }
    default:
        break;
    }
}

// Leaving a page: its rows deleted and stored again in one transaction. Each run stores the page
// shown before it with one answer changed; the floor writes as many rows, those the page had.
void StoreAnswerPage(benchmark::State& state)
{
    Entry entry;
    Stmt question(entry.db, "SELECT ID FROM question WHERE pos = ?");
    Stmt rowsOf(entry.db,
        "SELECT QuestionID, RespondentID, ResponseID, SimpleResponse, ResponseMatrixID FROM "
        "Respondent_Responses WHERE questionid = ? AND respondentid = ? ORDER BY id");
    Stmt remove(entry.db, "DELETE FROM Respondent_Responses WHERE RespondentID = ? AND questionid = ?");
    Stmt insert(entry.db,
        "INSERT INTO Respondent_Responses (QuestionID, RespondentID, ResponseID, SimpleResponse, "
        "ResponseMatrixID) VALUES (?, ?, ?, ?, ?)");
    Stmt begin(entry.db, "BEGIN");
    Stmt commit(entry.db, "COMMIT");

    // The rows each page holds: what the program stores again, and the floor writes.
    struct Row {
        int responseId;
        QByteArray text;
        bool hasColumn;
        int column;
    };
    std::vector<std::vector<Row>> pageRows(kPages + 1);
    for (int pos = 1; pos <= kPages; ++pos) {
        sqlite3_bind_int(rowsOf, 1, pos); // question ids are their positions in the fixture
        sqlite3_bind_int(rowsOf, 2, entry.respondent);
        while (rowsOf.step()) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(rowsOf, 3));
            pageRows[size_t(pos)].push_back({ sqlite3_column_int(rowsOf, 2), QByteArray(text ? text : ""),
                sqlite3_column_type(rowsOf, 4) != SQLITE_NULL, sqlite3_column_int(rowsOf, 4) });
        }
        rowsOf.reset();
    }

    int pos = 0;
    bench::MeasureWithFloor(
        state, [&] { entry.dialog->ShowDCAnswer(); },
        [&] {
            sqlite3_bind_int(question, 1, pos);
            benchmark::DoNotOptimize(readAll(question));
            begin.run();
            sqlite3_bind_int(remove, 1, entry.respondent);
            sqlite3_bind_int(remove, 2, pos);
            remove.run();
            for (const Row& row : pageRows[size_t(pos)]) {
                sqlite3_bind_int(insert, 1, pos);
                sqlite3_bind_int(insert, 2, entry.respondent);
                sqlite3_bind_int(insert, 3, row.responseId);
                sqlite3_bind_text(insert, 4, row.text.constData(), int(row.text.size()), SQLITE_TRANSIENT);
                if (row.hasColumn)
                    sqlite3_bind_int(insert, 5, row.column);
                insert.run();
            }
            commit.run();
        },
        1,
        [&](bench::Side side) {
            if (side == bench::Side::Program) {
                pos = pos % kPages + 1;
                entry.dialog->CurrentQuestionPos = pos;
                entry.dialog->RespondentAnswers_ShowQuestion();
                changeAnswer(*entry.dialog);
            }
        });
}
BENCHMARK(StoreAnswerPage)->UseManualTime()->Unit(benchmark::kMillisecond);


} // namespace

int main(int argc, char** argv)
{
    InitTestEnvironment();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
