#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <exception>
#include <memory>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// The database layer of the survey files and the question library: a SQLite connection with
// statements run from SQL text, rows read forward, rows appended with their new id read back,
// and transactions. Every failure is thrown as db::Error, which callers catch at the level of the
// command and turn into their message.
//
// Prepared statements are cached on the connection, keyed by their SQL text: Execute,
// openRecordset, appendRow and Statement prepare a text only the first time and take the
// prepared statement from the cache afterwards, with its column names resolved once. So that a
// text repeats, pass values as "?" placeholders rather than writing them into the text. The cache
// is invisible otherwise: a statement in use (by a live Recordset or Statement) is never handed
// out again (a second one is prepared), bindings are cleared when a statement goes back, schema
// changes re-prepare a cached statement when it next runs, and close() finalizes every statement
// of the connection, also those of recordsets still alive (which then answer "closed").
namespace db {

class Error : public std::exception {
public:
    Error(QString description, int number, QString source = QStringLiteral("Tessivo.Database"));

    const QString& description() const { return description_; }
    int number() const { return number_; }
    const QString& source() const { return source_; }
    const char* what() const noexcept override { return what_.constData(); }

    // What a failure of the database layer says of the file (by SQLite's result code); a failure
    // of the program's own answers false to each.
    // The file is not a whole database: damaged, or not a database at all.
    bool isDamage() const;
    // The file or its folder may not be written.
    bool isReadOnly() const;
    // Another connection holds the file.
    bool isBusy() const;
    // The disk (or the file's allowed size) is full.
    bool isDiskFull() const;
    // The file could not be opened.
    bool isCantOpen() const;
    // Reading or writing the file failed at the system's level (a file deleted while it was open,
    // a lost disk).
    bool isIoError() const;

private:
    QString description_;
    int number_;
    QString source_;
    QByteArray what_;
};

// The numbers of the program's own failures that its messages show (the database layer's carry
// SQLite's result code): a file that is not there, one that cannot be read or written, and a
// file that is not of the kind expected.
inline constexpr int kErrFileNotFound = 53;
inline constexpr int kErrPathAccess = 75;
inline constexpr int kErrBadFileFormat = 321;

// A failure of the program's own, with the program ("Tessivo") as its source.
Error programError(QString description, int number);

// One column value and its name for appendRow.
using Field = std::pair<QString, QVariant>;

// A text value already in UTF-8, given as QVariant::fromValue(Utf8Text{bytes}): bound as text
// without a conversion, and without a copy where the statement runs within the call (Execute,
// appendRow, Statement::execute), so that a long value is held once.
struct Utf8Text {
    QByteArray bytes;
};

class Statement;

namespace detail {
struct CachedStatement;
class StatementCache;
} // namespace detail

// Rows of a query, read forward from the first to the end. Columns are found by name without
// regard to case, or by position.
class Recordset {
public:
    Recordset() = default;
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;
    ~Recordset();

    bool atEnd() const { return atEnd_; }
    void moveNext();

    int fieldCount() const;
    QString fieldName(int index) const;
    // The value of a column of the current row; a Null value is a null QVariant.
    QVariant field(int index) const;
    QVariant field(const QString& name) const;
    bool isNull(int index) const;
    bool isNull(const QString& name) const { return field(name).isNull(); }
    // The value of a column of the current row as UTF-8 text, without a copy: valid until the
    // recordset moves on; a Null value is a null view. For reads of many rows that keep little of
    // each row's texts.
    QByteArrayView utf8(int index) const;
    // The value of a column of the current row as a whole number (0 for Null), without a QVariant.
    qint64 int64(int index) const;

