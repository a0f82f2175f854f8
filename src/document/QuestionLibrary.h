#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace db {
class Connection;
}

// The question library ("Library.mdb"): ready-made questions grouped by category, read only.
// Every failure is thrown as db::Error.
namespace QuestionLibrary {

struct Question {
    qint64 id = 0;
    // The question's text, plain; "" for Null.
    QString name;
};

struct Category {
    qint64 id = 0;
    // The category's caption; "" for Null.
    QString name;
    // Its questions in the order of their texts.
    QList<Question> questions;
};

// Every category in the order of the names, each with its questions; names of a different letter
// case sort together, and equal names in the order of their ids.
QList<Category> readCategories(db::Connection& library);

// The text of the library question with that id; none when the library has no such question.
std::optional<QString> readQuestionText(db::Connection& library, qint64 id);

} // namespace QuestionLibrary
