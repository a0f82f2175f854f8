#include "platform/Database.h"

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("t.db"));
        db::Connection create;
        // A fresh file: SQLite makes it when the file exists empty.
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.close();
        conn.open(path);
        conn.execute(QStringLiteral("CREATE TABLE question (id INTEGER PRIMARY KEY AUTOINCREMENT, question TEXT, "
                                    "qtype INTEGER, deleteme INTEGER NOT NULL DEFAULT 0)"));
        conn.execute(
            QStringLiteral("CREATE TABLE ResponseMatrixGroup (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT)"));
    }

    QTemporaryDir dir;
    QString path;
    db::Connection conn;
};

TEST_F(DatabaseTest, OpenFailsClearlyOnMissingFileNonDatabaseAndMissingTables)
{
    db::Connection other;
    try {
        other.open(dir.filePath(QStringLiteral("absent.db")));
        FAIL() << "opened a missing file";
    } catch (const db::Error& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("absent.db")));
    }
    EXPECT_FALSE(other.isOpen());

    const QString text = dir.filePath(QStringLiteral("notes.tvq"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("This is a letter, not a survey.\n").repeated(200));
    f.close();
    try {
        other.open(text);
        FAIL() << "opened a text file";
    } catch (const db::Error& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("is not a database"))) << e.what();
    }
    EXPECT_FALSE(other.isOpen());

    try {
        other.open(path, { QStringLiteral("question"), QStringLiteral("version") });
        FAIL() << "opened a database without the version table";
    } catch (const db::Error& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("'version' is missing"))) << e.what();
    }
    EXPECT_FALSE(other.isOpen());
    other.close(); // closing a closed connection is harmless
}

TEST_F(DatabaseTest, RunsTheProgramsSqlTextsAsWritten)
{
    const qint64 id = conn.appendRow(
        QStringLiteral("[ResponseMatrixGroup]"), { { QStringLiteral("Name"), QStringLiteral("User Added") } });
    EXPECT_GT(id, 0);
    conn.appendRow(QStringLiteral("question"),
        { { QStringLiteral("question"), QStringLiteral("It's") }, { QStringLiteral("qtype"), 2 } });
    conn.execute(QStringLiteral("UPDATE question SET deleteme = true"));
    conn.execute(QStringLiteral("UPDATE question SET Deleteme = false, question = 'Say ''hi''' WHERE id = 1"));

    db::Recordset rs = conn.openRecordset(
        QStringLiteral("SELECT rmg.id, rmg.name FROM responsematrixgroup AS rmg WHERE rmg.id<>0;"));
    ASSERT_FALSE(rs.atEnd());
    EXPECT_EQ(rs.field(QStringLiteral("ID")).toLongLong(), id);
    EXPECT_EQ(rs.field(QStringLiteral("NAME")).toString(), QStringLiteral("User Added"));
    EXPECT_EQ(rs.field(0).toLongLong(), id);
    rs.moveNext();
    EXPECT_TRUE(rs.atEnd());

    db::Recordset q = conn.openRecordset(QStringLiteral("SELECT * FROM question"));
    EXPECT_EQ(q.field(QStringLiteral("question")).toString(), QStringLiteral("Say 'hi'"));
    EXPECT_EQ(q.field(QStringLiteral("DeleteMe")).toInt(), 0);
}

TEST_F(DatabaseTest, NullValuesAndBoundTextsSurviveAsTheyAre)
{
    const QString hostile = QStringLiteral("'); DROP TABLE question; --");
    conn.execute(QStringLiteral("INSERT INTO question (question, qtype) VALUES (?, ?)"), { hostile, QVariant() });
    db::Recordset rs
        = conn.openRecordset(QStringLiteral("SELECT question, qtype FROM question WHERE question = ?"), { hostile });
    ASSERT_FALSE(rs.atEnd());
    EXPECT_EQ(rs.field(0).toString(), hostile);
    EXPECT_TRUE(rs.isNull(QStringLiteral("qtype")));
    EXPECT_FALSE(rs.isNull(0));
    EXPECT_TRUE(conn.hasTable(QStringLiteral("QUESTION")));
}

