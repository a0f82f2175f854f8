#pragma once

#include "platform/Database.h"

#include <QString>

// How the program's messages tell a failure: what could not be done, then what the error says.
enum class ErrorDetail {
    NumberAndSource, // "what description number source", each after a space: most commands
    Number, // "what description number": the designer's commands
    Description, // "what description": a new survey that cannot be made
    Sentences, // "what. description. number": a survey that cannot be opened
};

// The error's part of a message: "description number source", or less by `detail` (the
// separators are those of failureText).
QString errorDetails(const db::Error& error, ErrorDetail detail = ErrorDetail::NumberAndSource);

// What failed and why: "Unable to write to file a.tvq disk I/O error 10 SQLite".
QString failureText(const QString& what, const db::Error& error, ErrorDetail detail = ErrorDetail::NumberAndSource);

// Shows failureText with an OK button and the critical-error icon.
void reportError(const QString& what, const db::Error& error, ErrorDetail detail = ErrorDetail::NumberAndSource);
