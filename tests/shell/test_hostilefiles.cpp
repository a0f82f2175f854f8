// Survey files the program did not write, opened with File > Open: each is refused with a message
// that says why, is left as it was, and the program goes on with a new survey.
#include "GuiTest.h"
#include "ProgramFolder.h"
#include "StartProgram.h"
#include "platform/TextUtil.h"
#include "shell/frmMain.h"
#include "widgets/Dialogs.h"

#include <QApplication>
#include <QFile>
#include <QtTest>

#include <sqlite3.h>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs SQL on a file with the SQLite C API, as another program would.
bool alter(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
    char* error = nullptr;
    ok = ok && sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) == SQLITE_OK;
    if (error)
        qWarning("%s", error);
    sqlite3_free(error);
    sqlite3_close(db);
    return ok;
}

// Changes the first byte (the page type) of the page that holds the rows of a table.
bool damageTablePage(const QString& path, const QString& table)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    qint64 offset = -1;
    const QByteArray sql
        = "SELECT rootpage, (SELECT page_size FROM pragma_page_size) FROM sqlite_master WHERE name = ?";
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) == SQLITE_OK) {
        const QByteArray name = table.toUtf8();
        sqlite3_bind_text(stmt, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(stmt) == SQLITE_ROW)
            offset = (sqlite3_column_int64(stmt, 0) - 1) * sqlite3_column_int64(stmt, 1);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    QFile f(path);
    return offset > 0 && f.open(QIODevice::ReadWrite) && f.seek(offset) && f.write("\x55", 1) == 1;
}

// One question with one response, written as the program writes them.
const char* const kOneQuestion
    = "INSERT INTO question (id, question, questionno, qtype, pos) VALUES (1, 'Fruit', '1', 2, 1);"
      "INSERT INTO response (id, questionid, name, pos, responseMatrixGroupID) VALUES (1, 1, 'Apple', 1, 2);";

} // namespace

class HostileFilesTest : public GuiTest {
    Q_OBJECT

private Q_SLOTS:

    void refusedWithAMessageAndLeftAsTheyWere_data()
    {
        // The change made to a sound file: SQL, "damage" (a page of the version table) or "text"
        // (a text file in its place).
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("message");
        const QString notValid = QStringLiteral("Unable to open %1. The survey file is not valid: ");
        const QString range = QStringLiteral(", which is not an id from 1 to 2147483647. 26");

        QTest::newRow("question id 0") << "UPDATE question SET id = 0"
                                       << notValid + "column id of table question holds 0" + range;
        QTest::newRow("question id -1")
            << "INSERT INTO question (id, question, questionno, qtype, pos) VALUES (-1, 'Hidden', '2', 0, 2)"
            << notValid + "column id of table question holds -1" + range;
        // 4294967297 would be read as 1, the id of the first question.
        QTest::newRow("question id cut to another's")
            << "INSERT INTO question (id, question, questionno, qtype, pos) VALUES (4294967297, 'Twin', '2', 2, 2);"
               "INSERT INTO response (questionid, name, pos, responseMatrixGroupID) VALUES (4294967297, 'Pear', 1, 2)"
            << notValid + "column id of table question holds 4294967297" + range;
        QTest::newRow("question id 2147483648")
            << "INSERT INTO question (id, question, questionno, qtype, pos) VALUES (2147483648, 'Big', '2', 0, 2)"
            << notValid + "column id of table question holds 2147483648" + range;
        QTest::newRow("response id 2147483648")
            << "INSERT INTO response (id, questionid, name, pos, responseMatrixGroupID) "
               "VALUES (2147483648, 1, 'Pear', 2, 2)"
            << notValid + "column id of table response holds 2147483648" + range;
        QTest::newRow("jump cut to another question")
            << "UPDATE response SET LogicJumpToQuestionID = 4294967297"
            << notValid + "column LogicJumpToQuestionID of table response holds 4294967297" + range;
        QTest::newRow("scale id 0") << "UPDATE response SET responseMatrixGroupID = 0"
                                    << notValid + "column responseMatrixGroupID of table response holds 0" + range;
        // Saving would drop the responses of a question of a type the program does not know.
        QTest::newRow("unknown question type")
            << "INSERT INTO question (id, question, questionno, qtype, pos) VALUES (2, 'Odd', '2', 99, 2);"
               "INSERT INTO response (id, questionid, name, pos, responseMatrixGroupID) VALUES (2, 2, 'Pear', 1, 2)"
            << notValid + "question 2 has the unknown type 99. 26";
        QTest::newRow("question type -1")
            << "UPDATE question SET qtype = -1" << notValid + "question 1 has the unknown type -1. 26";
        QTest::newRow("respondent id -1") << "INSERT INTO respondent (id, source) VALUES (-1, 'Manual Entry')"
                                          << notValid + "column id of table respondent holds -1" + range;
        // Saving into it would add a question with no id, and the file would never open again.
        QTest::newRow("question id not the integer primary key")
            << "DROP TABLE question;"
               "CREATE TABLE question (id INT PRIMARY KEY, question TEXT, questionno TEXT, qtype INTEGER, "
               "pos INTEGER, deleteme INTEGER NOT NULL DEFAULT 0);"
               "INSERT INTO question (id, question, questionno, qtype, pos) VALUES (1, 'Fruit', '1', 2, 1)"
            << notValid + "column id of table question is not an integer primary key. 26";
        QTest::newRow("answers without row ids")
            << "DROP TABLE Respondent_Responses;"
               "CREATE TABLE Respondent_Responses (id INTEGER PRIMARY KEY, QuestionID INTEGER, RespondentID INTEGER, "
               "ResponseID INTEGER, SimpleResponse TEXT, ResponseMatrixID INTEGER) WITHOUT ROWID"
            << notValid + "column id of table Respondent_Responses is not an integer primary key. 26";
        QTest::newRow("no deleteme column")
            << "ALTER TABLE question DROP COLUMN deleteme" << notValid + "table question has no column deleteme. 26";
        QTest::newRow("no respondent table") << "DROP TABLE respondent"
                                             << "Unable to open %1. The file '%1' is not a valid database of this "
                                                "kind: the table 'respondent' is missing. 26";
        // An older file is told by its version, whatever its tables hold.
        QTest::newRow("older version, other columns")
            << "UPDATE version SET version = 1.6; ALTER TABLE response DROP COLUMN deleteme"
            << "Unable to open survey file - expecting version 1.7, but found version 1.6";
        QTest::newRow("damaged page") << "damage"
                                      << "Unable to open %1. database disk image is malformed. 11";
        QTest::newRow("not a database") << "text"
                                        << "Unable to open %1. The file '%1' is not a database. 26";
    }

