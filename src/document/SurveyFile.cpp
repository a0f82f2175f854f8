#include "document/SurveyFile.h"

#include "platform/TextUtil.h"

#include <iterator>
#include <limits>
#include <vector>

namespace SurveyFile {

namespace {

constexpr double kVersion = 1.7;

// The error a Null gives where a number or a required text is read.
[[noreturn]] void throwNull(const QString& what)
{
    throw db::programError(QStringLiteral("Invalid use of Null (%1)").arg(what), 94);
}

int requiredInt(const db::Recordset& rs, const QString& column)
{
    const QVariant v = rs.field(column);
    if (v.isNull())
        throwNull(column);
    if (v.typeId() == QMetaType::LongLong) {
        // A number that does not fit is never cut to one that does.
        const qint64 n = v.toLongLong();
        if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
            throw db::programError(QStringLiteral("Overflow (%1)").arg(column), 6);
        return int(n);
    }
    bool ok = false;
    const int n = v.toInt(&ok);
    if (!ok)
        throw db::programError(QStringLiteral("Type mismatch (%1)").arg(column), 13);
    return n;
}

// The number the database layer gives a file that is not a database of the kind it was asked for.
constexpr int kNotValid = 26;

[[noreturn]] void throwNotValid(const QString& what)
{
    throw db::programError(QStringLiteral("The survey file is not valid: ") + what, kNotValid);
}

// Ids are held as int: a stored id is a whole number from 1 to kMaxId. 0 and -1 never name a
// row (-1 is "not stored yet"), and a larger number would be cut to another row's id.
constexpr qint64 kMaxId = std::numeric_limits<int>::max();

bool isId(const QVariant& v)
{
    return v.typeId() == QMetaType::LongLong && v.toLongLong() >= 1 && v.toLongLong() <= kMaxId;
}

[[noreturn]] void throwNotAnId(const QString& table, const QString& column, const QVariant& v)
{
    throwNotValid(QStringLiteral("column %1 of table %2 holds %3, which is not an id from 1 to %4")
                      .arg(column, table, v.toString())
                      .arg(kMaxId));
}

// An id column of a row being read.
int requiredId(const db::Recordset& rs, const QString& table, const QString& column)
{
    const QVariant v = rs.field(column);
    if (v.isNull())
        throwNull(column);
    if (!isId(v))
        throwNotAnId(table, column, v);
    return int(v.toLongLong());
}

} // namespace

int newId(qint64 id, const QString& what)
{
    if (id < 1 || id > kMaxId)
        throw db::programError(QStringLiteral("The survey file has no id left for a new %1: its ids have reached %2")
                                   .arg(what)
                                   .arg(kMaxId),
            6);
    return int(id);
}

namespace {

// What the program reads and writes in each table, as the template has it; every id is the
// table's integer primary key (the row id SQLite numbers).
struct TableSchema {
    QString table;
    QStringList columns;
};

const std::vector<TableSchema>& schema()
{
    static const std::vector<TableSchema> tables = {
        { QStringLiteral("question"),
            { QStringLiteral("id"), QStringLiteral("question"), QStringLiteral("questionno"), QStringLiteral("qtype"),
                QStringLiteral("pos"), QStringLiteral("deleteme") } },
        { QStringLiteral("response"),
            { QStringLiteral("id"), QStringLiteral("questionid"), QStringLiteral("name"), QStringLiteral("pos"),
                QStringLiteral("responseMatrixGroupID"), QStringLiteral("LogicJumpToQuestionID"),
                QStringLiteral("deleteme") } },
        { QStringLiteral("responsematrixgroup"), { QStringLiteral("id"), QStringLiteral("name") } },
        { QStringLiteral("responsematrix"),
            { QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("responsematrixgroupid"),
                QStringLiteral("pos") } },
        { QStringLiteral("respondent"),
            { QStringLiteral("id"), QStringLiteral("submitteddate"), QStringLiteral("source") } },
        { QStringLiteral("Respondent_Responses"),
            { QStringLiteral("id"), QStringLiteral("QuestionID"), QStringLiteral("RespondentID"),
                QStringLiteral("ResponseID"), QStringLiteral("SimpleResponse"), QStringLiteral("ResponseMatrixID") } },
    };
    return tables;
}

// Every table has the columns the program uses, and its id is the row id: a file where id is an
// ordinary column would take a new row with no id and never open again. A primary key that is
// not the row id (WITHOUT ROWID, INTEGER PRIMARY KEY DESC) has an index of origin "pk".
void checkSchema(db::Connection& connection)
{
    for (const TableSchema& t : schema()) {
        // PRAGMA takes no placeholders; the names are the program's own.
        const QString quoted = QLatin1Char('"') + t.table + QLatin1Char('"');
        QHash<QString, std::pair<QString, qint64>> present; // lower-case name: type, pk
        int keyColumns = 0;
        for (db::Recordset rs = connection.openRecordset(QStringLiteral("PRAGMA table_info(%1)").arg(quoted));
             !rs.atEnd(); rs.moveNext()) {
            const qint64 pk = rs.field(5).toLongLong();
            keyColumns += pk > 0 ? 1 : 0;
            present.insert(rs.field(1).toString().toLower(), { rs.field(2).toString(), pk });
        }
        for (const QString& column : t.columns) {
            if (!present.contains(column.toLower()))
                throwNotValid(QStringLiteral("table %1 has no column %2").arg(t.table, column));
        }
        bool keyIndex = false;
        for (db::Recordset rs = connection.openRecordset(QStringLiteral("PRAGMA index_list(%1)").arg(quoted));
             !rs.atEnd(); rs.moveNext())
            keyIndex = keyIndex || rs.field(3).toString() == QLatin1String("pk");
        const auto& [type, pk] = present.value(QStringLiteral("id"));
        if (pk != 1 || keyColumns != 1 || keyIndex || type.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) != 0)
            throwNotValid(QStringLiteral("column id of table %1 is not an integer primary key").arg(t.table));
    }
}

// The lowest and highest id of the tables whose rows opening reads but Load does not (answer
// scales and respondents), each through the row id: a few page reads at any size. Load checks
// the ids of the questions and responses as it reads them. Answer rows are left alone: the
// results import stores the response ids a results file gives, and an answer is only ever found
// through valid ids.
void checkIdRanges(db::Connection& connection)
{
    static const char* const tables[] = { "responsematrixgroup", "responsematrix", "respondent" };
    static const QString sql = [] {
        QStringList parts;
        for (const char* table : tables) {
            for (const char* f : { "min", "max" })
                parts << QStringLiteral("(SELECT %1(id) FROM %2)").arg(QLatin1String(f), QLatin1String(table));
        }
        return QStringLiteral("SELECT ") + parts.join(QLatin1String(", "));
    }();
    const db::Recordset rs = connection.openRecordset(sql);
    for (int i = 0; i < int(std::size(tables)); ++i) {
        for (int end = 0; end < 2; ++end) {
            const QVariant v = rs.field(2 * i + end);
            if (!v.isNull() && !isId(v))
                throwNotAnId(QLatin1String(tables[i]), QStringLiteral("id"), v);
        }
    }
}

} // namespace

