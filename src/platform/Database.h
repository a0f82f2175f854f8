#pragma once

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
namespace db {

class Error : public std::exception {
public:
    Error(QString description, int number, QString source = QStringLiteral("Tessivo.Database"));

    const QString& description() const { return description_; }
    int number() const { return number_; }
    const QString& source() const { return source_; }
    const char* what() const noexcept override { return what_.constData(); }

private:
    QString description_;
    int number_;
    QString source_;
    QByteArray what_;
};

// One column value and its name for AppendRow.
using Field = std::pair<QString, QVariant>;

class Statement;

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
    void MoveNext();

    int fieldCount() const;
    QString fieldName(int index) const;
    // The value of a column of the current row; a Null value is a null QVariant.
    QVariant field(int index) const;
    QVariant field(const QString& name) const;
    bool isNull(int index) const { return field(index).isNull(); }
    bool isNull(const QString& name) const { return field(name).isNull(); }

    // Every row at once (for small results); the recordset is at its end afterwards.
    std::vector<std::vector<QVariant>> readAll();

private:
    friend class Connection;
    friend class Statement;
    Recordset(sqlite3* db, sqlite3_stmt* stmt, bool ownsStatement);
    int indexOf(const QString& name) const;
    void step();

    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    bool ownsStatement_ = true;
    bool atEnd_ = true;
};

enum class OpenMode { ReadWrite, ReadOnly };

// A connection to one database file. Opening fails on a missing file, on a file that is not a
// database, and on a database that lacks any of the tables the caller requires.
class Connection {
public:
    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection();

    void Open(const QString& path, const QStringList& requiredTables = {},
              OpenMode mode = OpenMode::ReadWrite);
    // Closing a closed connection is harmless.
    void Close() noexcept;
    bool isOpen() const { return db_ != nullptr; }
    const QString& path() const { return path_; }

    // Runs one SQL statement (a trailing ";" is allowed); values bind to "?" placeholders in order.
    void Execute(const QString& sql, const QVariantList& params = {});
    // Runs one query; the recordset stands on its first row, or at its end when there is none.
    Recordset OpenRecordset(const QString& sql, const QVariantList& params = {});
    // Adds a row to the table and returns its new id.
    qint64 AppendRow(const QString& table, const std::vector<Field>& fields);
    qint64 lastInsertId() const;
    bool hasTable(const QString& table);

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans() noexcept;

    sqlite3* handle() const { return db_; }

private:
    void requireOpen() const;

    sqlite3* db_ = nullptr;
    QString path_;
};

// A statement prepared once and run many times with new values (hot paths and bulk writes).
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
    void bindAll(const QVariantList& params);

    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
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

}  // namespace db
