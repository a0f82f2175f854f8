#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace db {
class Connection;
}

// The answer scales of a survey file: rows of responsematrixgroup with their responsematrix
// columns. Scale 1 is the template's reserved default and is never listed.
namespace MatrixScales {

struct Scale {
    int id = 0;
    // The names of its columns in pos order joined by "/"; "" for a scale without columns.
    QString text;
};

// Every scale but scale 1, in the order of their ids, so that a list refilled after a scale is
// added keeps its entries where they were and gains the new one at the end.
std::vector<Scale> read(db::Connection& connection);

// Adds a scale named "User Added" with one column per caption, at pos 0, 1, 2 ... in order, in one
// transaction: on failure nothing is written and the db::Error is thrown. Returns the new id.
int add(db::Connection& connection, const QStringList& columns);

} // namespace MatrixScales
