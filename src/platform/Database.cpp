#include "platform/Database.h"

#include "platform/StatementCache.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace db {

using detail::CachedStatement;

namespace {

const QString kSource = QStringLiteral("SQLite");

[[noreturn]] void throwFrom(sqlite3* db, int code)
{
    const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code));
    throw Error(message, db ? sqlite3_extended_errcode(db) : code, kSource);
}

sqlite3_stmt* prepare(sqlite3* db, const QString& sql)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    // Kept in the cache for long: the persistent flag keeps it out of the lookaside memory.
    const int rc = sqlite3_prepare_v3(db, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT, &stmt, &tail);
    if (rc != SQLITE_OK)
        throwFrom(db, rc);
    if (!stmt)
        throw Error(QStringLiteral("The SQL text holds no statement"), SQLITE_MISUSE, kSource);
    // Only white space and ";" may follow the statement: a second statement would be ignored.
    for (const char* p = tail; p && *p; ++p) {
        if (*p != ';' && *p != ' ' && *p != '\t' && *p != '\r' && *p != '\n') {
            sqlite3_finalize(stmt);
            throw Error(QStringLiteral("Only one SQL statement may be run at a time"), SQLITE_MISUSE, kSource);
        }
    }
    return stmt;
}

// Whether the values bound stay alive while the statement runs (it runs to its end within the
// call that binds them), or must be copied (a recordset reads on after the call).
enum class Values { Live, Copied };