QStringList requiredTables()
{
    return { QStringLiteral("version"), QStringLiteral("question"), QStringLiteral("response"),
        QStringLiteral("responsematrixgroup"), QStringLiteral("responsematrix"), QStringLiteral("respondent"),
        QStringLiteral("Respondent_Responses") };
}

void openConnection(db::Connection& connection, const QString& path)
{
    connection.open(path, requiredTables());
    try {
        const db::ReadTransaction reading(connection);
        // A file of another version is told apart by its version (versionMismatch), whatever
        // its tables hold.
        if (versionMismatch(connection))
            return;
        checkSchema(connection);
        checkIdRanges(connection);
    } catch (...) {
        connection.close();
        throw;
    }
}

std::optional<QString> versionMismatch(db::Connection& connection)
{
    db::Recordset rs = connection.openRecordset(QStringLiteral("SELECT * FROM version"));
    if (rs.atEnd())
        return std::nullopt;
    const QVariant value = rs.field(0);
    bool ok = false;
    const double version = value.toDouble(&ok);
    if (!value.isNull() && ok && version == kVersion)
        return std::nullopt;
    return NullToEmpty(value);
}

QString versionMismatchMessage(const QString& found)
{
    return QStringLiteral("Unable to open survey file - expecting version 1.7, but found version ") + found;
}

