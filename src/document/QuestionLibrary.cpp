#include "document/QuestionLibrary.h"

#include "platform/Database.h"
#include "platform/TextUtil.h"

namespace QuestionLibrary {

QList<Category> readCategories(db::Connection& library)
{
    QList<Category> categories;
    db::Recordset rs
        = library.openRecordset(QStringLiteral("SELECT id, name FROM category ORDER BY name COLLATE NOCASE, id"));
    for (; !rs.atEnd(); rs.moveNext())
        categories.append({ rs.field(0).toLongLong(), NullToEmpty(rs.field(1)), {} });
    rs = db::Recordset();
    for (Category& category : categories) {
        db::Recordset questions = library.openRecordset(
            QStringLiteral("SELECT id, name FROM question WHERE categoryid = ? ORDER BY name COLLATE NOCASE, id"),
            { category.id });
        for (; !questions.atEnd(); questions.moveNext())
            category.questions.append({ questions.field(0).toLongLong(), NullToEmpty(questions.field(1)) });
    }
    return categories;
}

std::optional<QString> readQuestionText(db::Connection& library, qint64 id)
{
    db::Recordset rs = library.openRecordset(QStringLiteral("SELECT name FROM question WHERE id = ?"), { id });
    if (rs.atEnd())
        return std::nullopt;
    return NullToEmpty(rs.field(0));
}

} // namespace QuestionLibrary