int bindValue(sqlite3_stmt* stmt, int column, const QVariant& value, Values values)
{
    if (value.metaType() == QMetaType::fromType<Utf8Text>()) {
        const QByteArray& bytes = static_cast<const Utf8Text*>(value.constData())->bytes;
        return sqlite3_bind_text64(stmt, column, bytes.constData(), sqlite3_uint64(bytes.size()),
            values == Values::Live ? SQLITE_STATIC : SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    if (value.isNull())
        return sqlite3_bind_null(stmt, column);
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return sqlite3_bind_int64(stmt, column, value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(stmt, column, value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob(stmt, column, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text(stmt, column, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    }
    }
}

void checkCount(sqlite3_stmt* stmt, qsizetype given)
{
    if (given != sqlite3_bind_parameter_count(stmt)) {
        throw Error(QStringLiteral("The statement expects %1 values but was given %2")
                        .arg(sqlite3_bind_parameter_count(stmt))
                        .arg(given),
            SQLITE_RANGE, kSource);
    }
}

void bind(sqlite3* db, sqlite3_stmt* stmt, const QVariantList& params, Values values)
{
    checkCount(stmt, params.size());
    for (int i = 0; i < params.size(); ++i) {
        const int rc = bindValue(stmt, i + 1, params.at(i), values);
        if (rc != SQLITE_OK)
            throwFrom(db, rc);
    }
}

void bind(sqlite3* db, sqlite3_stmt* stmt, const std::vector<Field>& fields)
{
    checkCount(stmt, qsizetype(fields.size()));
    for (size_t i = 0; i < fields.size(); ++i) {
        const int rc = bindValue(stmt, int(i + 1), fields[i].second, Values::Live);
        if (rc != SQLITE_OK)
            throwFrom(db, rc);
    }
}

[[noreturn]] void throwClosed()
{
    throw Error(QStringLiteral("Operation is not allowed when the object is closed"), SQLITE_MISUSE, kSource);
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

} // namespace

Error::Error(QString description, int number, QString source)
    : description_(std::move(description))
    , number_(number)
    , source_(std::move(source))
    , what_(description_.toUtf8())
{ }

namespace {
// SQLite's primary result code of a failure of the database layer; 0 for any other failure.
int resultCode(const Error& error)
{
    return error.source() == kSource ? error.number() & 0xff : SQLITE_OK;
}
} // namespace

bool Error::isDamage() const
{
    const int code = resultCode(*this);
    return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

bool Error::isReadOnly() const
{
    return resultCode(*this) == SQLITE_READONLY;
}

bool Error::isBusy() const
{
    const int code = resultCode(*this);
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

bool Error::isDiskFull() const
{
    return resultCode(*this) == SQLITE_FULL;
}

bool Error::isCantOpen() const
{
    return resultCode(*this) == SQLITE_CANTOPEN;
}

bool Error::isIoError() const
{
    return resultCode(*this) == SQLITE_IOERR;
}

Error programError(QString description, int number)
{
    return Error(std::move(description), number, QStringLiteral("Tessivo"));
}

// Recordset

Recordset::Recordset(std::shared_ptr<CachedStatement> statement, bool lease)
    : statement_(std::move(statement))
    , lease_(lease)
    , atEnd_(false)
{ }

void Recordset::start()
{
    step();
    // A schema change makes SQLite prepare the statement again on its first step.
    if (statement_ && statement_->stmt)
        statement_->checkReprepared();
}

Recordset::Recordset(Recordset&& other) noexcept
    : statement_(std::move(other.statement_))
    , lease_(other.lease_)
    , atEnd_(std::exchange(other.atEnd_, true))
{ }

Recordset& Recordset::operator=(Recordset&& other) noexcept
{
    if (this != &other) {
        release();
        statement_ = std::move(other.statement_);
        lease_ = other.lease_;
        atEnd_ = std::exchange(other.atEnd_, true);
    }
    return *this;
}

Recordset::~Recordset()
{
    release();
}

void Recordset::release() noexcept
{
    if (!statement_)
        return;
    std::shared_ptr<CachedStatement> statement = std::move(statement_);
    statement_.reset();
    if (!statement->stmt)
        return; // the connection was closed
    if (lease_ && statement->cache)
        statement->cache->release(std::move(statement));
    else
        sqlite3_reset(statement->stmt);
}

sqlite3_stmt* Recordset::current() const
{
    if (!statement_)
        return nullptr;
    if (!statement_->stmt)
        throwClosed();
    return statement_->stmt;
}

void Recordset::step()
{
    if (!statement_ || atEnd_)
        return;
    sqlite3_stmt* stmt = current();
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW)
        return;
    atEnd_ = true;
    if (rc != SQLITE_DONE)
        throwFrom(statement_->db, rc);
}

void Recordset::moveNext()
{
    if (atEnd_)
        throw Error(QStringLiteral("Either BOF or EOF is True: there is no current row"), SQLITE_MISUSE, kSource);
    step();
}

int Recordset::fieldCount() const
{
    sqlite3_stmt* stmt = current();
    return stmt ? sqlite3_column_count(stmt) : 0;
}

QString Recordset::fieldName(int index) const
{
    sqlite3_stmt* stmt = current();
    return stmt ? QString::fromUtf8(sqlite3_column_name(stmt, index)) : QString();
}

int Recordset::indexOf(const QString& name) const
{
    return current() ? statement_->column(name) : -1;
}

sqlite3_stmt* Recordset::rowWith(int index) const
{
    if (atEnd_)
        throw Error(QStringLiteral("Either BOF or EOF is True: there is no current row"), SQLITE_MISUSE, kSource);
    sqlite3_stmt* stmt = current();
    if (index < 0 || index >= sqlite3_column_count(stmt))
        throw Error(
            QStringLiteral("Item cannot be found in the collection: column %1").arg(index), SQLITE_RANGE, kSource);
    return stmt;
}

QVariant Recordset::field(int index) const
{
    return columnValue(rowWith(index), index);
}

bool Recordset::isNull(int index) const
{
    return sqlite3_column_type(rowWith(index), index) == SQLITE_NULL;
}

QByteArrayView Recordset::utf8(int index) const
{
    sqlite3_stmt* stmt = rowWith(index);
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, index));
    if (!text)
        return {};
    return QByteArrayView(text, sqlite3_column_bytes(stmt, index));
}

qint64 Recordset::int64(int index) const
{
    return sqlite3_column_int64(rowWith(index), index);
}

QVariant Recordset::field(const QString& name) const
{
    const int index = indexOf(name);
    if (index < 0)
        throw Error(
            QStringLiteral("Item cannot be found in the collection: column '%1'").arg(name), SQLITE_RANGE, kSource);
    return field(index);
}

std::vector<std::vector<QVariant>> Recordset::readAll()
{
    std::vector<std::vector<QVariant>> rows;
    const int count = fieldCount();
    while (!atEnd_) {
        sqlite3_stmt* stmt = current();
        std::vector<QVariant> row;
        row.reserve(size_t(count));
        for (int i = 0; i < count; ++i)
            row.push_back(columnValue(stmt, i));
        rows.push_back(std::move(row));
        step();
    }
    return rows;
}

// Connection

namespace {

// Gives a cached statement back when the work with it ends, also by an exception.
class Lease {
public:
    explicit Lease(std::shared_ptr<CachedStatement> statement)
        : statement_(std::move(statement))
    { }
    ~Lease()
    {
        if (statement_->stmt && statement_->cache)
            statement_->cache->release(std::move(statement_));
    }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    sqlite3_stmt* stmt() const { return statement_->stmt; }
    sqlite3* db() const { return statement_->db; }

private:
    std::shared_ptr<CachedStatement> statement_;
};

void runToEnd(sqlite3* db, sqlite3_stmt* stmt)
{
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) { }
    if (rc != SQLITE_DONE)
        throwFrom(db, rc);
}

} // namespace

Connection::Connection() = default;

Connection::~Connection()
{
    close();
}

void Connection::open(const QString& path, const QStringList& requiredTables, OpenMode mode)
{
    close();
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw Error(QStringLiteral("Could not find file '%1'").arg(path), SQLITE_CANTOPEN, kSource);

    // SQLite is given the absolute path and no URI flag: a name such as "file:x.tvq" is the file
    // of that name, never a URI, also where URI names are switched on for the whole process.
    const int flags = (mode == OpenMode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(info.absoluteFilePath().toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        throw Error(QStringLiteral("Could not open '%1': %2").arg(path, message), rc, kSource);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 2000);
    db_ = db;
    path_ = path;
    cache_ = std::make_unique<detail::StatementCache>(db_);

    QStringList present;
    try {
        // Reading the schema is what tells a database from any other file.
        Recordset tables = openRecordset(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
        for (; !tables.atEnd(); tables.moveNext())
            present << tables.field(0).toString();
    } catch (const Error& e) {
        close();
        if ((e.number() & 0xff) == SQLITE_NOTADB)
            throw Error(QStringLiteral("The file '%1' is not a database").arg(path), SQLITE_NOTADB, kSource);
        throw;
    }
    for (const QString& table : requiredTables) {
        if (!present.contains(table, Qt::CaseInsensitive)) {
            close();
            throw Error(QStringLiteral("The file '%1' is not a valid database of this kind: the table '%2' is missing")
                            .arg(path, table),
                SQLITE_NOTADB, kSource);
        }
    }
}

void Connection::close() noexcept
{
    if (!db_)
        return;
    // Every statement of the connection goes first, those of live recordsets too, so that the
    // connection really closes (no zombie waiting for a statement) and the file is free.
    if (cache_)
        cache_->finalizeAll();
    cache_.reset();
    if (!sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db_);
    db_ = nullptr;
    path_.clear();
}

void Connection::requireOpen() const
{
    if (!db_)
        throwClosed();
}

std::shared_ptr<CachedStatement> Connection::acquire(const QString& sql)
{
    requireOpen();
    if (std::shared_ptr<CachedStatement> idle = cache_->takeIdle(sql))
        return idle;
    // A text that does not prepare leaves nothing behind.
    return cache_->adopt(sql, prepare(db_, sql));
}

void Connection::execute(const QString& sql, const QVariantList& params)
{
    const Lease lease(acquire(sql));
    bind(lease.db(), lease.stmt(), params, Values::Live);
    runToEnd(lease.db(), lease.stmt());
}

Recordset Connection::openRecordset(const QString& sql, const QVariantList& params)
{
    std::shared_ptr<CachedStatement> statement = acquire(sql);
    sqlite3_stmt* stmt = statement->stmt;
    // From here the recordset gives the statement back, also when binding or the first step fails.
    Recordset rs(std::move(statement), true);
    bind(db_, stmt, params, Values::Copied);
    rs.start();
    return rs;
}

qint64 Connection::appendRow(const QString& table, const std::vector<Field>& fields)
{
    requireOpen();
    const Lease lease(acquire(cache_->insertText(table, fields)));
    bind(lease.db(), lease.stmt(), fields);
    runToEnd(lease.db(), lease.stmt());
    return sqlite3_last_insert_rowid(db_);
}

qint64 Connection::lastInsertId() const
{
    requireOpen();
    return sqlite3_last_insert_rowid(db_);
}

bool Connection::hasTable(const QString& table)
{
    Recordset rs = openRecordset(
        QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"), { table });
    return !rs.atEnd();
}

void Connection::beginTrans()
{
    execute(QStringLiteral("BEGIN IMMEDIATE"));
}

void Connection::commitTrans()
{
    execute(QStringLiteral("COMMIT"));
}

void Connection::rollbackTrans() noexcept
{
    if (db_ && !sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool Connection::inTransaction() const
{
    return db_ && !sqlite3_get_autocommit(db_);
}

int Connection::cachedStatementCount() const
{
    return cache_ ? cache_->count() : 0;
}

// Statement

Statement::Statement(Connection& connection, const QString& sql)
    : statement_(connection.acquire(sql))
{ }

Statement::~Statement()
{
    // A recordset of query() that is still alive keeps the statement to itself until it ends.
    if (statement_->stmt && statement_->cache && statement_.use_count() == 1)
        statement_->cache->release(std::move(statement_));
}

sqlite3_stmt* Statement::bindAll(const QVariantList& params, bool live)
{
    sqlite3_stmt* stmt = statement_->stmt;
    if (!stmt)
        throwClosed();
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    bind(statement_->db, stmt, params, live ? Values::Live : Values::Copied);
    return stmt;
}

void Statement::execute(const QVariantList& params)
{
    sqlite3_stmt* stmt = bindAll(params, true);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) { }
    sqlite3_reset(stmt);
    // The values were bound in place: the statement keeps no pointer into them.
    sqlite3_clear_bindings(stmt);
    if (rc != SQLITE_DONE)
        throwFrom(statement_->db, rc);
}

Recordset Statement::query(const QVariantList& params)
{
    bindAll(params, false);
    Recordset rs(statement_, false);
    rs.start();
    return rs;
}

// Transaction

Transaction::Transaction(Connection& connection)
    : connection_(connection)
{
    connection_.beginTrans();
}

Transaction::~Transaction()
{
    if (!done_)
        connection_.rollbackTrans();
}

void Transaction::commit()
{
    connection_.commitTrans();
    done_ = true;
}

// ReadTransaction

ReadTransaction::ReadTransaction(Connection& connection)
    : connection_(connection)
{
    if (!connection_.inTransaction()) {
        connection_.execute(QStringLiteral("BEGIN DEFERRED"));
        began_ = true;
    }
}

ReadTransaction::~ReadTransaction()
{
    // Reads only: ending it either way leaves the file as it was; a write made meanwhile by the
    // caller is rolled back, as a Transaction left without commit would.
    if (began_)
        connection_.rollbackTrans();
}

// Backup

void Connection::backupTo(const QString& path)
{
    requireOpen();
    sqlite3* target = nullptr;
    int rc = sqlite3_open_v2(
        path.toUtf8().constData(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString message
            = target ? QString::fromUtf8(sqlite3_errmsg(target)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(target);
        throw Error(QStringLiteral("Could not open '%1': %2").arg(path, message), rc, kSource);
    }
    sqlite3_extended_result_codes(target, 1);
    sqlite3_backup* backup = sqlite3_backup_init(target, "main", db_, "main");
    if (!backup) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(target));
        rc = sqlite3_extended_errcode(target);
        sqlite3_close_v2(target);
        throw Error(QStringLiteral("Could not copy the database to '%1': %2").arg(path, message), rc, kSource);
    }
    // One step copies every page; a page that cannot be read ends the copy with its error.
    rc = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (rc == SQLITE_DONE)
        rc = finished;
    const int closed = sqlite3_close_v2(target);
    if (rc == SQLITE_OK)
        rc = closed;
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        throw Error(
            QStringLiteral("Could not copy the database to '%1': %2").arg(path, QString::fromUtf8(sqlite3_errstr(rc))),
            rc, kSource);
}

} // namespace db
