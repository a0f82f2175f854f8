#pragma once

#include <QString>

class QWidget;
namespace db {
class Connection;
}

// Imports a results file into the open survey while a progress window with Cancel shows how far
// it is, then shows "Successfully imported N respondent(s).". A failure or a cancel imports
// nothing and is thrown as db::Error to the caller, which reports it.
void loadResultsFile(QWidget* parent, db::Connection& connection, const QString& path);