// The reads without a QVariant tell Null from "" and give the stored bytes and numbers; past the
// end or the columns they fail as field() does.
TEST_F(DatabaseTest, ValuesAreReadAsBytesAndNumbersWithoutACopy)
{
    conn.execute(
        QStringLiteral("INSERT INTO question (question, qtype) VALUES (NULL, NULL), ('', 7), ('caf\u00e9', -2)"));
    db::Recordset rs = conn.openRecordset(QStringLiteral("SELECT question, qtype FROM question ORDER BY id"));
    struct Row {
        bool null;
        QByteArray text;
        qint64 number;
    };
    for (const Row& expected : { Row { true, {}, 0 }, Row { false, "", 7 }, Row { false, "caf\xc3\xa9", -2 } }) {
        ASSERT_FALSE(rs.atEnd());
        EXPECT_EQ(rs.utf8(0).isNull(), expected.null);
        EXPECT_EQ(rs.utf8(0), QByteArrayView(expected.text));
        EXPECT_EQ(rs.int64(1), expected.number);
        rs.moveNext();
    }
    EXPECT_THROW(rs.utf8(0), db::Error);
    db::Recordset other = conn.openRecordset(QStringLiteral("SELECT qtype FROM question"));
    EXPECT_THROW(other.int64(1), db::Error);
}

// UTF-8 bytes given as Utf8Text are stored as text, in every way a statement runs; a recordset
// reads on after the values it was given are gone.
TEST_F(DatabaseTest, Utf8TextIsBoundAsText)
{
    const auto utf8 = [](const char* text) { return QVariant::fromValue(db::Utf8Text { QByteArray(text) }); };
    conn.execute(QStringLiteral("INSERT INTO question (question) VALUES (?)"), { utf8("caf\xc3\xa9") });
    conn.appendRow(QStringLiteral("question"), { { QStringLiteral("question"), utf8("") } });
    db::Statement insert(conn, QStringLiteral("INSERT INTO question (question) VALUES (?)"));
    insert.execute({ utf8("a\nb") });
    db::Recordset rs
        = conn.openRecordset(QStringLiteral("SELECT question, typeof(question) FROM question ORDER BY id"));
    std::vector<std::pair<QString, QString>> rows;
    for (; !rs.atEnd(); rs.moveNext())
        rows.emplace_back(rs.field(0).toString(), rs.field(1).toString());
    EXPECT_EQ(rows,
        (std::vector<std::pair<QString, QString>> { { QStringLiteral("caf\u00e9"), QStringLiteral("text") },
            { QString(), QStringLiteral("text") }, { QStringLiteral("a\nb"), QStringLiteral("text") } }));

    db::Recordset echo = conn.openRecordset(QStringLiteral("SELECT ?"), { utf8("kept") });
    db::Statement select(conn, QStringLiteral("SELECT ?"));
    db::Recordset echoed = select.query({ utf8("kept too") });
    EXPECT_EQ(echo.field(0).toString(), QStringLiteral("kept"));
    EXPECT_EQ(echoed.field(0).toString(), QStringLiteral("kept too"));
}

TEST_F(DatabaseTest, ErrorsCarryTheirTextAndNumber)
{
    struct Case {
        const char* sql;
        const char* fragment;
    };
    const Case cases[] = {
        { "SELECT bogus FROM question", "no such column" },
        { "SELECT * FROM missing", "no such table" },
        { "DELETE FROM question; DROP TABLE question", "one SQL statement" },
    };
    for (const Case& c : cases) {
        try {
            conn.execute(QString::fromLatin1(c.sql));
            ADD_FAILURE() << c.sql;
        } catch (const db::Error& e) {
            EXPECT_TRUE(e.description().contains(QString::fromLatin1(c.fragment))) << c.sql << ": " << e.what();
            EXPECT_NE(e.number(), 0);
            EXPECT_FALSE(e.source().isEmpty());
        }
    }
    EXPECT_TRUE(conn.hasTable(QStringLiteral("question")));

    db::Connection closed;
    EXPECT_THROW(closed.execute(QStringLiteral("SELECT 1")), db::Error);
}