    // Every row at once (for small results); the recordset is at its end afterwards.
    std::vector<std::vector<QVariant>> readAll();

private:
    friend class Connection;
    friend class Statement;
    // lease: the recordset gives the statement back to the cache when it ends; otherwise it is
    // borrowed from a Statement and only reset.
    Recordset(std::shared_ptr<detail::CachedStatement> statement, bool lease);
    void start();
    sqlite3_stmt* current() const;
    // The statement on its current row, which has a column of that index; throws otherwise.
    sqlite3_stmt* rowWith(int index) const;
    int indexOf(const QString& name) const;
    void step();
    void release() noexcept;

    std::shared_ptr<detail::CachedStatement> statement_;
    bool lease_ = false;
    bool atEnd_ = true;
};

enum class OpenMode { ReadWrite, ReadOnly };

// A connection to one database file. Opening fails on a missing file, on a file that is not a
// database, and on a database that lacks any of the tables the caller requires.
class Connection {
public:
    Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection();

    void open(const QString& path, const QStringList& requiredTables = {}, OpenMode mode = OpenMode::ReadWrite);
    // Closing a closed connection is harmless.
    void close() noexcept;
    bool isOpen() const { return db_ != nullptr; }
    const QString& path() const { return path_; }

    // Runs one SQL statement (a trailing ";" is allowed); values bind to "?" placeholders in order.
    void execute(const QString& sql, const QVariantList& params = {});
    // Runs one query; the recordset stands on its first row, or at its end when there is none.
    Recordset openRecordset(const QString& sql, const QVariantList& params = {});
    // Adds a row to the table and returns its new id.
    qint64 appendRow(const QString& table, const std::vector<Field>& fields);
    qint64 lastInsertId() const;
    bool hasTable(const QString& table);

    void beginTrans();
    void commitTrans();
    void rollbackTrans() noexcept;
    // True while a transaction is open on the connection.
    bool inTransaction() const;

    // Copies the database as this connection sees it into the file at path (created when missing;
    // an empty file or a database, whose content is replaced) with SQLite's online backup; the
    // connection itself stays as it is. It works also when the connection's own file was deleted
    // or moved while it was open. Throws on failure.
    void backupTo(const QString& path);

    // The raw SQLite handle. Statements prepared on it by hand are the caller's to finalize
    // before close(); the connection's own are finalized by close().
    sqlite3* handle() const { return db_; }

    // The prepared statements the cache holds (idle ones and those in use), for tests.
    int cachedStatementCount() const;

private:
    friend class Statement;
    void requireOpen() const;
    std::shared_ptr<detail::CachedStatement> acquire(const QString& sql);

    sqlite3* db_ = nullptr;
    QString path_;
    std::unique_ptr<detail::StatementCache> cache_;
};

// A statement prepared once and run many times with new values (hot paths and bulk writes). It
// holds a statement of the connection's cache for its lifetime and gives it back when destroyed.
// After the connection is closed, running it fails with "closed".
class Statement {
public:
    Statement(Connection& connection, const QString& sql);
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    // Binds the values to the placeholders and runs the statement to its end.
    void execute(const QVariantList& params = {});
    // Binds the values and returns the rows; the recordset must be finished or destroyed before
    // the statement runs again.
    Recordset query(const QVariantList& params = {});

private:
    // live: the values stay alive while the statement runs, so long texts are bound in place.
    sqlite3_stmt* bindAll(const QVariantList& params, bool live);

    std::shared_ptr<detail::CachedStatement> statement_;
};

// Begins a transaction and rolls it back when left without commit().
class Transaction {
public:
    explicit Transaction(Connection& connection);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();
    void commit();

private:
    Connection& connection_;
    bool done_ = false;
};

// Reads that should take the file's lock once and see one state of it (a survey loaded whole):
// begins a deferred transaction when none is open and ends it when left. Inside a transaction
// already open it does nothing.
class ReadTransaction {
public:
    explicit ReadTransaction(Connection& connection);
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;
    ~ReadTransaction();

private:
    Connection& connection_;
    bool began_ = false;
};

} // namespace db

Q_DECLARE_METATYPE(db::Utf8Text)
