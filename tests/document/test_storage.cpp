#include "ProgramFolder.h"
#include "document/SurveyFile.h"
#include "platform/Rtf.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int openDescriptors()
{
    const QDir fds(QStringLiteral("/proc/self/fd"));
    return int(fds.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
}

// Changes the first byte (the page type) of the page that holds the rows of a table.
void damageTablePage(const QString& path, const QString& table)
{
    qint64 offset = 0;
    {
        db::Connection c;
        c.open(path);
        offset = c.openRecordset(QStringLiteral("SELECT (rootpage - 1) * (SELECT page_size FROM pragma_page_size) "
                                                "FROM sqlite_master WHERE name = ?"),
                      { table })
                     .field(0)
                     .toLongLong();
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.seek(offset));
    ASSERT_EQ(f.write("\x55", 1), 1);
}

class StorageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = folder.newSurvey(QStringLiteral("survey.tvq"));
        SurveyFile::openConnection(conn, path);
    }

    // Saves, then reads the file back into a fresh survey, as every save does.
    void saveAndReload()
    {
        SurveyFile::save(conn, survey);
        SurveyFile::load(conn, survey);
    }

    int count(const QString& sql) { return conn.openRecordset(sql).field(0).toInt(); }

    ProgramFolder folder;
    QString path;
    db::Connection conn;
    clsSurvey survey;
};

TEST_F(StorageTest, EveryTypeResponsesAndJumpsSurviveSaveAndReload)
{
    const QString open = survey.AddQ(rtf::fromPlainText(QStringLiteral("What's your name?")), QTypeOpenEnded, -1, 2);
    const QString check = survey.AddQ(rtf::fromPlainText(QStringLiteral("Which fruit?")), QTypeCheck, -1, 2);
    const QString radio = survey.AddQ(rtf::fromPlainText(QStringLiteral("Go on?")), QTypeRadio, -1, 2);
    const QString matrix = survey.AddQ(rtf::fromPlainText(QStringLiteral("Rate")), QTypeMatrix, -1, 4);
    const QString text = survey.AddQ(rtf::fromPlainText(QStringLiteral("Thanks")), QTypeText, -1, 2);
    const QString doomed = survey.AddQ(QString(), QTypeOpenEnded, -1, 2);

    survey.GetQ(check)->AddResponse(QStringLiteral("Apple's"), -1, -1, QString());
    survey.GetQ(check)->AddResponse(QStringLiteral("Pear"), -1, -1, QString());
    survey.GetQ(radio)->AddResponse(QStringLiteral("Forward"), -1, -1, text);
    survey.GetQ(radio)->AddResponse(QStringLiteral("Back"), -1, -1, open);
    survey.GetQ(radio)->AddResponse(QStringLiteral("Gone"), -1, -1, doomed);
    survey.GetQ(radio)->AddResponse(QStringLiteral("Next"), -1, -1, QString());
    survey.GetQ(matrix)->AddResponse(QStringLiteral("Service"), -1, -1, QString());
    survey.GetQ(matrix)->AddResponse(QStringLiteral("Price"), -1, -1, QString());
    survey.DeleteQ(doomed);

    saveAndReload();

    ASSERT_EQ(survey.QCount(), 5);
    const qint32 types[] = { QTypeOpenEnded, QTypeCheck, QTypeRadio, QTypeMatrix, QTypeText };
    const char* texts[] = { "What's your name?", "Which fruit?", "Go on?", "Rate", "Thanks" };
    const char* numbers[] = { "1", "2", "3", "4", "" };
    for (int i = 1; i <= 5; ++i) {
        const QPtr q = survey.GetQIndex(i);
        EXPECT_EQ(q->qType, types[i - 1]);
        EXPECT_EQ(rtf::toPlainText(q->Question), QString::fromLatin1(texts[i - 1]));
        EXPECT_EQ(q->QuestionNo, QString::fromLatin1(numbers[i - 1]));
        EXPECT_GT(q->DatabaseID, 0);
        EXPECT_EQ(q->OpenEnded_NoOfRows, 0);
    }
    const QPtr c = survey.GetQIndex(2);
    ASSERT_EQ(c->ResponsesCount(), 2);
    EXPECT_EQ(c->GetResponse(1)->Text, QStringLiteral("Apple's"));
    EXPECT_EQ(c->ResponseMatrixGroupID, 2);

    const QPtr r = survey.GetQIndex(3);
    ASSERT_EQ(r->ResponsesCount(), 4);
    EXPECT_EQ(r->GetResponse(1)->LogicJumpToQuestionKey, survey.GetQIndex(5)->Key); // forward
    EXPECT_EQ(r->GetResponse(2)->LogicJumpToQuestionKey, survey.GetQIndex(1)->Key); // backward
    EXPECT_EQ(r->GetResponse(2)->LogicJumpToQuestionID, survey.GetQIndex(1)->DatabaseID);
    EXPECT_EQ(r->GetResponse(3)->LogicJumpToQuestionKey, QString()); // its target was deleted
    EXPECT_EQ(r->GetResponse(3)->LogicJumpToQuestionID, -1);
    EXPECT_EQ(r->GetResponse(4)->LogicJumpToQuestionID, -1);
    for (int j = 1; j <= 4; ++j) {
        const int id = r->GetResponse(j)->DatabaseID;
        EXPECT_GT(id, 0);
        EXPECT_EQ(count(QStringLiteral("SELECT pos FROM response WHERE id = %1").arg(id)), j);
    }

    EXPECT_EQ(survey.GetQIndex(4)->ResponseMatrixGroupID, 4);
    EXPECT_EQ(survey.GetQIndex(4)->GetResponse(2)->Text, QStringLiteral("Price"));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM response WHERE LogicJumpToQuestionID IS NULL")), 6);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM question WHERE deleteme <> 0")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM response WHERE deleteme <> 0")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM question WHERE question LIKE '%What''s your%'")), 1);
}

