#include "platform/StatementCache.h"

#include <sqlite3.h>

namespace db::detail {

namespace {

QString quotedName(const QString& name)
{
    QString n = name;
    if (n.startsWith(QLatin1Char('[')) && n.endsWith(QLatin1Char(']')))
        n = n.mid(1, n.size() - 2);
    return QLatin1Char('"') + n.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

} // namespace

CachedStatement::CachedStatement(sqlite3* connection, sqlite3_stmt* statement, StatementCache* owner, QString text)
    : db(connection)
    , stmt(statement)
    , cache(owner)
    , sql(std::move(text))
    , reprepares(sqlite3_stmt_status(statement, SQLITE_STMTSTATUS_REPREPARE, 0))
{ }

CachedStatement::~CachedStatement()
{
    if (stmt)
        sqlite3_finalize(stmt);
    if (cache)
        cache->forget(this);
}

int CachedStatement::column(const QString& name)
{
    for (const Name& n : names) {
        // A literal at one call site has one address: most look-ups end at the first test.
        if (n.name.size() == name.size() && (n.name.constData() == name.constData() || n.name == name))
            return n.index;
    }
    int index = -1;
    const int count = sqlite3_column_count(stmt);
    for (int i = 0; i < count; ++i) {
        if (QString::fromUtf8(sqlite3_column_name(stmt, i)).compare(name, Qt::CaseInsensitive) == 0) {
            index = i;
            break;
        }
    }
    if (names.size() < 64)
        names.push_back({ name, index });
    return index;
}

void CachedStatement::checkReprepared()
{
    const int now = sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_REPREPARE, 0);
    if (now != reprepares) {
        reprepares = now;
        names.clear();
    }
}

std::shared_ptr<CachedStatement> StatementCache::takeIdle(const QString& sql)
{
    const auto found = entries_.find(sql);
    if (found == entries_.end())
        return nullptr;
    found->lastUse = ++clock_;
    if (found->idle.empty())
        return nullptr;
    std::shared_ptr<CachedStatement> statement = std::move(found->idle.back());
    found->idle.pop_back();
    return statement;
}

std::shared_ptr<CachedStatement> StatementCache::adopt(const QString& sql, sqlite3_stmt* stmt)
{
    auto statement = std::make_shared<CachedStatement>(db_, stmt, this, sql);
    live_.insert(statement.get());
    if (!entries_.contains(sql)) {
        if (entries_.size() >= kMaxTexts)
            evictOldest();
        entries_.insert(sql, Entry { {}, ++clock_ });
    }
    return statement;
}

void StatementCache::release(std::shared_ptr<CachedStatement> statement) noexcept
{
    sqlite3_reset(statement->stmt);
    sqlite3_clear_bindings(statement->stmt);
    const auto it = entries_.find(statement->sql);
    if (it == entries_.end() || it->idle.size() >= kMaxIdlePerText)
        return; // dropped: the last holder finalizes it
    try {
        it->idle.push_back(std::move(statement));
    } catch (...) {
        // Out of memory: the statement is finalized instead of kept.
    }
}

void StatementCache::finalizeAll() noexcept
{
    for (CachedStatement* statement : live_) {
        sqlite3_finalize(statement->stmt);
        statement->stmt = nullptr;
        statement->cache = nullptr;
    }
    live_.clear();
    entries_.clear();
    inserts_.clear();
}

const QString& StatementCache::insertText(const QString& table, const Fields& fields)
{
    for (const Insert& insert : inserts_) {
        if (insert.matches(table, fields))
            return insert.sql;
    }
    Insert insert;
    insert.table = table;
    QStringList quoted;
    QStringList marks;
    for (const auto& f : fields) {
        insert.names << f.first;
        quoted << quotedName(f.first);
        marks << QStringLiteral("?");
    }
    insert.sql = fields.empty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quotedName(table))
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
              .arg(quotedName(table), quoted.join(QLatin1String(", ")), marks.join(QLatin1String(", ")));
    if (inserts_.size() < kMaxInserts) {
        inserts_.push_back(std::move(insert));
        return inserts_.back().sql;
    }
    Insert& replaced = inserts_[nextInsert_++ % kMaxInserts];
    replaced = std::move(insert);
    return replaced.sql;
}

void StatementCache::evictOldest()
{
    auto oldest = entries_.end();
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (oldest == entries_.end() || it->lastUse < oldest->lastUse)
            oldest = it;
    }
    if (oldest != entries_.end())
        entries_.erase(oldest); // its idle statements are finalized as they go
}

} // namespace db::detail
