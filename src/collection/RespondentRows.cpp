#include "collection/RespondentRows.h"

#include "platform/Database.h"
#include "platform/DateText.h"

#include <QDateTime>

namespace {
const QString kNoAnswer = QStringLiteral("No Answer");
} // namespace

RespondentRows::RespondentRows(db::Connection& connection)
    : connection_(connection)
    , timeFormat_(timeFormatWithoutZone(locale_))
{ }

void RespondentRows::read(int exampleQuestion)
{
    if (connection_.isOpen())
        list_.read(connection_);
    else
        list_.clear();
    list_.setExampleQuestion(exampleQuestion);
    failed_ = false;
}

void RespondentRows::clear()
{
    list_.clear();
}

bool RespondentRows::update(FlexGrid* grid, qint32 id)
{
    if (grid->source() != this)
        return false;
    const RespondentAnswers::List::Moved moved = list_.update(connection_, id);
    FlexGridModel* model = grid->gridModel();
    if (moved.from >= 0 && moved.from == moved.to) {
        model->sourceRowChanged(moved.to);
    } else {
        if (moved.from >= 0)
            model->sourceRowsRemoved(moved.from, 1);
        if (moved.to >= 0)
            model->sourceRowsInserted(moved.to, 1);
    }
    return list_.matchesFile(connection_);
}

QString RespondentRows::text(int row, int col)
{
    if (row < 0 || row >= list_.size())
        return QString();
    switch (col) {
    case 0:
        return dateTime(row);
    case 1:
        return exampleAnswer(row);
    case 2:
        return list_.source(row);
    default:
        return QString();
    }
}

void RespondentRows::prefetch(int first, int last)
{
    if (failed_)
        return;
    try {
        list_.readExampleAnswers(connection_, first, last);
    } catch (const db::Error& e) {
        failed(e);
    }
}

QString RespondentRows::dateTime(int row)
{
    const QString stored = list_.submitted(row);
    QDate date;
    QTime time;
    if (!parseStoredDate(stored, date, time)) {
        const QDateTime when = QDateTime::fromString(stored, Qt::ISODate);
        if (!when.isValid())
            return stored;
        date = when.date();
        time = when.time();
    }
    if (date != lastDay_) {
        lastDay_ = date;
        lastDayText_ = locale_.toString(date, QLocale::LongFormat);
    }
    return lastDayText_ + QStringLiteral(" - ") + locale_.toString(time, timeFormat_);
}

QString RespondentRows::exampleAnswer(int row)
{
    std::optional<QString> answer;
    if (!failed_) {
        try {
            answer = list_.exampleAnswer(connection_, row);
        } catch (const db::Error& e) {
            failed(e);
        }
    }
    // An answer that could not be read shows nothing, rather than an answer the respondent did
    // not give.
    if (!answer)
        return QString();
    return answer->isEmpty() ? kNoAnswer : *answer;
}

void RespondentRows::failed(const db::Error& error)
{
    failed_ = true;
    if (onReadFailure)
        onReadFailure(error);
}