TEST_F(StorageTest, MovesKeepIdsAndRetypedOrDeletedItemsLoseTheirRows)
{
    const QString a = survey.AddQ(QStringLiteral("A"), QTypeCheck, -1, 2);
    const QString b = survey.AddQ(QStringLiteral("B"), QTypeRadio, -1, 2);
    survey.GetQ(a)->AddResponse(QStringLiteral("a1"), -1, -1, QString());
    survey.GetQ(b)->AddResponse(QStringLiteral("b1"), -1, -1, a);
    survey.GetQ(b)->AddResponse(QStringLiteral("b2"), -1, -1, QString());
    const QString c = survey.AddQ(QStringLiteral("C"), QTypeCheck, -1, 2);
    survey.GetQ(c)->AddResponse(QStringLiteral("c1"), -1, -1, QString());
    survey.GetQ(c)->AddResponse(QStringLiteral("c2"), -1, -1, QString());
    saveAndReload();
    const int idA = survey.GetQIndex(1)->DatabaseID;
    const int idB = survey.GetQIndex(2)->DatabaseID;
    const int idB2 = survey.GetQIndex(2)->GetResponse(2)->DatabaseID;
    const ResponsePtr c1 = survey.GetQIndex(3)->GetResponse(1);
    const ResponsePtr c2 = survey.GetQIndex(3)->GetResponse(2);

    // B moves up, A becomes open-ended, B loses its first response and its jump target moves,
    // C's two responses change places.
    survey.SwapQ(survey.GetQIndex(1)->Key, survey.GetQIndex(2)->Key);
    survey.ReorderQ_QuestionNos();
    survey.GetQIndex(2)->qType = QTypeOpenEnded;
    survey.GetQIndex(1)->RemoveResponse(1);
    survey.GetQIndex(3)->UpdateResponse(1, c2);
    survey.GetQIndex(3)->UpdateResponse(2, c1);
    saveAndReload();

    EXPECT_EQ(survey.GetQIndex(1)->DatabaseID, idB);
    EXPECT_EQ(survey.GetQIndex(2)->DatabaseID, idA);
    EXPECT_EQ(survey.GetQIndex(1)->QuestionNo, QStringLiteral("1"));
    EXPECT_EQ(count(QStringLiteral("SELECT pos FROM question WHERE id = %1").arg(idB)), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT pos FROM question WHERE id = %1").arg(idA)), 2);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM response WHERE questionid = %1").arg(idA)), 0);
    ASSERT_EQ(survey.GetQIndex(1)->ResponsesCount(), 1);
    EXPECT_EQ(survey.GetQIndex(1)->GetResponse(1)->DatabaseID, idB2);
    EXPECT_EQ(count(QStringLiteral("SELECT pos FROM response WHERE id = %1").arg(idB2)), 1);
    const QPtr q3 = survey.GetQIndex(3);
    ASSERT_EQ(q3->ResponsesCount(), 2);
    EXPECT_EQ(q3->GetResponse(1)->Text, QStringLiteral("c2"));
    EXPECT_EQ(q3->GetResponse(1)->DatabaseID, c2->DatabaseID);
    EXPECT_EQ(q3->GetResponse(2)->Text, QStringLiteral("c1"));
    EXPECT_EQ(q3->GetResponse(2)->DatabaseID, c1->DatabaseID);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM response")), 3);
}

