#include "platform/Database.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace db {

namespace {

const QString kSource = QStringLiteral("SQLite");

[[noreturn]] void throwFrom(sqlite3* db, int code)
{
    const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db))
                               : QString::fromUtf8(sqlite3_errstr(code));
    throw Error(message, db ? sqlite3_extended_errcode(db) : code, kSource);
}

sqlite3_stmt* prepare(sqlite3* db, const QString& sql)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, &tail);
    if (rc != SQLITE_OK)
        throwFrom(db, rc);
    if (!stmt)
        throw Error(QStringLiteral("The SQL text holds no statement"), SQLITE_MISUSE, kSource);
    // Only white space and ";" may follow the statement: a second statement would be ignored.
    for (const char* p = tail; p && *p; ++p) {
        if (*p != ';' && *p != ' ' && *p != '\t' && *p != '\r' && *p != '\n') {
            sqlite3_finalize(stmt);
            throw Error(QStringLiteral("Only one SQL statement may be run at a time"),
                        SQLITE_MISUSE, kSource);
        }
    }
    return stmt;
}

void bind(sqlite3* db, sqlite3_stmt* stmt, const QVariantList& params)
{
    if (params.size() != sqlite3_bind_parameter_count(stmt)) {
        throw Error(QStringLiteral("The statement expects %1 values but was given %2")
                        .arg(sqlite3_bind_parameter_count(stmt))
                        .arg(params.size()),
                    SQLITE_RANGE, kSource);
    }
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& value = params.at(i);
        const int column = i + 1;
        int rc = SQLITE_OK;
        if (value.isNull()) {
            rc = sqlite3_bind_null(stmt, column);
        } else {
            switch (value.typeId()) {
            case QMetaType::Bool:
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::Short:
            case QMetaType::UShort:
            case QMetaType::Long:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
                rc = sqlite3_bind_int64(stmt, column, value.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(stmt, column, value.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray bytes = value.toByteArray();
                rc = sqlite3_bind_blob(stmt, column, bytes.constData(), int(bytes.size()),
                                       SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray text = value.toString().toUtf8();
                rc = sqlite3_bind_text(stmt, column, text.constData(), int(text.size()),
                                       SQLITE_TRANSIENT);
                break;
            }
            }
        }
        if (rc != SQLITE_OK)
            throwFrom(db, rc);
    }
}

QVariant columnValue(sqlite3_stmt* stmt, int index)
{
    switch (sqlite3_column_type(stmt, index)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt, index)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, index));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, index));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(stmt, index)));
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt, index));
        return QVariant(QByteArray(data, sqlite3_column_bytes(stmt, index)));
    }
    default:
        return QVariant();
    }
}

QString quotedName(const QString& name)
{
    QString n = name;
    if (n.startsWith(QLatin1Char('[')) && n.endsWith(QLatin1Char(']')))
        n = n.mid(1, n.size() - 2);
    return QLatin1Char('"') + n.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

}  // namespace

Error::Error(QString description, int number, QString source)
    : description_(std::move(description)), number_(number), source_(std::move(source)),
      what_(description_.toUtf8())
{
}

// Recordset

Recordset::Recordset(sqlite3* db, sqlite3_stmt* stmt, bool ownsStatement)
    : db_(db), stmt_(stmt), ownsStatement_(ownsStatement), atEnd_(false)
{
    step();
}

Recordset::Recordset(Recordset&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), stmt_(std::exchange(other.stmt_, nullptr)),
      ownsStatement_(other.ownsStatement_), atEnd_(std::exchange(other.atEnd_, true))
{
}

Recordset& Recordset::operator=(Recordset&& other) noexcept
{
    if (this != &other) {
        this->~Recordset();
        db_ = std::exchange(other.db_, nullptr);
        stmt_ = std::exchange(other.stmt_, nullptr);
        ownsStatement_ = other.ownsStatement_;
        atEnd_ = std::exchange(other.atEnd_, true);
    }
    return *this;
}

Recordset::~Recordset()
{
    if (!stmt_)
        return;
    if (ownsStatement_)
        sqlite3_finalize(stmt_);
    else
        sqlite3_reset(stmt_);
    stmt_ = nullptr;
}

void Recordset::step()
{
    if (!stmt_ || atEnd_)
        return;
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return;
    atEnd_ = true;
    if (rc != SQLITE_DONE)
        throwFrom(db_, rc);
}

void Recordset::MoveNext()
{
    if (atEnd_)
        throw Error(QStringLiteral("Either BOF or EOF is True: there is no current row"),
                    SQLITE_MISUSE, kSource);
    step();
}

int Recordset::fieldCount() const
{
    return stmt_ ? sqlite3_column_count(stmt_) : 0;
}

QString Recordset::fieldName(int index) const
{
    return stmt_ ? QString::fromUtf8(sqlite3_column_name(stmt_, index)) : QString();
}

