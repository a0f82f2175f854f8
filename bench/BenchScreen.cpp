#include "BenchScreen.h"

#include "platform/DateText.h"
#include "widgets/Dialogs.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLocale>

#include <algorithm>
#include <cstdio>
#include <sqlite3.h>

namespace bench {

namespace {

const QString kNoAnswer = QStringLiteral("No Answer");

QByteArray columnBytes(sqlite3_stmt* stmt, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return text ? QByteArray(text, sqlite3_column_bytes(stmt, column)) : QByteArray();
}

} // namespace

// ScreenWait

ScreenWait::ScreenWait(QWidget* painted, QAbstractItemView* view)
    : painted_(painted)
    , view_(view)
{
    QCoreApplication::instance()->installEventFilter(this);
    if (view_)
        follow(view_->model());
}

ScreenWait::~ScreenWait()
{
    QCoreApplication::instance()->removeEventFilter(this);
    for (const QMetaObject::Connection& c : connections_)
        QObject::disconnect(c);
}

void ScreenWait::follow(QAbstractItemModel* model)
{
    for (const QMetaObject::Connection& c : connections_)
        QObject::disconnect(c);
    connections_.clear();
    model_ = model;
    if (!model)
        return;
    connections_.push_back(connect(model, &QAbstractItemModel::dataChanged, this, &ScreenWait::changed));
    connections_.push_back(connect(model, &QAbstractItemModel::modelReset, this, &ScreenWait::changed));
    connections_.push_back(connect(model, &QAbstractItemModel::layoutChanged, this, &ScreenWait::changed));
    connections_.push_back(connect(model, &QAbstractItemModel::rowsInserted, this, &ScreenWait::changed));
    connections_.push_back(connect(model, &QAbstractItemModel::rowsRemoved, this, &ScreenWait::changed));
    ++changes_;
}

bool ScreenWait::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && watched->isWidgetType()) {
        const auto* widget = static_cast<QWidget*>(watched);
        if (widget == painted_ || (painted_->isWindow() && widget->window() == painted_)) {
            paintedSinceBegin_ = true;
            changesAtPaint_ = changes_;
        }
    }
    return false;
}

void ScreenWait::begin()
{
    paintedSinceBegin_ = false;
}

bool ScreenWait::waitShown(const std::function<bool()>& shown, double timeoutSeconds)
{
    // An operation that leaves the screen as it was paints nothing; rather than waiting for
    // ever, the wait then fails after a while.
    constexpr qint64 kUnpaintedMs = 5000;
    QElapsedTimer clock;
    clock.start();
    qint64 shownSince = -1;
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (view_ && view_->model() != model_)
            follow(view_->model());
        const bool looksRight = shown();
        if (paintedSinceBegin_ && changesAtPaint_ == changes_ && looksRight)
            return true;
        if (!looksRight)
            shownSince = -1;
        else if (shownSince < 0)
            shownSince = clock.elapsed();
        if (double(clock.elapsed()) > timeoutSeconds * 1000.0
            || (shownSince >= 0 && clock.elapsed() - shownSince > kUnpaintedMs))
            return false;
    }
}

// The rows in view

std::pair<int, int> rowsInView(const QAbstractItemView* view)
{
    const QAbstractItemModel* model = view->model();
    if (!model || model->rowCount() == 0)
        return { -1, -1 };
    const QWidget* viewport = view->viewport();
    // Rows are told apart by their top-left cell; a row cut by the view's bottom edge counts.
    const int first = view->indexAt(QPoint(1, 1)).row();
    if (first < 0)
        return { -1, -1 };
    int last = view->indexAt(QPoint(1, viewport->height() - 1)).row();
    if (last < 0)
        last = model->rowCount() - 1;
    return { first, last };
}

bool viewShows(const QAbstractItemView* view, const ListTexts& expected)
{
    const auto [first, last] = rowsInView(view);
    if (first < 0)
        return expected.rows.empty();
    const QAbstractItemModel* model = view->model();
    for (int row = first; row <= last; ++row) {
        if (!expected.holds(row))
            return false;
        const std::array<QString, 3>& texts = expected.at(row);
        for (int column = 0; column < 3; ++column) {
            if (model->data(model->index(row, column), Qt::DisplayRole).toString() != texts[size_t(column)])
                return false;
        }
    }
    return true;
}

QString listDateText(const QString& stored)
{
    static const QLocale locale = QLocale::system();
    static const QString timeFormat = timeFormatWithoutZone(locale);
    QDate date;
    QTime time;
    if (!parseStoredDate(stored, date, time))
        return stored;
    return locale.toString(date, QLocale::LongFormat) + QStringLiteral(" - ") + locale.toString(time, timeFormat);
}