// The questions the commands ask of a failure, answered from SQLite's result code; a failure of
// the program's own whose number happens to be one of SQLite's codes answers no to each.
TEST_F(DatabaseTest, ErrorsSayWhatHappenedToTheFile)
{
    const QString text = dir.filePath(QStringLiteral("notes.tvq"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("This is a letter, not a survey.\n").repeated(200));
    f.close();
    db::Connection reader;
    reader.open(path, {}, db::OpenMode::ReadOnly);
    db::Connection holder;
    holder.open(path);
    const auto insert = [this] {
        conn.execute(QStringLiteral("INSERT INTO question (question) VALUES (?)"), { QString(5000, QLatin1Char('x')) });
    };
    const auto openText = [&] {
        db::Connection c;
        c.open(text);
    };
    const auto openMissing = [&] {
        db::Connection c;
        c.open(dir.filePath(QStringLiteral("absent.db")));
    };
    const auto writeReadOnly = [&] { reader.execute(QStringLiteral("DELETE FROM question")); };
    const auto writeHeld = [&] {
        holder.execute(QStringLiteral("BEGIN EXCLUSIVE"));
        const auto release = qScopeGuard([&] { holder.rollbackTrans(); });
        conn.execute(QStringLiteral("PRAGMA busy_timeout = 0"));
        insert();
    };
    const auto writeFull = [&] {
        conn.execute(QStringLiteral("PRAGMA max_page_count = 2"));
        insert();
    };
    const auto programsOwn = [] { throw db::programError(QStringLiteral("Type mismatch"), 13); };

    struct Case {
        const char* what;
        std::function<void()> work;
        bool damage, readOnly, busy, diskFull, cantOpen;
    };
    const Case cases[] = {
        { "not a database", openText, true, false, false, false, false },
        { "opened read-only", writeReadOnly, false, true, false, false, false },
        { "held by another connection", writeHeld, false, false, true, false, false },
        { "full", writeFull, false, false, false, true, false },
        { "missing", openMissing, false, false, false, false, true },
        { "the program's own, numbered as one of SQLite's codes", programsOwn, false, false, false, false, false },
    };
    for (const Case& c : cases) {
        try {
            c.work();
            ADD_FAILURE() << c.what;
        } catch (const db::Error& e) {
            EXPECT_EQ(e.isDamage(), c.damage) << c.what << ": " << e.what();
            EXPECT_EQ(e.isReadOnly(), c.readOnly) << c.what << ": " << e.what();
            EXPECT_EQ(e.isBusy(), c.busy) << c.what << ": " << e.what();
            EXPECT_EQ(e.isDiskFull(), c.diskFull) << c.what << ": " << e.what();
            EXPECT_EQ(e.isCantOpen(), c.cantOpen) << c.what << ": " << e.what();
            EXPECT_FALSE(e.isIoError()) << c.what << ": " << e.what();
        }
    }
    EXPECT_EQ(db::programError(QStringLiteral("x"), db::kErrPathAccess).source(), QStringLiteral("Tessivo"));
}

TEST_F(DatabaseTest, TransactionRollsBackWhenLeftUncommitted)
{
    conn.appendRow(QStringLiteral("question"), { { QStringLiteral("question"), QStringLiteral("kept") } });
    try {
        db::Transaction t(conn);
        conn.execute(QStringLiteral("DELETE FROM question"));
        conn.execute(QStringLiteral("SELECT broken FROM question"));
        t.commit();
    } catch (const db::Error&) { }
    db::Recordset rs = conn.openRecordset(QStringLiteral("SELECT question FROM question"));
    ASSERT_FALSE(rs.atEnd());
    EXPECT_EQ(rs.field(0).toString(), QStringLiteral("kept"));

    {
        db::Transaction t(conn);
        conn.execute(QStringLiteral("DELETE FROM question"));
        t.commit();
    }
    EXPECT_TRUE(conn.openRecordset(QStringLiteral("SELECT * FROM question")).atEnd());
}

TEST_F(DatabaseTest, PreparedStatementRunsManyTimes)
{
    {
        db::Transaction t(conn);
        db::Statement insert(conn, QStringLiteral("INSERT INTO question (question, qtype) VALUES (?, ?)"));
        for (int i = 0; i < 100; ++i)
            insert.execute({ QStringLiteral("Q%1").arg(i), i % 5 });
        t.commit();
    }
    db::Statement count(conn, QStringLiteral("SELECT count(*) FROM question WHERE qtype = ?"));
    for (int type = 0; type < 5; ++type)
        EXPECT_EQ(count.query({ type }).field(0).toInt(), 20);
    EXPECT_THROW(count.query({}), db::Error); // a value is missing
}

// The statement cache

// The statements SQLite holds for the connection, with their values bound as they are now.
QStringList statementsOf(const db::Connection& conn)
{
    QStringList texts;
    for (sqlite3_stmt* s = sqlite3_next_stmt(conn.handle(), nullptr); s; s = sqlite3_next_stmt(conn.handle(), s)) {
        char* expanded = sqlite3_expanded_sql(s);
        texts << QString::fromUtf8(expanded ? expanded : sqlite3_sql(s));
        sqlite3_free(expanded);
    }
    return texts;
}

TEST_F(DatabaseTest, CachedStatementsAreReusedAndGoBackResetWithBindingsCleared)
{
    conn.appendRow(QStringLiteral("question"),
        { { QStringLiteral("question"), QStringLiteral("a") }, { QStringLiteral("qtype"), 1 } });
    const QString sql = QStringLiteral("SELECT question FROM question WHERE qtype = ?");
    for (int i = 0; i < 3; ++i) {
        db::Recordset rs = conn.openRecordset(sql, { 1 });
        ASSERT_FALSE(rs.atEnd());
        EXPECT_EQ(rs.field(QStringLiteral("QUESTION")).toString(), QStringLiteral("a"));
    }
    const int count = conn.cachedStatementCount();
    for (int i = 0; i < 10; ++i)
        EXPECT_FALSE(conn.openRecordset(sql, { 1 }).atEnd());
    EXPECT_EQ(conn.cachedStatementCount(), count) << "the same text prepared again";

    conn.execute(QStringLiteral("UPDATE question SET question = ? WHERE qtype = ?"), { QStringLiteral("secret"), 1 });
    // Idle statements hold no values and no lock.
    for (sqlite3_stmt* s = sqlite3_next_stmt(conn.handle(), nullptr); s; s = sqlite3_next_stmt(conn.handle(), s))
        EXPECT_FALSE(sqlite3_stmt_busy(s)) << sqlite3_sql(s);
    for (const QString& text : statementsOf(conn))
        EXPECT_FALSE(text.contains(QStringLiteral("secret"))) << text.toStdString();
    EXPECT_TRUE(statementsOf(conn).contains(QStringLiteral("UPDATE question SET question = NULL WHERE qtype = NULL")));

    // A value missing is still refused by a cached statement.
    EXPECT_THROW(conn.openRecordset(sql), db::Error);
    EXPECT_FALSE(conn.openRecordset(sql, { 1 }).atEnd());
}

TEST_F(DatabaseTest, ARecordsetHeldWhileItsTextRunsAgainKeepsItsRows)
{
    for (int i = 1; i <= 5; ++i)
        conn.appendRow(QStringLiteral("question"),
            { { QStringLiteral("question"), QStringLiteral("Q%1").arg(i) }, { QStringLiteral("qtype"), i % 2 } });
    const QString sql = QStringLiteral("SELECT id, question FROM question WHERE qtype >= ? ORDER BY id");
    db::Recordset outer = conn.openRecordset(sql, { 0 });
    QStringList seen;
    int inner = 0;
    for (; !outer.atEnd(); outer.moveNext()) {
        seen << outer.field(QStringLiteral("question")).toString();
        // The same text while the outer one is open: a second statement, the outer one untouched.
        db::Recordset again = conn.openRecordset(sql, { 1 });
        for (; !again.atEnd(); again.moveNext())
            ++inner;
        conn.execute(QStringLiteral("UPDATE question SET deleteme = ? WHERE id = ?"), { 1, outer.field(0) });
    }
    EXPECT_EQ(seen, (QStringList { "Q1", "Q2", "Q3", "Q4", "Q5" }));
    EXPECT_EQ(inner, 5 * 3);

    // A moved recordset carries its statement along.
    db::Recordset first = conn.openRecordset(sql, { 0 });
    db::Recordset second = conn.openRecordset(sql, { 0 });
    second.moveNext();
    db::Recordset moved = std::move(first);
    EXPECT_TRUE(first.atEnd());
    EXPECT_EQ(moved.field(1).toString(), QStringLiteral("Q1"));
    EXPECT_EQ(second.field(1).toString(), QStringLiteral("Q2"));
    moved = std::move(second);
    EXPECT_EQ(moved.field(1).toString(), QStringLiteral("Q2"));
}

TEST_F(DatabaseTest, AStatementAndItsRecordsetOutliveEachOtherSafely)
{
    conn.appendRow(QStringLiteral("question"),
        { { QStringLiteral("question"), QStringLiteral("x") }, { QStringLiteral("qtype"), 3 } });
    const QString sql = QStringLiteral("SELECT question FROM question WHERE qtype = ?");
    db::Recordset rs;
    {
        db::Statement statement(conn, sql);
        rs = statement.query({ 3 });
    }
    // The statement is gone; its recordset keeps the prepared statement to itself.
    db::Recordset other = conn.openRecordset(sql, { 4 });
    EXPECT_TRUE(other.atEnd());
    ASSERT_FALSE(rs.atEnd());
    EXPECT_EQ(rs.field(0).toString(), QStringLiteral("x"));
}

TEST_F(DatabaseTest, CloseFinalizesEveryStatementAndFreesTheFile)
{
    for (int i = 0; i < 3; ++i)
        conn.appendRow(QStringLiteral("question"), { { QStringLiteral("question"), QStringLiteral("Q") } });
    db::Recordset open = conn.openRecordset(QStringLiteral("SELECT * FROM question"));
    ASSERT_FALSE(open.atEnd()); // reading: the file holds a shared lock
    db::Statement statement(conn, QStringLiteral("SELECT count(*) FROM question"));
    db::Recordset borrowed = statement.query();
    conn.close();
    EXPECT_EQ(conn.cachedStatementCount(), 0);

    // No zombie connection keeps a lock: another connection can take the file exclusively.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE; COMMIT;", nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(other);
    sqlite3_close(other);

    // What outlived the connection answers "closed" and goes away quietly.
    EXPECT_THROW(open.field(0), db::Error);
    EXPECT_THROW(open.moveNext(), db::Error);
    EXPECT_THROW(borrowed.field(0), db::Error);
    EXPECT_THROW(statement.execute(), db::Error);
    EXPECT_THROW(statement.query(), db::Error);

    // Opening again starts with an empty cache.
    conn.open(path);
    EXPECT_EQ(conn.openRecordset(QStringLiteral("SELECT count(*) FROM question")).field(0).toInt(), 3);
}

TEST_F(DatabaseTest, SchemaChangesReachCachedStatements)
{
    conn.appendRow(QStringLiteral("question"),
        { { QStringLiteral("question"), QStringLiteral("a") }, { QStringLiteral("qtype"), 2 } });
    const QString byType = QStringLiteral("SELECT * FROM question WHERE qtype = ?");
    EXPECT_EQ(conn.openRecordset(byType, { 2 }).field(QStringLiteral("question")).toString(), QStringLiteral("a"));

    conn.execute(QStringLiteral("CREATE INDEX ix_type ON question (qtype)"));
    EXPECT_EQ(conn.openRecordset(byType, { 2 }).field(QStringLiteral("question")).toString(), QStringLiteral("a"));
    conn.execute(QStringLiteral("DROP INDEX ix_type"));
    EXPECT_EQ(conn.openRecordset(byType, { 2 }).field(QStringLiteral("question")).toString(), QStringLiteral("a"));
    // The same DROP text again fails as a fresh statement would.
    EXPECT_THROW(conn.execute(QStringLiteral("DROP INDEX ix_type")), db::Error);

    // Columns added or renamed: the cached "SELECT *" sees them, names are resolved anew.
    conn.execute(QStringLiteral("ALTER TABLE question ADD COLUMN note TEXT DEFAULT 'n'"));
    {
        db::Recordset rs = conn.openRecordset(byType, { 2 });
        EXPECT_EQ(rs.fieldCount(), 5);
        EXPECT_EQ(rs.field(QStringLiteral("note")).toString(), QStringLiteral("n"));
    }
    conn.execute(QStringLiteral("ALTER TABLE question RENAME COLUMN question TO body"));
    {
        db::Recordset rs = conn.openRecordset(byType, { 2 });
        EXPECT_EQ(rs.field(QStringLiteral("body")).toString(), QStringLiteral("a"));
        EXPECT_THROW(rs.field(QStringLiteral("question")), db::Error);
    }
    conn.execute(QStringLiteral("DROP TABLE ResponseMatrixGroup"));
    EXPECT_THROW(conn.openRecordset(QStringLiteral("SELECT * FROM ResponseMatrixGroup")), db::Error);
    conn.execute(QStringLiteral("CREATE TABLE ResponseMatrixGroup (id INTEGER PRIMARY KEY, label TEXT)"));
    conn.execute(QStringLiteral("INSERT INTO ResponseMatrixGroup (label) VALUES ('x')"));
    EXPECT_EQ(conn.openRecordset(QStringLiteral("SELECT * FROM ResponseMatrixGroup"))
                  .field(QStringLiteral("label"))
                  .toString(),
        QStringLiteral("x"));
}

TEST_F(DatabaseTest, AppendRowMakesTheRightTextForEachTableAndColumns)
{
    const qint64 a = conn.appendRow(QStringLiteral("question"),
        { { QStringLiteral("question"), QStringLiteral("a") }, { QStringLiteral("qtype"), 1 } });
    const qint64 b = conn.appendRow(QStringLiteral("question"),
        { { QStringLiteral("qtype"), 2 }, { QStringLiteral("question"), QStringLiteral("b") } });
    const qint64 c
        = conn.appendRow(QStringLiteral("question"), { { QStringLiteral("question"), QStringLiteral("c") } });
    const qint64 d = conn.appendRow(QStringLiteral("question"), {});
    const qint64 g
        = conn.appendRow(QStringLiteral("ResponseMatrixGroup"), { { QStringLiteral("name"), QStringLiteral("g") } });
    const qint64 e = conn.appendRow(QStringLiteral("question"),
        { { QStringLiteral("question"), QStringLiteral("e") }, { QStringLiteral("qtype"), 4 } });
    EXPECT_EQ(b, a + 1);
    EXPECT_EQ(e, d + 1);
    EXPECT_EQ(g, 1);
    EXPECT_EQ(c, a + 2);
    db::Recordset rs = conn.openRecordset(QStringLiteral("SELECT question, qtype FROM question ORDER BY id"));
    const auto rows = rs.readAll();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0][0].toString(), QStringLiteral("a"));
    EXPECT_EQ(rows[0][1].toInt(), 1);
    EXPECT_EQ(rows[1][0].toString(), QStringLiteral("b"));
    EXPECT_EQ(rows[1][1].toInt(), 2);
    EXPECT_TRUE(rows[2][1].isNull());
    EXPECT_TRUE(rows[3][0].isNull());
    EXPECT_EQ(rows[4][1].toInt(), 4);

    // Many shapes: each still gets its own text.
    for (int i = 0; i < 40; ++i) {
        const QString column = QStringLiteral("c%1").arg(i);
        conn.execute(QStringLiteral("ALTER TABLE ResponseMatrixGroup ADD COLUMN %1 INTEGER").arg(column));
        conn.appendRow(QStringLiteral("ResponseMatrixGroup"), { { column, i } });
        EXPECT_EQ(conn.openRecordset(QStringLiteral("SELECT %1 FROM ResponseMatrixGroup WHERE id = ?").arg(column),
                          { conn.lastInsertId() })
                      .field(0)
                      .toInt(),
            i);
    }
}

