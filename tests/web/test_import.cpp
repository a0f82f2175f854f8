// The results import: what each group writes, how lines and blocks are read, and that a failure
// imports nothing.
#include "ProgramFolder.h"
#include "document/SurveyFile.h"
#include "platform/TextUtil.h"
#include "web/ResultsImport.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

class ImportTest : public ::testing::Test {
protected:
    void SetUp() override { SurveyFile::openConnection(conn, folder.newSurvey(QStringLiteral("s.tvq"))); }

    int import(const QByteArray& content, const Progress& progress = {})
    {
        const QString path = folder.file(QStringLiteral("17-4.txt"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        return ResultsImport::DoLoadXML(conn, path, progress);
    }

    // Answer rows as "question respondent response 'text' column", in order of writing.
    QStringList rows()
    {
        QStringList list;
        db::Recordset rs = conn.openRecordset(QStringLiteral(
            "SELECT QuestionID, RespondentID, ResponseID, SimpleResponse, ResponseMatrixID FROM Respondent_Responses "
            "ORDER BY id"));
        for (; !rs.atEnd(); rs.moveNext()) {
            list << QStringLiteral("%1 %2 %3 '%4' %5")
                        .arg(NullToEmpty(rs.field(0)), NullToEmpty(rs.field(1)), NullToEmpty(rs.field(2)),
                            rs.isNull(3) ? QStringLiteral("null") : rs.field(3).toString(),
                            rs.isNull(4) ? QStringLiteral("-") : NullToEmpty(rs.field(4)));
        }
        return list;
    }

    int respondents(const QString& where = QStringLiteral("1"))
    {
        return conn.openRecordset(QStringLiteral("SELECT count(*) FROM respondent WHERE ") + where).field(0).toInt();
    }

    ProgramFolder folder;
    db::Connection conn;
};

QByteArray group(const QByteArray& id, const QByteArray& no, const QByteArray& type, const QByteArray& fields = {})
{
    return QByteArray("\t<r>\r\n\t\t<DatabaseID>") + id + "</DatabaseID>\r\n\t\t<QuestionNo>" + no
        + "</QuestionNo>\r\n\t\t<QType>" + type + "</QType>\r\n" + fields + "\t</r>\r\n";
}

QByteArray block(const QByteArray& groups)
{
    return "<userresponse>\r\n" + groups + "</userresponse>\r\n";
}

// Two texts with a NUL byte between them.
QByteArray withNul(const char* before, const char* after)
{
    return QByteArray(before) + '\0' + after;
}

TEST_F(ImportTest, EachQuestionTypeWritesItsRows)
{
    const QByteArray file
        = block(group("5", "1", "0", "\t\t<text>caf\xc3\xa9 & <b></text>\r\n")
              + group("6", "2", "1", "\t\t<Response>11</Response>\r\n\t\t<Response>13</Response>\r\n")
              + group(
                  "7", "3", "2", "<Response>21</Response>\r\n<Response>22</Response>\r\n<Response>23</Response>\r\n")
              + group("8", "4", "3", "<Response>12,34</Response>\r\n<Response>15,36,99</Response>\r\n")
              + group("9", "5", "4", "<Response>1</Response>\r\n") + group("10", "6", "0"))
        + block(group("5", "1", "0", "<text>na\xefve</text>\r\n"));
    EXPECT_EQ(import(file), 2);
    EXPECT_EQ(rows(),
        (QStringList { "5 1 1 'caf\u00e9 & <b>' -", "6 1 11 '' -", "6 1 13 '' -", "7 1 21 '' -", "8 1 34 '' 12",
            "8 1 36 '' 15", "10 1 1 '' -", "5 2 1 'na\u00efve' -" }));
    EXPECT_EQ(respondents(QStringLiteral("source = 'Web' AND submitteddate IS NOT NULL")), 2);
}

// How lines are cut and blocks and groups found: (file, respondents made, rows written).
TEST_F(ImportTest, LinesBlocksAndGroups)
{
    struct Case {
        const char* what;
        QByteArray file;
        int respondents;
        QStringList rows;
    };
    const std::vector<Case> cases = {
        { "empty file", "", 0, {} },
        { "a whole group on one line",
            "<userresponse>\r\n<r><DatabaseID>5</DatabaseID><QuestionNo>1</QuestionNo><QType>2</QType><Response>3</"
            "Response></r>"
            "\r\n</userresponse>\r\n",
            1, { "5 1 3 '' -" } },
        { "a whole block on one line without a final line break",
            "<userresponse><r><DatabaseID>5</DatabaseID><QuestionNo>1</QuestionNo><QType>0</QType><text>x</text></r>"
            "</userresponse>",
            1, { "5 1 1 'x' -" } },
        { "the last line counts without CR LF",
            "<userresponse>\r\n" + group("5", "1", "1", "<Response>3</Response>\r\n").chopped(2), 1, { "5 1 3 '' -" } },
        { "lines ended by LF alone",
            "<userresponse>\n<r>\n<DatabaseID>5</DatabaseID>\n<QuestionNo>1</QuestionNo>\n"
            "<QType>1</QType>\n<Response>3</Response>\n</r>\n</userresponse>\n",
            1, { "5 1 3 '' -" } },
        { "two blocks without a close are one respondent",
            "<userresponse>\r\n" + group("5", "1", "1", "<Response>3</Response>\r\n") + "<userresponse>\r\n"
                + group("6", "2", "1", "<Response>4</Response>\r\n") + "</userresponse>\r\n",
            1, { "5 1 3 '' -", "6 1 4 '' -" } },
        { "groups without an id, a number or a type are dropped",
            block(group("", "1", "0") + group("5", "", "0") + group("5", "1", "")), 0, {} },
        { "fields outside a group and a group outside a block are ignored",
            "<r>\r\n<DatabaseID>5</DatabaseID><QuestionNo>1</QuestionNo><QType>0</QType>\r\n</r>\r\n<userresponse>\r\n"
            "<QType>1</QType><Response>9</Response>\r\n"
                + group("6", "2", "1", "<Response>4</Response>\r\n") + "</userresponse>\r\n",
            1, { "6 1 4 '' -" } },
        { "a text over several lines is empty", block(group("5", "1", "0", "<text>one\r\ntwo</text>\r\n")), 1,
            { "5 1 1 '' -" } },
        { "a check group without responses makes the respondent", block(group("5", "1", "1")), 1, {} },
        { "a closing tag before its opening tag gives no value",
            block(group("5", "1", "1", "</Response>7<Response>\r\n<Response>8</Response>\r\n")), 1, { "5 1 8 '' -" } },
        { "text that is not UTF-8 is read as Latin-1", block(group("5", "1", "0", "<text>Z\xfcrich</text>\r\n")), 1,
            { "5 1 1 'Z\u00fcrich' -" } },
        // The first line end says how the file's lines end; a value keeps any other line break.
        { "a bare LF inside a CR LF file stays in the value",
            block(group("5", "1", "0", "<text>one\ntwo\rthree</text>\r\n")), 1, { "5 1 1 'one\ntwo\rthree' -" } },
        { "a CR LF inside a file of LF lines ends the line",
            "<userresponse>\n<r>\n<DatabaseID>5</DatabaseID>\n<QuestionNo>1</QuestionNo>\n<QType>0</QType>\n"
            "<text>one\rtwo\r\nthree</text>\n</r>\n</userresponse>\n",
            1, { "5 1 1 '' -" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        conn.execute(QStringLiteral("DELETE FROM Respondent_Responses"));
        conn.execute(QStringLiteral("DELETE FROM respondent"));
        conn.execute(
            QStringLiteral("DELETE FROM sqlite_sequence WHERE name IN ('respondent', 'Respondent_Responses')"));
        EXPECT_EQ(import(c.file), c.respondents);
        EXPECT_EQ(respondents(), c.respondents);
        EXPECT_EQ(rows(), c.rows);
    }
}

// A value longer than the blocks the file is read in (256 KB), with bare LFs in it, whose CR LF
// falls just before, across and just after a block's end: the value is whole, and the lines
// after it are counted right (a bad type names its line).
TEST_F(ImportTest, ALongValueOverSeveralBlocks)
{
    constexpr qsizetype kBlock = 256 * 1024;
    const QByteArray head = "<userresponse>\r\n\t<r>\r\n<DatabaseID>5</DatabaseID><QuestionNo>1</QuestionNo>"
                            "<QType>0</QType>\r\n<text>";
    for (const qsizetype shift : { -2, -1, 0, 1 }) {
        SCOPED_TRACE(shift);
        // The LF of the value's line end is the first byte of the third block, moved by shift.
        const qsizetype length = 2 * kBlock + shift - head.size() - qsizetype(sizeof("</text>\r") - 1);
        QByteArray value(length, 'v');
        for (qsizetype i = 999; i < length; i += 1000)
            value[i] = '\n';
        value[kBlock - head.size()] = '\n';
        const QByteArray lines = head + value + "</text>\r\n\t</r>\r\n"; // lines 1 to 5
        ASSERT_EQ(lines.indexOf("</text>\r\n") + 8, 2 * kBlock + shift);

        conn.execute(QStringLiteral("DELETE FROM Respondent_Responses"));
        EXPECT_EQ(import(lines + group("6", "2", "1", "<Response>4</Response>\r\n") + "</userresponse>\r\n"), 1);
        db::Recordset rs = conn.openRecordset(
            QStringLiteral("SELECT QuestionID, SimpleResponse, ResponseID FROM Respondent_Responses ORDER BY id"));
        ASSERT_FALSE(rs.atEnd());
        EXPECT_EQ(rs.field(0).toInt(), 5);
        EXPECT_TRUE(rs.field(1).toString() == QString::fromLatin1(value));
        rs.moveNext();
        ASSERT_FALSE(rs.atEnd());
        EXPECT_EQ(rs.field(2).toInt(), 4);

        try {
            import(lines + group("6", "2", "x"));
            ADD_FAILURE() << "imported";
        } catch (const db::Error& e) {
            EXPECT_EQ(e.description(),
                QStringLiteral("Line 9 of the results file: the question type \"x\" is not a whole number. "
                               "Nothing was imported."));
        }
    }
}

TEST_F(ImportTest, ImportingTheSameFileTwiceDoublesIt)
{
    const QByteArray file = block(group("5", "1", "2", "<Response>3</Response>\r\n"));
    EXPECT_EQ(import(file), 1);
    EXPECT_EQ(import(file), 1);
    EXPECT_EQ(rows(), (QStringList { "5 1 3 '' -", "5 2 3 '' -" }));
}

// A bad value anywhere imports nothing, and the message names its line.
TEST_F(ImportTest, AFailureHalfWayImportsNothing)
{
    const QByteArray good = block(group("5", "1", "1", "<Response>3</Response>\r\n")); // lines 1 to 8; bad from 9
    const std::vector<std::pair<QByteArray, QString>> cases = {
        { block(group("6", "2", "x1")),
            "Line 13 of the results file: the question type \"x1\" is not a whole number." },
        { block(group("6", "2", "3", "<Response>1234</Response>\r\n")),
            "Line 14 of the results file: the matrix answer \"1234\" has no \",\"." },
        { block(group("6", "2", "1", "<Response>4</Response>\r\n<Response>abc</Response>\r\n")),
            "Line 15 of the results file: the response id \"abc\" is not a number." },
        { block(group("six", "2", "0")), "Line 11 of the results file: the question id \"six\" is not a number." },
        { block(group("6", "2", "3", "<Response>a,4</Response>\r\n")),
            "Line 14 of the results file: the answer-scale column id \"a\" is not a number." },
        // A long value is cut short in the message.
        { block(group(QByteArray(100000, '9') + 'x', "2", "0")),
            "Line 11 of the results file: the question id \"" + QString(40, QLatin1Char('9'))
                + "...\" is not a number." },
        // A number ends where its field ends: what follows a NUL byte is part of it.
        { block(group(withNul("6", "junk 77"), "2", "0")),
            "Line 11 of the results file: the question id \"6\ufffdjunk 77\" is not a number." },
        { block(group("6", "2", withNul("1", "x"))),
            "Line 13 of the results file: the question type \"1\ufffdx\" is not a whole number." },
        { block(group("6", "2", "1", "<Response>" + withNul("12", "abc") + "</Response>\r\n")),
            "Line 14 of the results file: the response id \"12\ufffdabc\" is not a number." },
        { block(group("6", "2", "3", "<Response>12,34" + withNul("", "") + "</Response>\r\n")),
            "Line 14 of the results file: the response id \"34\ufffd\" is not a number." },
    };
    for (const auto& [bad, message] : cases) {
        SCOPED_TRACE(message.toStdString());
        try {
            import(good + bad + good);
            ADD_FAILURE() << "imported";
        } catch (const db::Error& e) {
            EXPECT_EQ(e.description(), message + QStringLiteral(" Nothing was imported."));
        }
        EXPECT_EQ(respondents(), 0);
        EXPECT_EQ(rows(), QStringList());
    }
    EXPECT_THROW(ResultsImport::DoLoadXML(conn, folder.file(QStringLiteral("missing.txt"))), db::Error);

    // A database error (here: the answer table cannot be written) imports nothing either.
    conn.execute(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON Respondent_Responses WHEN NEW.QuestionID = 6 "
                                "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    EXPECT_THROW(import(good + block(group("6", "2", "0"))), db::Error);
    EXPECT_EQ(respondents(), 0);
}

TEST_F(ImportTest, ARespondentIdThatWouldNotFitImportsNothing)
{
    conn.execute(QStringLiteral("INSERT INTO respondent (id, source) VALUES (2147483647, 'Web')"));
    try {
        import(block(group("5", "1", "0", "<text>Ann</text>\r\n")));
        ADD_FAILURE() << "imported";
    } catch (const db::Error& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("no id left for a new respondent")))
            << e.description().toStdString();
    }
    EXPECT_EQ(respondents(), 1);
    EXPECT_EQ(rows(), QStringList());
}

TEST_F(ImportTest, CancelImportsNothingAndProgressReachesTheEnd)
{
    const QByteArray file = block(group("5", "1", "2", "<Response>3</Response>\r\n"));
    qint64 last = -1;
    qint64 size = -1;
    EXPECT_EQ(import(file,
                  [&](qint64 done, qint64 total) {
                      last = done;
                      size = total;
                      return true;
                  }),
        1);
    EXPECT_EQ(last, file.size());
    EXPECT_EQ(size, file.size());
    EXPECT_THROW(import(file, [](qint64, qint64) { return false; }), db::Error);
    EXPECT_EQ(respondents(), 1);
}

} // namespace