// RawRespondentList

RawRespondentList::RawRespondentList(sqlite3* db)
    : questions_(db, "SELECT id, question, questionno FROM question WHERE qtype = 0 ORDER BY pos")
    , order_(db, "SELECT id, submitteddate, source FROM respondent ORDER BY submitteddate DESC, id DESC")
    , answer_(db, "SELECT simpleresponse FROM Respondent_Responses WHERE respondentid = ? AND questionid = ?")
    , one_(db, "SELECT id, submitteddate, source FROM respondent WHERE id = ?")
{
    if (questions_.step())
        example_ = sqlite3_column_int(questions_, 0);
    questions_.reset();
}

QString RawRespondentList::exampleAnswer(int respondent)
{
    sqlite3_bind_int(answer_, 1, respondent);
    sqlite3_bind_int(answer_, 2, example_);
    QString text;
    if (answer_.step())
        text = QString::fromUtf8(columnBytes(answer_, 0));
    answer_.reset();
    return text.isEmpty() ? kNoAnswer : text;
}

void RawRespondentList::floorList(int rowsInView)
{
    qint64 bytes = 0;
    while (questions_.step())
        bytes += sqlite3_column_bytes(questions_, 1) + sqlite3_column_bytes(questions_, 2);
    questions_.reset();
    floorIds_.clear();
    while (order_.step()) {
        floorIds_.push_back(sqlite3_column_int(order_, 0));
        bytes += sqlite3_column_bytes(order_, 1) + sqlite3_column_bytes(order_, 2);
    }
    order_.reset();
    benchmark::DoNotOptimize(bytes);
    floorScreenful(0, rowsInView);
}

void RawRespondentList::floorScreenful(int first, int rowsInView)
{
    qint64 bytes = 0;
    const int end = std::min(int(floorIds_.size()), first + rowsInView);
    for (int row = first; row < end; ++row) {
        sqlite3_bind_int(answer_, 1, floorIds_[size_t(row)]);
        sqlite3_bind_int(answer_, 2, example_);
        if (answer_.step())
            bytes += sqlite3_column_bytes(answer_, 0);
        answer_.reset();
    }
    benchmark::DoNotOptimize(bytes);
}

void RawRespondentList::floorOneRow(int respondent)
{
    qint64 bytes = 0;
    sqlite3_bind_int(one_, 1, respondent);
    if (one_.step())
        bytes += sqlite3_column_int(one_, 0) + sqlite3_column_bytes(one_, 1) + sqlite3_column_bytes(one_, 2);
    one_.reset();
    sqlite3_bind_int(answer_, 1, respondent);
    sqlite3_bind_int(answer_, 2, example_);
    if (answer_.step())
        bytes += sqlite3_column_bytes(answer_, 0);
    answer_.reset();
    benchmark::DoNotOptimize(bytes);
}

void RawRespondentList::readOrder()
{
    ids_.clear();
    dates_.clear();
    sources_.clear();
    while (order_.step()) {
        ids_.push_back(sqlite3_column_int(order_, 0));
        dates_.push_back(columnBytes(order_, 1));
        sources_.push_back(columnBytes(order_, 2));
    }
    order_.reset();
}

ListTexts RawRespondentList::texts(int first, int count)
{
    ListTexts texts;
    texts.first = std::max(0, first);
    const int end = std::min(rows(), first + count);
    for (int row = texts.first; row < end; ++row) {
        texts.rows.push_back({ listDateText(QString::fromUtf8(dates_[size_t(row)])), exampleAnswer(ids_[size_t(row)]),
            QString::fromUtf8(sources_[size_t(row)]) });
    }
    return texts;
}

std::array<QString, 3> RawRespondentList::textsOf(int respondent)
{
    std::array<QString, 3> texts;
    sqlite3_bind_int(one_, 1, respondent);
    if (one_.step()) {
        texts[0] = listDateText(QString::fromUtf8(columnBytes(one_, 1)));
        texts[2] = QString::fromUtf8(columnBytes(one_, 2));
    }
    one_.reset();
    texts[1] = exampleAnswer(respondent);
    return texts;
}

int runScriptedBenchmarks(int& argc, char** argv)
{
    if (runBenchmarks(argc, argv) != 0)
        return 1;
    const QStringList unexpected = Dialogs::Script::unexpected();
    Dialogs::Script::end();
    if (!unexpected.isEmpty()) {
        std::fprintf(
            stderr, "Prompts shown during the benchmarks: %s\n", qPrintable(unexpected.join(QLatin1String(" | "))));
        return 1;
    }
    return 0;
}

} // namespace bench
