// Data Collection on the answer surveys of 100,000 and 1,000,000 respondents (200 questions), each
// operation timed to what the user sees, beside its raw-SQLite floor (see BenchSurvey.h for the
// counters, BenchScreen.h for the wait):
//   RespondentList/n        View > Data Collection: the list on screen, its first rows filled
//                           (floor: one pass over the respondents' order and cheap columns, and
//                           the example answers of the rows in view)
//   RespondentListScroll/n  the list scrolled to a random place, the rows there filled (floor:
//                           the example answers of that screenful)
//   ListAfterEntry/n        back from answer entry (Add Respondent, an answer typed, Cancel):
//                           the list shows the new respondent, selected (floor: reading that row)
//   DeleteRespondent/n      Delete Respondent answered Yes: the list without it, the first row
//                           selected (floor: the two DELETEs in one transaction)
//   ShowAnswerPage/n        a page of answer entry shown in the dialog on screen, laid out and
//                           painted (floor: the page's reads)
//   StoreAnswerPage/n       a page left, its answers stored (floor: the same rows written)
// The screen sits in a window of its own with the grid as start-up prepares it; the program's
// file is opened as the program opens it. A design save at these sizes is bench_core's
// FileSaveAnswers. Run build-release/bin/bench_collection.
#include "BenchScreen.h"
#include "BenchSurvey.h"
#include "TestEnvironment.h"
#include "collection/CollectScreen.h"
#include "collection/frmManualResponse.h"
#include "document/SurveySession.h"
#include "widgets/Dialogs.h"
#include "widgets/FlexGrid.h"
#include "widgets/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <map>
#include <memory>
#include <random>
#include <sqlite3.h>

namespace {

using bench::raw::Stmt;
using Clock = std::chrono::steady_clock;

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

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Reports the first failure of a benchmark; the run goes on to its end without further reports.
struct Failure {
    benchmark::State& state;
    bool failed = false;
    void operator()(const char* what)
    {
        if (!failed)
            state.SkipWithError(what);
        failed = true;
    }
};

// A writable copy of the answer survey of that size, one per process: the benchmarks that add,
// change and delete respondents work on it in turn (each reads what it expects from the file).
QString workSurvey(int respondents)
{
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/tessivo-bench-XXXXXX"));
    static std::map<int, QString> copies;
    QString& copy = copies[respondents];
    if (copy.isEmpty())
        copy = bench::copySurvey(bench::answerSurveyFixture(respondents).path, folder.path(),
            QStringLiteral("collect-%1.tvq").arg(respondents));
    return copy;
}

// The Data Collection screen in a window of its own, its grid as start-up prepares it (headers,
// widths in twips, the answer column widened to fill the grid), on the survey file.
struct ListScreen {
    SurveySession session;
    QWidget window;
    CollectScreen* screen = nullptr;
    FlexGrid* grid = nullptr;
    std::unique_ptr<bench::ScreenWait> wait;

    ListScreen(const QString& path, db::OpenMode mode)
    {
        session.SurveyConnection.open(path, {}, mode);
        window.resize(1200, 800);
        screen = new CollectScreen(session, &window);
        screen->resize(1200, 800);
        grid = screen->findChild<FlexGrid*>(QStringLiteral("gRespondents"));
        grid->setCols(3);
        grid->setRows(1);
        grid->setRow(0);
        const std::pair<const char*, int> headers[]
            = { { "Date and Time", 3500 }, { "Sample Response", 1600 }, { "Originated From", 1600 } };
        int sum = 0;
        for (int col = 0; col < 3; ++col) {
            grid->setCol(col);
            grid->setText(QString::fromLatin1(headers[col].first));
            grid->setColWidthTwips(col, headers[col].second);
            sum += headers[col].second;
        }
        if (Twips::widthOf(grid) > sum)
            grid->setColWidthTwips(1, Twips::widthOf(grid) - sum + 1600 - 100);
        screen->hide();
        window.show();
        QCoreApplication::processEvents();
        wait = std::make_unique<bench::ScreenWait>(grid->viewport(), grid);
    }
    ~ListScreen()
    {
        wait.reset();
        window.hide();
    }