TEST_F(StorageTest, VersionRule)
{
    struct Case {
        const char* sql;
        std::optional<QString> found;
    };
    const Case cases[] = {
        { "UPDATE version SET version = 1.7", std::nullopt },
        { "DELETE FROM version", std::nullopt },
        { "UPDATE version SET version = 1.6", QStringLiteral("1.6") },
        // 1.7 as a single-precision value read back in double precision.
        { "UPDATE version SET version = 1.70000004768372", QStringLiteral("1.70000004768372") },
    };
    for (const Case& c : cases) {
        conn.execute(QStringLiteral("DELETE FROM version"));
        conn.execute(QStringLiteral("INSERT INTO version (version) VALUES (0)"));
        conn.execute(QString::fromLatin1(c.sql));
        EXPECT_EQ(SurveyFile::versionMismatch(conn), c.found) << c.sql;
    }
    EXPECT_EQ(SurveyFile::versionMismatchMessage(QStringLiteral("1.6")),
        QStringLiteral("Unable to open survey file - expecting version 1.7, but found version 1.6"));
}

TEST_F(StorageTest, LoadResolvesScalesAndUnknownJumpsAndRejectsNullNames)
{
    conn.execute(QStringLiteral("INSERT INTO question (id, question, questionno, qtype, pos) VALUES "
                                "(10, 'M', '1', 3, 1), (11, 'C', '2', 1, 2), (12, NULL, NULL, 0, 3)"));
    conn.execute(
        QStringLiteral("INSERT INTO response (questionid, name, pos, responseMatrixGroupID, LogicJumpToQuestionID) "
                       "VALUES (10, 'row', 1, 5, 999)"));
    SurveyFile::load(conn, survey);
    ASSERT_EQ(survey.QCount(), 3);
    EXPECT_EQ(survey.GetQIndex(1)->ResponseMatrixGroupID, 5);
    EXPECT_EQ(survey.GetQIndex(1)->GetResponse(1)->LogicJumpToQuestionKey, QString());
    EXPECT_EQ(survey.GetQIndex(1)->GetResponse(1)->LogicJumpToQuestionID, 999);
    EXPECT_EQ(survey.GetQIndex(2)->ResponseMatrixGroupID, 1);
    EXPECT_EQ(survey.GetQIndex(3)->Question, QString());

    conn.execute(QStringLiteral("CREATE TABLE r2 AS SELECT * FROM response"));
    conn.execute(QStringLiteral("DROP TABLE response"));
    conn.execute(
        QStringLiteral("CREATE TABLE response (id INTEGER PRIMARY KEY, questionid INTEGER, name TEXT, pos INTEGER, "
                       "responseMatrixGroupID INTEGER, LogicJumpToQuestionID INTEGER, deleteme INTEGER DEFAULT 0)"));
    conn.execute(
        QStringLiteral("INSERT INTO response (questionid, name, pos, responseMatrixGroupID) VALUES (11, NULL, 1, 2)"));
    clsSurvey other;
    EXPECT_THROW(SurveyFile::load(conn, other), db::Error);
}