TEST_F(DatabaseTest, ManyDistinctTextsStayWithinTheCache)
{
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(conn.openRecordset(QStringLiteral("SELECT %1").arg(i)).field(0).toInt(), i);
    EXPECT_LE(conn.cachedStatementCount(), 300);
    EXPECT_EQ(conn.openRecordset(QStringLiteral("SELECT 5")).field(0).toInt(), 5);
}

TEST_F(DatabaseTest, AFailedRunLeavesTheCachedStatementUsable)
{
    conn.execute(QStringLiteral("CREATE TABLE strict (id INTEGER PRIMARY KEY, name TEXT NOT NULL)"));
    const QString insert = QStringLiteral("INSERT INTO strict (name) VALUES (?)");
    EXPECT_THROW(conn.execute(insert, { QVariant() }), db::Error);
    conn.execute(insert, { QStringLiteral("ok") });
    EXPECT_THROW(conn.appendRow(QStringLiteral("strict"), { { QStringLiteral("name"), QVariant() } }), db::Error);
    conn.appendRow(QStringLiteral("strict"), { { QStringLiteral("name"), QStringLiteral("ok too") } });
    EXPECT_EQ(conn.openRecordset(QStringLiteral("SELECT count(*) FROM strict")).field(0).toInt(), 2);
}