    // View > Data Collection: the screen shown and its list refilled, then the wait until the
    // rows in view show `expected`, the first row selected.
    bool showList(const bench::ListTexts& expected)
    {
        wait->begin();
        screen->show();
        screen->RefreshRespondentList(1, 0);
        return waitFirstSelected(expected);
    }

    bool waitFirstSelected(const bench::ListTexts& expected)
    {
        return wait->waitShown([&] {
            return bench::viewShows(grid, expected) && grid->currentIndex().row() == 0
                && grid->selectionModel()->isRowSelected(0, QModelIndex());
        });
    }

    int rowsInView() const
    {
        const auto [first, last] = bench::rowsInView(grid);
        return first < 0 ? 0 : last - first + 1;
    }
};

// The survey file read with the raw C API beside the screen, the list's order read once: the texts
// its rows must show, and the floors.
struct RawList {
    struct Handle {
        sqlite3* db;
        ~Handle() { bench::raw::close(db); }
    } file;
    bench::RawRespondentList list;

    RawList(const QString& path, bool writable)
        : file { bench::raw::open(path, !writable) }
        , list(file.db)
    {
        list.readOrder();
    }
};

// How many rows of texts each wait reads beyond the rows in view.
constexpr int kMargin = 40;

void RespondentList(benchmark::State& state)
{
    const int n = int(state.range(0));
    Failure failed { state };
    const bench::AnswerSurvey& survey = bench::answerSurveyFixture(n);
    RawList raw(survey.path, false);
    const bench::ListTexts expected = raw.list.texts(0, 100);

    // The memory the list keeps, from its first fill.
    ListScreen list(survey.path, db::OpenMode::ReadOnly);
    const double before = bench::residentBytes();
    if (!list.showList(expected))
        failed("the list did not show its first rows");
    state.counters["list_B_per_respondent"] = (bench::residentBytes() - before) / double(n);
    if (list.grid->model()->rowCount() != n)
        failed("the list does not hold every respondent");
    const int inView = list.rowsInView();

    bench::measureWithFloor(
        state,
        [&] {
            if (!list.showList(expected))
                failed("the list did not show its first rows");
        },
        [&] { raw.list.floorList(inView); }, 1,
        [&](bench::Side side) {
            // Another screen was on view.
            if (side == bench::Side::Program) {
                list.screen->hide();
                QCoreApplication::processEvents();
            }
        });
    state.counters["rows_in_view"] = inView;
}

void RespondentListScroll(benchmark::State& state)
{
    const int n = int(state.range(0));
    Failure failed { state };
    const bench::AnswerSurvey& survey = bench::answerSurveyFixture(n);
    RawList raw(survey.path, false);
    ListScreen list(survey.path, db::OpenMode::ReadOnly);
    if (!list.showList(raw.list.texts(0, 100)))
        failed("the list did not show its first rows");
    const int inView = list.rowsInView();
    raw.list.floorList(inView);

    // The same random places for the program and the floor.
    std::mt19937 random(19);
    std::uniform_int_distribution<int> place(0, n - inView - 1);
    std::vector<int> places(100000);
    for (int& p : places)
        p = place(random);
    size_t nextProgram = 0;
    size_t nextFloor = 0;
    bench::ListTexts expected;

    bench::measureWithFloor(
        state,
        [&] {
            const int target = places[nextProgram++ % places.size()];
            list.wait->begin();
            list.grid->scrollTo(list.grid->model()->index(target, 0), QAbstractItemView::PositionAtTop);
            if (!list.wait->waitShown([&] { return bench::viewShows(list.grid, expected); }))
                failed("the rows scrolled to were not shown");
        },
        [&] { raw.list.floorScreenful(places[nextFloor++ % places.size()], inView); }, 1,
        [&](bench::Side side) {
            if (side == bench::Side::Program) {
                const int target = places[nextProgram % places.size()];
                expected = raw.list.texts(target - kMargin, inView + 2 * kMargin);
            }
        });
    state.counters["rows_in_view"] = inView;
}

// Add Respondent, the example answer typed on the first page and stored with Next, then Cancel:
// from the Cancel to the list showing the new respondent on top, selected.
void ListAfterEntry(benchmark::State& state)
{
    const int n = int(state.range(0));
    Failure failed { state };
    const QString path = workSurvey(n);
    RawList raw(path, false);
    bench::ListTexts expected = raw.list.texts(0, 100);
    ListScreen list(path, db::OpenMode::ReadWrite);
    if (!list.showList(expected))
        failed("the list did not show its first rows");

    int entered = 0;
    Clock::time_point closed;
    bench::measureSelfTimed(
        state,
        [&] {
            QTimer::singleShot(0, &list.window, [&] {
                auto* entry = qobject_cast<frmManualResponse*>(QApplication::activeModalWidget());
                if (!entry) {
                    failed("answer entry did not open");
                    return;
                }
                ++entered;
                entry->txtDCSimpleResponse->setPlainText(QStringLiteral("Typed in from paper form %1").arg(entered));
                entry->cmdDCAnswersNext->click();
                // What the list must show: the new respondent on top, as the file holds it.
                expected.rows.insert(expected.rows.begin(), raw.list.textsOf(entry->CurrentRespondentID));
                list.wait->begin();
                closed = Clock::now();
                entry->cmdDCAnswersCancel->click();
            });
            list.screen->cmdCreateResponse_Click();
            if (!list.waitFirstSelected(expected))
                failed("the list did not show the new respondent selected");
            return secondsSince(closed);
        },
        [&] {
            const auto start = Clock::now();
            raw.list.floorOneRow(list.screen->CurrentRespondentID);
            return secondsSince(start);
        });
}

// Delete Respondent on the first row, Yes: the list without it, the first row selected again.
void DeleteRespondent(benchmark::State& state)
{
    const int n = int(state.range(0));
    Failure failed { state };
    const QString path = workSurvey(n);
    RawList raw(path, true);
    sqlite3* db = raw.file.db;
    bench::ListTexts expected = raw.list.texts(0, 200);
    ListScreen list(path, db::OpenMode::ReadWrite);
    if (!list.showList(expected))
        failed("the list did not show its first rows");

    // The floor deletes the oldest respondents, which the list never shows. It deletes them through
    // a connection of its own, so the screen finds its list no longer matching the file and reads
    // it whole, as it must when another program changed the file: before the program's turn, the
    // list is read again untimed, so that its delete meets the file as the list shows it.
    int oldest = raw.list.rows() - 1;
    bool changedByFloor = false;
    Stmt begin(db, "BEGIN");
    Stmt answers(db, "DELETE FROM respondent_responses WHERE respondentid = ?");
    Stmt respondent(db, "DELETE FROM respondent WHERE id = ?");
    Stmt commit(db, "COMMIT");

    bench::measureWithFloor(
        state,
        [&] {
            Dialogs::Script::answer(Dialogs::Yes);
            list.wait->begin();
            list.screen->cmdDeleteResponse_Click();
            if (!list.waitFirstSelected(expected))
                failed("the list did not show the respondents left");
        },
        [&] {
            const int id = raw.list.idAt(oldest--);
            begin.run();
            sqlite3_bind_int(answers, 1, id);
            answers.run();
            sqlite3_bind_int(respondent, 1, id);
            respondent.run();
            commit.run();
            changedByFloor = true;
        },
        1,
        [&](bench::Side side) {
            if (side != bench::Side::Program)
                return;
            if (changedByFloor) {
                list.wait->begin();
                list.screen->RefreshRespondentList(1, 0);
                if (!list.waitFirstSelected(expected))
                    failed("the list did not show the file as the floor left it");
                changedByFloor = false;
            }
            expected.rows.erase(expected.rows.begin());
        });
    if (Dialogs::Script::pending() != 0)
        failed("the delete did not ask");
}

// Answer entry, its dialog on screen, for a respondent who answered the first questions.
struct Entry {
    QString path;
    db::Connection connection;
    std::unique_ptr<frmManualResponse> dialog;
    std::unique_ptr<bench::ScreenWait> wait;
    sqlite3* db = nullptr;
    int respondent = 0;