TEST_F(StorageTest, FailedSaveLeavesFileAndIdsAsTheyWere)
{
    const QString kept = survey.AddQ(QStringLiteral("kept"), QTypeCheck, -1, 2);
    survey.GetQ(kept)->AddResponse(QStringLiteral("one"), -1, -1, QString());
    SurveyFile::save(conn, survey);
    // A trigger makes the next save fail half way, after rows were marked and rewritten.
    conn.execute(QStringLiteral("CREATE TRIGGER boom BEFORE INSERT ON response WHEN NEW.name = 'boom' "
                                "BEGIN SELECT RAISE(ABORT, 'injected failure'); END"));
    conn.close();
    const QByteArray before = bytesOf(path);
    SurveyFile::openConnection(conn, path);

    const QString added = survey.AddQ(QStringLiteral("new"), QTypeRadio, -1, 2);
    survey.GetQ(added)->AddResponse(QStringLiteral("boom"), -1, -1, QString());
    survey.GetQ(kept)->Question = QStringLiteral("edited");
    const int keptId = survey.GetQ(kept)->DatabaseID;
    try {
        SurveyFile::save(conn, survey);
        FAIL() << "the save went through";
    } catch (const db::Error& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("injected failure")));
    }
    EXPECT_EQ(survey.GetQ(added)->DatabaseID, -1);
    EXPECT_EQ(survey.GetQ(kept)->DatabaseID, keptId);
    EXPECT_EQ(survey.GetQ(kept)->Question, QStringLiteral("edited"));
    conn.close();
    EXPECT_EQ(bytesOf(path), before);

    // Once the obstacle is gone the same survey saves whole.
    SurveyFile::openConnection(conn, path);
    conn.execute(QStringLiteral("DROP TRIGGER boom"));
    saveAndReload();
    ASSERT_EQ(survey.QCount(), 2);
    EXPECT_EQ(survey.GetQIndex(1)->DatabaseID, keptId);
    EXPECT_EQ(survey.GetQIndex(1)->Question, QStringLiteral("edited"));
    EXPECT_EQ(survey.GetQIndex(2)->GetResponse(1)->Text, QStringLiteral("boom"));
}

TEST_F(StorageTest, TemplateIdsAreNeverReused)
{
    const QString a = survey.AddQ(QStringLiteral("a"), QTypeOpenEnded, -1, 2);
    survey.AddQ(QStringLiteral("b"), QTypeOpenEnded, -1, 2);
    saveAndReload();
    const int lastId = survey.GetQIndex(2)->DatabaseID;
    survey.DeleteQ(survey.GetQIndex(2)->Key);
    saveAndReload();
    survey.AddQ(QStringLiteral("c"), QTypeOpenEnded, -1, 2);
    saveAndReload();
    EXPECT_GT(survey.GetQIndex(2)->DatabaseID, lastId);
    (void)a;

    const qint64 respondent = conn.appendRow(
        QStringLiteral("respondent"), { { QStringLiteral("source"), QStringLiteral("Manual Entry") } });
    db::Recordset rs
        = conn.openRecordset(QStringLiteral("SELECT submitteddate FROM respondent WHERE id = ?"), { respondent });
    EXPECT_FALSE(rs.field(0).toString().isEmpty());
}

TEST_F(StorageTest, SaveRefusesNewIdsThatDoNotFitAndLeavesTheFileAsItWas)
{
    struct Case {
        const char* stored;
        bool addQuestion; // otherwise a response is added to the stored question
        const char* message;
    };
    const Case cases[] = {
        { "INSERT INTO question (id, question, questionno, qtype, pos) VALUES (2147483647, 'Last', '1', 2, 1)", true,
            "The survey file has no id left for a new question: its ids have reached 2147483647" },
        { "INSERT INTO question (id, question, questionno, qtype, pos) VALUES (5, 'Q', '1', 2, 1);"
          "INSERT INTO response (id, questionid, name, pos, responseMatrixGroupID) VALUES (2147483647, 5, 'last', 1, "
          "2)",
            false, "The survey file has no id left for a new response: its ids have reached 2147483647" },
    };
    for (const Case& c : cases) {
        conn.close();
        path = folder.newSurvey(QStringLiteral("full.tvq"));
        SurveyFile::openConnection(conn, path);
        for (const QString& sql : QString::fromLatin1(c.stored).split(QLatin1Char(';')))
            conn.execute(sql);
        conn.close();
        const QByteArray before = bytesOf(path);

        SurveyFile::openConnection(conn, path);
        SurveyFile::load(conn, survey);
        ASSERT_EQ(survey.QCount(), 1) << c.stored;
        const QPtr stored = survey.GetQIndex(1);
        QPtr added;
        if (c.addQuestion) {
            added = survey.GetQ(survey.AddQ(QStringLiteral("one more"), QTypeRadio, -1, 2));
            added->AddResponse(QStringLiteral("its response"), -1, -1, QString());
        } else {
            stored->AddResponse(QStringLiteral("one more"), -1, -1, QString());
        }
        try {
            SurveyFile::save(conn, survey);
            ADD_FAILURE() << "saved past the last id: " << c.stored;
        } catch (const db::Error& e) {
            EXPECT_EQ(e.description(), QString::fromLatin1(c.message));
        }
        if (added) {
            EXPECT_EQ(added->DatabaseID, -1);
        }
        EXPECT_EQ(stored->DatabaseID, c.addQuestion ? 2147483647 : 5);
        conn.close();
        EXPECT_TRUE(bytesOf(path) == before) << c.stored;
    }
}

