#include "platform/Database.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
        conn.Open(path);
        conn.Execute(QStringLiteral("CREATE TABLE question (id INTEGER PRIMARY KEY AUTOINCREMENT, question TEXT, "
                                    "qtype INTEGER, deleteme INTEGER NOT NULL DEFAULT 0)"));
        conn.Execute(QStringLiteral("CREATE TABLE ResponseMatrixGroup (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT)"));
    }

    QTemporaryDir dir;
    QString path;
    db::Connection conn;
};

TEST_F(DatabaseTest, OpenFailsClearlyOnMissingFileNonDatabaseAndMissingTables)
{
    db::Connection other;
    try {
        other.Open(dir.filePath(QStringLiteral("absent.db")));
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
        other.Open(text);
        FAIL() << "opened a text file";
    } catch (const db::Error& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("is not a database"))) << e.what();
    }
    EXPECT_FALSE(other.isOpen());

    try {
        other.Open(path, {QStringLiteral("question"), QStringLiteral("version")});
        FAIL() << "opened a database without the version table";
    } catch (const db::Error& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("'version' is missing"))) << e.what();
    }
    EXPECT_FALSE(other.isOpen());
    other.Close();  // closing a closed connection is harmless
}

TEST_F(DatabaseTest, RunsTheProgramsSqlTextsAsWritten)
{
    const qint64 id = conn.AppendRow(QStringLiteral("[ResponseMatrixGroup]"), {{QStringLiteral("Name"), QStringLiteral("User Added")}});
    EXPECT_GT(id, 0);
    conn.AppendRow(QStringLiteral("question"), {{QStringLiteral("question"), QStringLiteral("It's")}, {QStringLiteral("qtype"), 2}});
    conn.Execute(QStringLiteral("UPDATE question SET deleteme = true"));
    conn.Execute(QStringLiteral("UPDATE question SET Deleteme = false, question = 'Say ''hi''' WHERE id = 1"));

    db::Recordset rs = conn.OpenRecordset(QStringLiteral("SELECT rmg.id, rmg.name FROM responsematrixgroup AS rmg WHERE rmg.id<>0;"));
    ASSERT_FALSE(rs.atEnd());
    EXPECT_EQ(rs.field(QStringLiteral("ID")).toLongLong(), id);
    EXPECT_EQ(rs.field(QStringLiteral("NAME")).toString(), QStringLiteral("User Added"));
    EXPECT_EQ(rs.field(0).toLongLong(), id);
    rs.MoveNext();
    EXPECT_TRUE(rs.atEnd());

    db::Recordset q = conn.OpenRecordset(QStringLiteral("SELECT * FROM question"));
    EXPECT_EQ(q.field(QStringLiteral("question")).toString(), QStringLiteral("Say 'hi'"));
    EXPECT_EQ(q.field(QStringLiteral("DeleteMe")).toInt(), 0);
}

TEST_F(DatabaseTest, NullValuesAndBoundTextsSurviveAsTheyAre)
{
    const QString hostile = QStringLiteral("'); DROP TABLE question; --");
    conn.Execute(QStringLiteral("INSERT INTO question (question, qtype) VALUES (?, ?)"), {hostile, QVariant()});
    db::Recordset rs = conn.OpenRecordset(QStringLiteral("SELECT question, qtype FROM question WHERE question = ?"), {hostile});
    ASSERT_FALSE(rs.atEnd());
    EXPECT_EQ(rs.field(0).toString(), hostile);
    EXPECT_TRUE(rs.isNull(QStringLiteral("qtype")));
    EXPECT_FALSE(rs.isNull(0));
    EXPECT_TRUE(conn.hasTable(QStringLiteral("QUESTION")));
}

TEST_F(DatabaseTest, ErrorsCarryTheirTextAndNumber)
{
    struct Case {
        const char* sql;
        const char* fragment;
    };
    const Case cases[] = {
        {"SELECT bogus FROM question", "no such column"},
        {"SELECT * FROM missing", "no such table"},
        {"DELETE FROM question; DROP TABLE question", "one SQL statement"},
    };
    for (const Case& c : cases) {
        try {
            conn.Execute(QString::fromLatin1(c.sql));
            ADD_FAILURE() << c.sql;
        } catch (const db::Error& e) {
            EXPECT_TRUE(e.description().contains(QString::fromLatin1(c.fragment))) << c.sql << ": " << e.what();
            EXPECT_NE(e.number(), 0);
            EXPECT_FALSE(e.source().isEmpty());
        }
    }
    EXPECT_TRUE(conn.hasTable(QStringLiteral("question")));

    db::Connection closed;
    EXPECT_THROW(closed.Execute(QStringLiteral("SELECT 1")), db::Error);
}

TEST_F(DatabaseTest, TransactionRollsBackWhenLeftUncommitted)
{
    conn.AppendRow(QStringLiteral("question"), {{QStringLiteral("question"), QStringLiteral("kept")}});
    try {
        db::Transaction t(conn);
        conn.Execute(QStringLiteral("DELETE FROM question"));
        conn.Execute(QStringLiteral("SELECT broken FROM question"));
        t.commit();
    } catch (const db::Error&) {
    }
    db::Recordset rs = conn.OpenRecordset(QStringLiteral("SELECT question FROM question"));
    ASSERT_FALSE(rs.atEnd());
    EXPECT_EQ(rs.field(0).toString(), QStringLiteral("kept"));

    {
        db::Transaction t(conn);
        conn.Execute(QStringLiteral("DELETE FROM question"));
        t.commit();
    }
    EXPECT_TRUE(conn.OpenRecordset(QStringLiteral("SELECT * FROM question")).atEnd());
}

TEST_F(DatabaseTest, PreparedStatementRunsManyTimes)
{
    {
        db::Transaction t(conn);
        db::Statement insert(conn, QStringLiteral("INSERT INTO question (question, qtype) VALUES (?, ?)"));
        for (int i = 0; i < 100; ++i)
            insert.execute({QStringLiteral("Q%1").arg(i), i % 5});
        t.commit();
    }
    db::Statement count(conn, QStringLiteral("SELECT count(*) FROM question WHERE qtype = ?"));
    for (int type = 0; type < 5; ++type)
        EXPECT_EQ(count.query({type}).field(0).toInt(), 20);
    EXPECT_THROW(count.query({}), db::Error);  // a value is missing
}

}  // namespace