    explicit Entry(int respondents)
    {
        path = workSurvey(respondents);
        connection.open(path);
        const int from = respondents / 2;
        db::Recordset rs = connection.openRecordset(
            QStringLiteral(
                "SELECT RespondentID FROM Respondent_Responses WHERE RespondentID BETWEEN ? AND ? "
                "AND QuestionID <= 10 GROUP BY RespondentID ORDER BY COUNT(DISTINCT QuestionID) DESC LIMIT 1"),
            { from, from + 2000 });
        respondent = rs.field(0).toInt();
        rs = db::Recordset();
        dialog = std::make_unique<frmManualResponse>(connection, respondent);
        dialog->show();
        wait = std::make_unique<bench::ScreenWait>(dialog.get());
        db = bench::raw::open(path, false);
    }
    ~Entry()
    {
        bench::raw::close(db);
        wait.reset();
        dialog.reset();
        connection.close();
    }

    // The page at pos shown and painted.
    bool show(int pos)
    {
        wait->begin();
        dialog->CurrentQuestionPos = pos;
        dialog->RespondentAnswers_ShowQuestion();
        return wait->waitShown([] { return true; });
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

// The pages 1 to 10 shown one after another, each laid out and painted.
void ShowAnswerPage(benchmark::State& state)
{
    const int n = int(state.range(0));
    Failure failed { state };
    Entry entry(n);
    const bench::AnswerSurvey& survey = bench::answerSurveyFixture(n);
    PageReads reads(entry.db);
    bench::measureWithFloor(
        state,
        [&] {
            for (int pos = 1; pos <= kPages; ++pos) {
                if (!entry.show(pos))
                    failed("the page was not painted");
            }
        },
        [&] {
            for (int pos = 1; pos <= kPages; ++pos)
                reads.show(pos, entry.respondent, survey.questions.at(size_t(pos - 1)));
        },
        kPages);
}

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
// shown (and painted) before it with one answer changed; the floor writes as many rows, those
// the page had.
void StoreAnswerPage(benchmark::State& state)
{
    Failure failed { state };
    Entry entry(int(state.range(0)));
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
    bench::measureWithFloor(
        state,
        [&] {
            if (!entry.dialog->ShowDCAnswer())
                failed("the page was not stored");
        },
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
                if (!entry.show(pos))
                    failed("the page was not painted");
                changeAnswer(*entry.dialog);
                QCoreApplication::processEvents();
            }
        });
}

} // namespace

int main(int argc, char** argv)
{
    initTestEnvironment();
    QApplication app(argc, argv);
    Dialogs::Script::begin();
    // At 1,000,000 respondents a refill of the whole list takes seconds: a few iterations there.
    bench::atBothSizes("RespondentList", RespondentList, 3, 5);
    bench::atBothSizes("RespondentListScroll", RespondentListScroll);
    bench::atBothSizes("ListAfterEntry", ListAfterEntry, 3, 5);
    bench::atBothSizes("DeleteRespondent", DeleteRespondent, 3, 5);
    bench::atBothSizes("ShowAnswerPage", ShowAnswerPage);
    bench::atBothSizes("StoreAnswerPage", StoreAnswerPage);
    return bench::runScriptedBenchmarks(argc, argv);
}
