#pragma once

#include "platform/Database.h"

#include <QList>
#include <QString>

#include <optional>

// What the chart of the Analyse screen shows for a summary row, read from the survey file: for an
// answer row every answer of its question, for a matrix row or one of its scale columns every
// column of that matrix row, each with the number of answers that chose it.
namespace Chart {

struct Point {
    QString label; // a space and the answer's or column's name
    double value = 0;
};

enum class Visibility { Hide, Show, Keep };

struct Result {
    Visibility visibility = Visibility::Keep;
    // The new data; none when the chart keeps what it shows.
    std::optional<QList<Point>> data;
    // What the data counts: the question's text on one line, for a matrix row with the row's name.
    QString subject;
};

// The chart of grid row `row` with its row datum and row-map entry (the matrix row, or -1).
Result read(db::Connection& connection, int row, qint32 datum, qint32 mapEntry);

// What the chart shows, in words: the subject, ": " and each label with its count, as in
// "Which colour?: Red 1, Green 3, Blue 0".
QString description(const QString& subject, const QList<Point>& points);

} // namespace Chart