void load(db::Connection& connection, clsSurvey& survey)
{
    survey.ClearAll();
    // One read lock for the whole survey instead of one per statement.
    const db::ReadTransaction reading(connection);
    // Stored question id to key, for the jumps: the first question with an id wins, as
    // GetKeyFromDatabaseID answers.
    QHash<int, QString> keyOfId;
    {
        db::Recordset rs = connection.openRecordset(QStringLiteral("SELECT * FROM question ORDER BY pos"));
        for (int position = 1; !rs.atEnd(); rs.moveNext(), ++position) {
            auto q = std::make_shared<clsQ>();
            q->Question = NullToEmpty(rs.field(QStringLiteral("question")));
            q->qType = requiredInt(rs, QStringLiteral("qtype"));
            // A type the program does not know would lose its rows at the next save.
            if (q->qType < QTypeOpenEnded || q->qType > QTypeText)
                throwNotValid(QStringLiteral("question %1 has the unknown type %2").arg(position).arg(q->qType));
            q->DatabaseID = requiredId(rs, QStringLiteral("question"), QStringLiteral("id"));
            q->QuestionNo = NullToEmpty(rs.field(QStringLiteral("questionno")));
            q->ResponseMatrixGroupID = 1;
            const QString key = survey.AddQ2(q);
            if (!keyOfId.contains(q->DatabaseID))
                keyOfId.insert(q->DatabaseID, key);
        }
    }

    // Responses come after every question is in, so a jump to a later question resolves too.
    db::Statement responses(connection,
        QStringLiteral("SELECT id, name, responseMatrixGroupID, LogicJumpToQuestionID FROM response "
                       "WHERE questionid = ? ORDER BY pos"));
    for (int i = 1; i <= survey.QCount(); ++i) {
        const QPtr q = survey.GetQIndex(i);
        if (!carriesResponses(q->qType))
            continue;
        db::Recordset rs = responses.query({ q->DatabaseID });
        bool first = true;
        for (; !rs.atEnd(); rs.moveNext()) {
            if (first) {
                q->ResponseMatrixGroupID
                    = requiredId(rs, QStringLiteral("response"), QStringLiteral("responseMatrixGroupID"));
                first = false;
            }
            const QVariant name = rs.field(QStringLiteral("name"));
            if (name.isNull())
                throwNull(QStringLiteral("name"));
            int jumpId = -1;
            QString jumpKey;
            if (!rs.isNull(QStringLiteral("LogicJumpToQuestionID"))) {
                jumpId = requiredId(rs, QStringLiteral("response"), QStringLiteral("LogicJumpToQuestionID"));
                jumpKey = keyOfId.value(jumpId);
            }
            q->AddResponse(
                name.toString(), requiredId(rs, QStringLiteral("response"), QStringLiteral("id")), jumpId, jumpKey);
        }
        // q is the stored object itself: there is nothing to store back with SetQ.
    }
}