    void refusedWithAMessageAndLeftAsTheyWere()
    {
        QFETCH(QString, sql);
        QFETCH(QString, message);
        const QString path = folder->newSurvey(QStringLiteral("hostile.tvq"));
        QVERIFY(alter(path, QString::fromLatin1(kOneQuestion)));
        if (sql == QLatin1String("damage")) {
            QVERIFY(damageTablePage(path, QStringLiteral("version")));
        } else if (sql == QLatin1String("text")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("Dear reader,\n").repeated(100));
        } else {
            QVERIFY(alter(path, sql));
        }
        const QByteArray before = bytesOf(path);

        w = startProgram();
        Dialogs::Script::fileName(path);
        Dialogs::Script::answer(Dialogs::OK);
        w->mnuFileOpen_Click();
        QCOMPARE(Dialogs::Script::lastText(), QString(message).replace(QLatin1String("%1"), path));
        QCOMPARE(Dialogs::Script::lastIcon(),
            message.startsWith(QLatin1String("Unable to open survey file")) ? Dialogs::NoIcon : Dialogs::Critical);
        QCOMPARE(Dialogs::Script::pending(), 0);
        QVERIFY(isUntitledPath(w->session().CurrentFile));
        QVERIFY(w->session().SurveyConnection.isOpen());
        QCOMPARE(w->session().Survey.QCount(), 0);

        // The program goes on: a new survey, a question, a save into a new file.
        QVERIFY(w->mnuNew_Click());
        w->AddBlankOpenEndedQuestion();
        Dialogs::Script::fileName(folder->file(QStringLiteral("fresh.tvq")));
        QVERIFY(w->mnuFileSave_Click());
        QCOMPARE(w->session().Survey.QCount(), 1);
        QVERIFY(w->session().Survey.GetQIndex(1)->DatabaseID > 0);
        QCOMPARE(bytesOf(path), before);
    }
};

int main(int argc, char** argv)
{
    return runGuiTest<HostileFilesTest>(argc, argv);
}

#include "test_hostilefiles.moc"