int Recordset::indexOf(const QString& name) const
{
    const int count = fieldCount();
    for (int i = 0; i < count; ++i) {
        if (fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant Recordset::field(int index) const
{
    if (atEnd_)
        throw Error(QStringLiteral("Either BOF or EOF is True: there is no current row"),
                    SQLITE_MISUSE, kSource);
    if (index < 0 || index >= fieldCount())
        throw Error(QStringLiteral("Item cannot be found in the collection: column %1").arg(index),
                    SQLITE_RANGE, kSource);
    return columnValue(stmt_, index);
}

QVariant Recordset::field(const QString& name) const
{
    const int index = indexOf(name);
    if (index < 0)
        throw Error(QStringLiteral("Item cannot be found in the collection: column '%1'").arg(name),
                    SQLITE_RANGE, kSource);
    return field(index);
}

std::vector<std::vector<QVariant>> Recordset::readAll()
{
    std::vector<std::vector<QVariant>> rows;
    const int count = fieldCount();
    while (!atEnd_) {
        std::vector<QVariant> row;
        row.reserve(count);
        for (int i = 0; i < count; ++i)
            row.push_back(columnValue(stmt_, i));
        rows.push_back(std::move(row));
        step();
    }
    return rows;
}

// Connection

Connection::~Connection()
{
    Close();
}

void Connection::Open(const QString& path, const QStringList& requiredTables, OpenMode mode)
{
    Close();
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw Error(QStringLiteral("Could not find file '%1'").arg(path), SQLITE_CANTOPEN, kSource);

    const int flags = (mode == OpenMode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE)
                      | SQLITE_OPEN_NOMUTEX;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db))
                                   : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        throw Error(QStringLiteral("Could not open '%1': %2").arg(path, message), rc, kSource);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 2000);
    db_ = db;
    path_ = path;

    QStringList present;
    try {
        // Reading the schema is what tells a database from any other file.
        Recordset tables = OpenRecordset(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
        for (; !tables.atEnd(); tables.MoveNext())
            present << tables.field(0).toString();
    } catch (const Error& e) {
        Close();
        if ((e.number() & 0xff) == SQLITE_NOTADB)
            throw Error(QStringLiteral("The file '%1' is not a database").arg(path), SQLITE_NOTADB, kSource);
        throw;
    }
    for (const QString& table : requiredTables) {
        if (!present.contains(table, Qt::CaseInsensitive)) {
            Close();
            throw Error(QStringLiteral("The file '%1' is not a valid database of this kind: the table '%2' is missing")
                            .arg(path, table),
                        SQLITE_NOTADB, kSource);
        }
    }
}

void Connection::Close() noexcept
{
    if (!db_)
        return;
    if (!sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db_);
    db_ = nullptr;
    path_.clear();
}

void Connection::requireOpen() const
{
    if (!db_)
        throw Error(QStringLiteral("Operation is not allowed when the object is closed"),
                    SQLITE_MISUSE, kSource);
}

void Connection::Execute(const QString& sql, const QVariantList& params)
{
    requireOpen();
    sqlite3_stmt* stmt = prepare(db_, sql);
    try {
        bind(db_, stmt, params);
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE)
            throwFrom(db_, rc);
    } catch (...) {
        sqlite3_finalize(stmt);
        throw;
    }
    sqlite3_finalize(stmt);
}

Recordset Connection::OpenRecordset(const QString& sql, const QVariantList& params)
{
    requireOpen();
    sqlite3_stmt* stmt = prepare(db_, sql);
    try {
        bind(db_, stmt, params);
    } catch (...) {
        sqlite3_finalize(stmt);
        throw;
    }
    return Recordset(db_, stmt, true);
}

qint64 Connection::AppendRow(const QString& table, const std::vector<Field>& fields)
{
    requireOpen();
    QStringList names;
    QStringList marks;
    QVariantList values;
    for (const Field& f : fields) {
        names << quotedName(f.first);
        marks << QStringLiteral("?");
        values << f.second;
    }
    const QString sql = names.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quotedName(table))
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
              .arg(quotedName(table), names.join(QLatin1String(", ")), marks.join(QLatin1String(", ")));
    Execute(sql, values);
    return lastInsertId();
}

qint64 Connection::lastInsertId() const
{
    requireOpen();
    return sqlite3_last_insert_rowid(db_);
}

bool Connection::hasTable(const QString& table)
{
    Recordset rs = OpenRecordset(
        QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"),
        {table});
    return !rs.atEnd();
}

void Connection::BeginTrans()
{
    Execute(QStringLiteral("BEGIN IMMEDIATE"));
}

void Connection::CommitTrans()
{
    Execute(QStringLiteral("COMMIT"));
}

void Connection::RollbackTrans() noexcept
{
    if (db_ && !sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

// Statement

Statement::Statement(Connection& connection, const QString& sql) : db_(connection.handle())
{
    if (!db_)
        throw Error(QStringLiteral("Operation is not allowed when the object is closed"),
                    SQLITE_MISUSE, kSource);
    stmt_ = prepare(db_, sql);
}

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

void Statement::bindAll(const QVariantList& params)
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    bind(db_, stmt_, params);
}

void Statement::execute(const QVariantList& params)
{
    bindAll(params);
    int rc;
    while ((rc = sqlite3_step(stmt_)) == SQLITE_ROW) {
    }
    sqlite3_reset(stmt_);
    if (rc != SQLITE_DONE)
        throwFrom(db_, rc);
}

Recordset Statement::query(const QVariantList& params)
{
    bindAll(params);
    return Recordset(db_, stmt_, false);
}

// Transaction

Transaction::Transaction(Connection& connection) : connection_(connection)
{
    connection_.BeginTrans();
}

Transaction::~Transaction()
{
    if (!done_)
        connection_.RollbackTrans();
}

void Transaction::commit()
{
    connection_.CommitTrans();
    done_ = true;
}

}  // namespace db