void save(db::Connection& connection, clsSurvey& survey)
{
    // New questions get their ids during the save; they are put back if the save fails, so that
    // a later save does not take an id the rolled-back rows had for another question's row.
    std::vector<int> idsBefore;
    idsBefore.reserve(size_t(survey.QCount()));
    for (int i = 1; i <= survey.QCount(); ++i)
        idsBefore.push_back(survey.GetQIndex(i)->DatabaseID);

    try {
        db::Transaction transaction(connection);

        connection.execute(QStringLiteral("UPDATE question SET deleteme = true"));
        connection.execute(QStringLiteral("UPDATE response SET deleteme = true"));

        db::Statement findQuestion(connection, QStringLiteral("SELECT id FROM question WHERE id = ?"));
        db::Statement updateQuestion(connection,
            QStringLiteral("UPDATE question SET Deleteme = false, questionno = ?, question = ?, qtype = ?, "
                           "pos = ? WHERE id = ?"));
        for (int i = 1; i <= survey.QCount(); ++i) {
            const QPtr q = survey.GetQIndex(i);
            // A question without an id (-1 or 0) is new: it is added, never looked up.
            const bool stored = q->DatabaseID >= 1 && !findQuestion.query({ q->DatabaseID }).atEnd();
            if (!stored) {
                q->DatabaseID = newId(connection.appendRow(QStringLiteral("question"),
                                          {
                                              { QStringLiteral("question"), q->Question },
                                              { QStringLiteral("questionno"), q->QuestionNo },
                                              { QStringLiteral("qtype"), q->qType },
                                              { QStringLiteral("pos"), i },
                                              { QStringLiteral("Deleteme"), false },
                                          }),
                    QStringLiteral("question"));
            } else {
                updateQuestion.execute({ q->QuestionNo, q->Question, q->qType, i, q->DatabaseID });
            }
        }

        db::Statement findResponse(connection, QStringLiteral("SELECT id FROM response WHERE id = ?"));
        db::Statement updateResponse(connection,
            QStringLiteral("UPDATE response SET Deleteme = false, name = ?, responseMatrixGroupID = ?, "
                           "LogicJumpToQuestionID = ?, pos = ? WHERE id = ?"));
        for (int i = 1; i <= survey.QCount(); ++i) {
            const QPtr q = survey.GetQIndex(i);
            if (findQuestion.query({ q->DatabaseID }).atEnd())
                continue;
            if (!carriesResponses(q->qType))
                continue; // its rows stay marked and are swept
            for (int j = 1; j <= q->ResponsesCount(); ++j) {
                const ResponsePtr r = q->GetResponse(j);
                QVariant jump; // Null: no jump
                if (!r->LogicJumpToQuestionKey.isEmpty()) {
                    if (const QPtr target = survey.GetQ(r->LogicJumpToQuestionKey))
                        jump = target->DatabaseID;
                }
                if (r->DatabaseID >= 1 && !findResponse.query({ r->DatabaseID }).atEnd()) {
                    updateResponse.execute({ r->Text, q->ResponseMatrixGroupID, jump, j, r->DatabaseID });
                } else {
                    newId(connection.appendRow(QStringLiteral("response"),
                              {
                                  { QStringLiteral("questionid"), q->DatabaseID },
                                  { QStringLiteral("name"), r->Text },
                                  { QStringLiteral("pos"), j },
                                  { QStringLiteral("responseMatrixGroupID"), q->ResponseMatrixGroupID },
                                  { QStringLiteral("LogicJumpToQuestionID"), jump },
                              }),
                        QStringLiteral("response"));
                }
                q->UpdateResponse(j, r);
            }
        }

        connection.execute(QStringLiteral("DELETE FROM response WHERE deleteme = true;"));
        connection.execute(QStringLiteral("DELETE FROM question WHERE deleteme = true;"));
        transaction.commit();
    } catch (...) {
        for (int i = 1; i <= survey.QCount() && size_t(i - 1) < idsBefore.size(); ++i)
            survey.GetQIndex(i)->DatabaseID = idsBefore[size_t(i - 1)];
        throw;
    }
}

// Writing into a new file

void saveAsNew(db::Connection& connection, const clsSurvey& survey)
{
    // A copy without ids: the questions and responses of the survey are shared objects, which the
    // save would otherwise give the new file's ids.
    clsSurvey fresh;
    QHash<QString, QString> keyInCopy;
    for (int i = 1; i <= survey.QCount(); ++i) {
        const QPtr q = survey.GetQIndex(i);
        auto copy = std::make_shared<clsQ>(*q);
        copy->DatabaseID = -1;
        copy->ClearAllResponses();
        const QString key = fresh.AddQ2(copy);
        if (!keyInCopy.contains(q->Key))
            keyInCopy.insert(q->Key, key);
    }
    for (int i = 1; i <= survey.QCount(); ++i) {
        const QPtr q = survey.GetQIndex(i);
        const QPtr copy = fresh.GetQIndex(i);
        for (int j = 1; j <= q->ResponsesCount(); ++j) {
            const ResponsePtr r = q->GetResponse(j);
            copy->AddResponse(r->Text, -1, -1, keyInCopy.value(r->LogicJumpToQuestionKey));
        }
    }
    save(connection, fresh);
}

void copyAnswerScales(db::Connection& from, db::Connection& to)
{
    std::vector<std::vector<QVariant>> groups;
    std::vector<std::vector<QVariant>> columns;
    {
        const db::ReadTransaction reading(from);
        groups = from.openRecordset(QStringLiteral("SELECT id, name FROM responsematrixgroup")).readAll();
        columns = from.openRecordset(QStringLiteral("SELECT id, name, responsematrixgroupid, pos FROM responsematrix"))
                      .readAll();
    }
    db::Transaction transaction(to);
    to.execute(QStringLiteral("DELETE FROM responsematrix"));
    to.execute(QStringLiteral("DELETE FROM responsematrixgroup"));
    for (const std::vector<QVariant>& row : groups)
        to.execute(QStringLiteral("INSERT INTO responsematrixgroup (id, name) VALUES (?, ?)"), { row[0], row[1] });
    for (const std::vector<QVariant>& row : columns) {
        to.execute(
            QStringLiteral("INSERT INTO responsematrix (id, name, responsematrixgroupid, pos) VALUES (?, ?, ?, ?)"),
            { row[0], row[1], row[2], row[3] });
    }
    transaction.commit();
}

} // namespace SurveyFile