TEST_F(StorageTest, NewQuestionsAndResponsesAreAddedNeverLookedUpById)
{
    // Rows under the id that means "not stored yet", as another program might leave them.
    conn.execute(QStringLiteral("INSERT INTO question (id, question, questionno, qtype, pos) "
                                "VALUES (-1, 'theirs', '1', 2, 1)"));
    conn.execute(QStringLiteral("INSERT INTO response (id, questionid, name, pos, responseMatrixGroupID) "
                                "VALUES (-1, -1, 'their response', 1, 2)"));
    const QString mine = survey.AddQ(QStringLiteral("mine"), QTypeRadio, -1, 2);
    survey.GetQ(mine)->AddResponse(QStringLiteral("yes"), -1, -1, QString());
    SurveyFile::save(conn, survey);

    const int id = survey.GetQ(mine)->DatabaseID;
    EXPECT_GT(id, 0);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM question WHERE id = %1 AND question = 'mine'").arg(id)), 1);
    EXPECT_EQ(
        count(
            QStringLiteral("SELECT count(*) FROM response WHERE questionid = %1 AND name = 'yes' AND id > 0").arg(id)),
        1);
}

TEST_F(StorageTest, FailedOpensLeaveNoConnectionOrDescriptorBehind)
{
    conn.execute(QStringLiteral("INSERT INTO question (id, question, questionno, qtype, pos) "
                                "VALUES (1, 'Q', '1', 2, 1)"));
    conn.execute(QStringLiteral("INSERT INTO response (questionid, name, pos, responseMatrixGroupID) "
                                "VALUES (1, 'A', 1, 2)"));
    conn.close();
    const QByteArray sound = bytesOf(path);
    const int before = openDescriptors();
    // Each damage stops the open at another statement: the version check, the questions, the responses.
    for (const char* table : { "version", "question", "response" }) {
        QFile::remove(path);
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(sound);
        }
        damageTablePage(path, QString::fromLatin1(table));
        for (int i = 0; i < 100; ++i) {
            db::Connection c;
            try {
                SurveyFile::openConnection(c, path);
                if (!SurveyFile::versionMismatch(c)) {
                    clsSurvey loaded;
                    SurveyFile::load(c, loaded);
                }
                ADD_FAILURE() << "read a damaged " << table << " page";
            } catch (const db::Error& e) {
                EXPECT_TRUE(e.description().contains(QStringLiteral("malformed"))) << table << ": " << e.what();
            }
            c.close();
            ASSERT_FALSE(c.isOpen());
        }
    }
    EXPECT_LE(openDescriptors(), before + 2);
}

TEST_F(StorageTest, ANameBeginningWithFileIsThatFileNotAUri)
{
    conn.close();
    const QString literal
        = folder.writeSurvey(QStringLiteral("file:other.tvq"), { { QTypeOpenEnded, QStringLiteral("Mine") } });
    const QString other
        = folder.writeSurvey(QStringLiteral("other.tvq"), { { QTypeOpenEnded, QStringLiteral("Other") } });
    const QByteArray otherBefore = bytesOf(other);
    struct CurrentFolder {
        const QString before = QDir::currentPath();
        ~CurrentFolder() { QDir::setCurrent(before); }
    } restore;
    ASSERT_TRUE(QDir::setCurrent(folder.path()));

    // As given on the command line: relative, beginning with "file:".
    SurveyFile::openConnection(conn, QStringLiteral("file:other.tvq"));
    SurveyFile::load(conn, survey);
    ASSERT_EQ(survey.QCount(), 1);
    EXPECT_EQ(rtf::toPlainText(survey.GetQIndex(1)->Question), QStringLiteral("Mine"));
    survey.AddQ(QStringLiteral("Added"), QTypeOpenEnded, -1, 2);
    SurveyFile::save(conn, survey);
    conn.close();

    EXPECT_TRUE(bytesOf(other) == otherBefore);
    SurveyFile::openConnection(conn, literal);
    SurveyFile::load(conn, survey);
    EXPECT_EQ(survey.QCount(), 2);
}

} // namespace
