#pragma once

// The prepared statements of a connection, cached by their SQL text (Database.h says what callers
// see of it), for the database files of this folder only. The cache only keeps statements: the
// connection prepares them and reports what fails.

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <unordered_set>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace db::detail {

class StatementCache;

// One prepared statement of a connection, cached by its SQL text. Recordsets and Statements hold
// it while they use it; the cache holds it while it is idle. close() finalizes it wherever it is
// (stmt becomes null, cache null).
struct CachedStatement {
    CachedStatement(sqlite3* connection, sqlite3_stmt* statement, StatementCache* owner, QString text);
    ~CachedStatement();
    CachedStatement(const CachedStatement&) = delete;
    CachedStatement& operator=(const CachedStatement&) = delete;

    // The column of a name as the caller spells it: resolved without regard to case the first
    // time, remembered afterwards. -1 when the statement has no such column.
    int column(const QString& name);
    // Forgets the resolved names when SQLite has prepared the statement again (schema change).
    void checkReprepared();

    struct Name {
        QString name;
        int index;
    };

    sqlite3* db;
    sqlite3_stmt* stmt;
    StatementCache* cache;
    QString sql;
    int reprepares;
    std::vector<Name> names;
};

class StatementCache {
public:
    // Distinct SQL texts kept, and idle statements kept per text (a text in use by a recordset
    // gets a second statement when run again meanwhile).
    static constexpr int kMaxTexts = 256;
    static constexpr size_t kMaxIdlePerText = 4;

    explicit StatementCache(sqlite3* db)
        : db_(db)
    { }
    ~StatementCache() { finalizeAll(); }
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // An idle statement of the text, taken out of the cache; null when none is idle.
    std::shared_ptr<CachedStatement> takeIdle(const QString& sql);
    // A statement just prepared for the text, in the cache's keeping from now on.
    std::shared_ptr<CachedStatement> adopt(const QString& sql, sqlite3_stmt* stmt);
    // Takes a statement back: reset, bindings cleared, kept for the next run of its text (or
    // finalized when enough of that text are idle already).
    void release(std::shared_ptr<CachedStatement> statement) noexcept;

    void forget(CachedStatement* statement) noexcept { live_.erase(statement); }

    int count() const { return int(live_.size()); }

    // Every statement of the connection, idle or in use, is finalized.
    void finalizeAll() noexcept;

    // The INSERT text of appendRow for a table and its columns (the names of its fields), made
    // once for each and kept for the last few of them.
    using Fields = std::vector<std::pair<QString, QVariant>>;
    const QString& insertText(const QString& table, const Fields& fields);

private:
    struct Insert {
        QString table;
        QStringList names;
        QString sql;

        bool matches(const QString& t, const Fields& fields) const
        {
            if (t != table || names.size() != qsizetype(fields.size()))
                return false;
            for (size_t i = 0; i < fields.size(); ++i) {
                if (names.at(qsizetype(i)) != fields[i].first)
                    return false;
            }
            return true;
        }
    };
    static constexpr size_t kMaxInserts = 16;

    struct Entry {
        std::vector<std::shared_ptr<CachedStatement>> idle;
        quint64 lastUse = 0;
    };

    // Runs only when a new text is prepared into a full cache: its cost is small beside the prepare.
    void evictOldest();

    sqlite3* db_;
    QHash<QString, Entry> entries_;
    std::unordered_set<CachedStatement*> live_;
    quint64 clock_ = 0;
    std::vector<Insert> inserts_;
    size_t nextInsert_ = 0;
};

} // namespace db::detail
