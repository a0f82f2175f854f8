#pragma once

#include "document/RespondentList.h"
#include "widgets/FlexGrid.h"

#include <QDate>
#include <QLocale>
#include <QString>

#include <functional>

namespace db {
class Connection;
class Error;
} // namespace db

// The rows of the respondent grid (`gRespondents`) below its header: the respondent list of the
// open survey file, each row's texts made when the grid draws or asks for them. Column 0 is the
// submission date and time (the long date, " - ", the long time), column 1 the answer to the
// example question or "No Answer", column 2 the source; the row data is the respondent's id.
class RespondentRows : public FlexGridSource {
public:
    explicit RespondentRows(db::Connection& connection);

    const RespondentAnswers::List& list() const { return list_; }

    // Reads every respondent of the file (none when no file is open), with the answers to the
    // example question (-1 for none).
    void read(int exampleQuestion);
    void clear();
    // Reads the one respondent again (added, its answers changed, or deleted) and tells the grid
    // of its row; false when the grid does not show these rows or the file holds respondents the
    // list does not (it must be read again).
    bool update(FlexGrid* grid, qint32 id);

    // Told when an example answer cannot be read while the rows are drawn, once until the list is
    // read again; the row shows no answer meanwhile.
    std::function<void(const db::Error&)> onReadFailure;

    int rowCount() const override { return list_.size(); }
    QString text(int row, int col) override;
    qint32 rowData(int row) const override { return list_.id(row); }
    void prefetch(int first, int last) override;

private:
    QString dateTime(int row);
    QString exampleAnswer(int row);
    void failed(const db::Error& error);

    db::Connection& connection_;
    RespondentAnswers::List list_;
    bool failed_ = false;

    QLocale locale_ = QLocale::system();
    QString timeFormat_;
    // Rows in view mostly share their day.
    QDate lastDay_;
    QString lastDayText_;
};
