#pragma once

// What the screen benchmarks share (static library tessivo_bench_screen, with widgets): waiting
// until the user sees the result of an operation, and the respondent list as the user must see
// it, read with the raw C API (its floor, and the texts its rows must show).
//
// A benchmark of a screen times what the user waits for: from the command to the moment the
// screen has painted its result. The screen may fill its rows at once or later (as the view asks
// for them, or on a timer), so the wait reads only what a user sees: the texts of the rows in
// view, through the view's model, and the view's paint events.

#include "BenchSurvey.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class QAbstractItemModel;
class QAbstractItemView;
class QWidget;

namespace bench {

// Counts the paints of a widget (or, for a window, of any widget in it) and, for an item view,
// the changes of its model. begin() before an operation; waitShown() after it processes events
// until the view has painted, with no change of its model since that paint, and `shown` holds.
class ScreenWait : public QObject {
public:
    // `painted` is the widget whose paints count: an item view's viewport, or a window.
    explicit ScreenWait(QWidget* painted, QAbstractItemView* view = nullptr);
    ~ScreenWait() override;

    // A paint after this call is needed.
    void begin();
    // False when that did not happen within the time given, or when `shown` held for seconds
    // without a paint (the benchmark then reports an error).
    bool waitShown(const std::function<bool()>& shown, double timeoutSeconds = 300);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(QAbstractItemModel* model);
    void changed() { ++changes_; }

    QWidget* painted_;
    QAbstractItemView* view_;
    QAbstractItemModel* model_ = nullptr;
    std::vector<QMetaObject::Connection> connections_;
    qint64 changes_ = 0;
    qint64 changesAtPaint_ = -1;
    bool paintedSinceBegin_ = false;
};

// The rows of the respondent list that the view shows (0-based rows of its model), first and
// last; -1, -1 when it shows none.
std::pair<int, int> rowsInView(const QAbstractItemView* view);

// Texts of the respondent list, rows from `first` on (0-based list rows: row 0 is the newest
// respondent): date and time, example answer, source.
struct ListTexts {
    int first = 0;
    std::vector<std::array<QString, 3>> rows;
    bool holds(int row) const { return row >= first && row < first + int(rows.size()); }
    const std::array<QString, 3>& at(int row) const { return rows[size_t(row - first)]; }
};

// Whether every row in view shows exactly the texts expected of it.
bool viewShows(const QAbstractItemView* view, const ListTexts& expected);

// The respondent list read with the raw C API, statements prepared once: the floors of the
// list's operations, and the texts its rows must show. The list's order is the newest first,
// by submission date and then id.
class RawRespondentList {
public:
    explicit RawRespondentList(sqlite3* db);

    // The example question the screen starts with: the first open-ended question.
    int exampleQuestion() const { return example_; }

    // The floor of the list on screen: the example-question list, one pass over the respondents'
    // order and cheap columns (ids kept, dates and sources read), and the example answers of the
    // first rowsInView rows.
    void floorList(int rowsInView);
    // The floor of scrolling: the example answers of rowsInView rows from list row `first`, of
    // the order that floorList read.
    void floorScreenful(int first, int rowsInView);
    // The floor of the list after one respondent changed: that respondent's row.
    void floorOneRow(int respondent);

    // The whole order with what each row shows but its example answer (untimed: the expected
    // texts come from it).
    void readOrder();
    int rows() const { return int(ids_.size()); }
    int idAt(int row) const { return ids_[size_t(row)]; }
    // The texts of `count` rows from list row `first` (after readOrder).
    ListTexts texts(int first, int count);
    // The texts of one respondent's row, read from the file.
    std::array<QString, 3> textsOf(int respondent);

private:
    QString exampleAnswer(int respondent);

    int example_ = -1;
    raw::Stmt questions_;
    raw::Stmt order_;
    raw::Stmt answer_;
    raw::Stmt one_;
    std::vector<int> floorIds_;
    std::vector<int> ids_;
    std::vector<QByteArray> dates_;
    std::vector<QByteArray> sources_;
};

// The date and time column's text of a stored submission date.
QString listDateText(const QString& stored);

// Runs the registered benchmarks (runBenchmarks) with the prompts scripted (Dialogs::Script,
// begun by the caller): fails, naming them, when a benchmark showed a prompt it did not script.
int runScriptedBenchmarks(int& argc, char** argv);

} // namespace bench
