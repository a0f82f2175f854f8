#pragma once

#include "platform/Database.h"

#include <QString>

#include <vector>

// The summary report of the Analyse screen, read from the survey file: the respondent totals by
// source, and one row per question, answer, matrix row and scale column with the share of all
// respondents who gave that answer. No widgets: the screen puts the rows into its grid.
namespace Summary {

struct Totals {
    qint64 all = 0;
    qint64 manualEntry = 0;
    qint64 webBased = 0;
    qint64 imported = 0;
};

// Respondents in all, and those whose source is "Manual Entry", "Web" and "Imported".
Totals readTotals(db::Connection& connection);
// Respondents in all.
qint64 respondentCount(db::Connection& connection);

enum class RowKind { Question, Answer, MatrixRow, ScaleColumn };

struct Row {
    RowKind kind = RowKind::Question;
    QString share; // column 0: the share, "n/a" for an open-ended question, or ""
    // Column 1. A question row shows the whole plain text on one line, its line breaks as spaces.
    QString caption;
    // The question row's whole text with its line breaks (the row's tooltip); "" for other rows.
    QString text;
    // The grid's row datum: -1 for a question, the response id of an answer or matrix row, and
    // the matrix row's id for each of its scale columns.
    qint32 datum = -1;
    // The row map's entry: the matrix row's id for a matrix row and its scale columns, else -1.
    qint32 mapEntry = -1;
};

// Every question except instruction text, in survey order, each followed by its answers (a
// matrix question: by each row and that row's scale columns), with the shares of `total`.
std::vector<Row> readRows(db::Connection& connection, qint64 total);

// The share of `count` answers among `total` respondents: "0.0%" for none, else the percentage
// rounded to one decimal (halves to the even digit) in the locale's shortest decimal text.
QString shareText(qint64 count, qint64 total);
// The widest share the column must show whole: "100.0%" in the locale's digits and decimal
// separator.
QString widestShareText();

} // namespace Summary