TEST_F(DatabaseTest, ReadTransactionTakesOneLockAndNestsInAWriteTransaction)
{
    conn.appendRow(QStringLiteral("question"), { { QStringLiteral("question"), QStringLiteral("kept") } });
    {
        const db::ReadTransaction reading(conn);
        EXPECT_TRUE(conn.inTransaction());
        EXPECT_FALSE(conn.openRecordset(QStringLiteral("SELECT * FROM question")).atEnd());
    }
    EXPECT_FALSE(conn.inTransaction());
    {
        db::Transaction writing(conn);
        conn.execute(QStringLiteral("DELETE FROM question"));
        {
            const db::ReadTransaction reading(conn); // inside: nothing of its own
            EXPECT_TRUE(conn.openRecordset(QStringLiteral("SELECT * FROM question")).atEnd());
        }
        EXPECT_TRUE(conn.inTransaction());
        writing.commit();
    }
    EXPECT_TRUE(conn.openRecordset(QStringLiteral("SELECT * FROM question")).atEnd());

    db::Connection readOnly;
    readOnly.open(path, {}, db::OpenMode::ReadOnly);
    const db::ReadTransaction reading(readOnly);
    EXPECT_TRUE(readOnly.hasTable(QStringLiteral("question")));
}

} // namespace
