// The survey exchange file, compared byte for byte with expected files.
#include "ProgramFolder.h"
#include "document/SurveyFile.h"
#include "platform/Rtf.h"
#include "web/ExchangeFile.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing " + path.toUtf8() + ">");
}

QByteArray expected(const char* name)
{
    return readFile(QDir(QStringLiteral(TESSIVO_TEST_DATA)).filePath(QString::fromLatin1(name)));
}

class ExchangeFileTest : public ::testing::Test {
protected:
    void SetUp() override { SurveyFile::openConnection(conn, folder.newSurvey(QStringLiteral("s.tvq"))); }

    QString add(qint32 type, const QString& text, const QStringList& responses = {}, int scale = 2)
    {
        const QString key = survey.AddQ(rtf::fromPlainText(text), type, -1, scale);
        for (const QString& r : responses)
            survey.GetQ(key)->AddResponse(r, -1, -1, QString());
        return key;
    }

    ProgramFolder folder;
    db::Connection conn;
    clsSurvey survey;
};

TEST_F(ExchangeFileTest, ASurveyWithoutQuestionsIsTheFourHeaderLines)
{
    EXPECT_EQ(ExchangeFile::build(survey, conn),
        QByteArray("<app>Orvalen Tessivo</app>\r\n<user></user>\r\n<key></key>\r\n<version>1.4</version>\r\n"));
}

// Every kind of question: instruction text, an open-ended text of two lines with markup
// characters, a check question without responses, a radio question, a matrix of three rows on
// a four-column scale (one column without a name) and a question not yet saved.
TEST_F(ExchangeFileTest, EveryKindOfQuestion)
{
    conn.execute(QStringLiteral("INSERT INTO responsematrixgroup (id, name) VALUES (7, 'Four')"));
    conn.execute(QStringLiteral("INSERT INTO responsematrix (id, name, responsematrixgroupid, pos) VALUES "
                                "(90, 'C', 7, 2), (91, 'A', 7, 0), (92, NULL, 7, 3), (93, 'B', 7, 1)"));
    add(QTypeText, QStringLiteral("Welcome"));
    add(QTypeOpenEnded, QStringLiteral("Your <name> & firm?\r\nSecond line"));
    add(QTypeCheck, QStringLiteral("Colours"));
    add(QTypeRadio, QStringLiteral("Size"), { QStringLiteral("Small"), QStringLiteral("Large & <wide>") });
    add(QTypeMatrix, QStringLiteral("Rate"),
        { QStringLiteral("Food"), QStringLiteral("Service"), QStringLiteral("Price") }, 7);
    survey.ReorderQ_QuestionNos();
    SurveyFile::save(conn, survey);
    SurveyFile::load(conn, survey);
    const QString key = add(QTypeOpenEnded, QStringLiteral("Added since"));
    survey.GetQ(key)->OpenEnded_NoOfRows = 3;
    survey.ReorderQ_QuestionNos();

    EXPECT_EQ(ExchangeFile::build(survey, conn), expected("exchange_all.xml"));
}

// Texts beyond ASCII go into the file in UTF-8, each character as its bytes, with no byte-order
// mark: Latin accents, Greek, a CJK ideograph and a character outside the Basic Multilingual Plane.
TEST_F(ExchangeFileTest, TextsAreWrittenInUtf8)
{
    add(QTypeRadio, QStringLiteral("Caf\u00e9 \u039d\u03b1\u03b9 \u65e5 \U0001F600?"),
        { QStringLiteral("na\u00efve \u20ac") });
    survey.ReorderQ_QuestionNos();
    EXPECT_EQ(ExchangeFile::build(survey, conn),
        QByteArray("<app>Orvalen Tessivo</app>\r\n<user></user>\r\n<key></key>\r\n<version>1.4</version>\r\n"
                   "<q>\r\n"
                   "\t<DatabaseID>-1</DatabaseID>\r\n"
                   "\t<Question>Caf\xc3\xa9 \xce\x9d\xce\xb1\xce\xb9 \xe6\x97\xa5 \xf0\x9f\x98\x80?</Question>\r\n"
                   "\t<QuestionNo>1</QuestionNo>\r\n"
                   "\t<QType>2</QType>\r\n"
                   "\t<OpenEnded_NoOfRows>1</OpenEnded_NoOfRows>\r\n"
                   "\t<r>\r\n"
                   "\t<ResponsesCount>1</ResponsesCount>\r\n"
                   "\t\t<Response>\r\n"
                   "\t\t\t<QuestionID>-1</QuestionID>\r\n"
                   "\t\t\t<Name>na\xc3\xafve \xe2\x82\xac</Name>\r\n"
                   "\t\t\t<DatabaseID>-1</DatabaseID>\r\n"
                   "\t\t\t<Pos>1</Pos>\r\n"
                   "\t\t\t<ResponseMatrixGroupID>2</ResponseMatrixGroupID>\r\n"
                   "\t\t</Response>\r\n"
                   "\t</r>\r\n"
                   "</q>\r\n"));
}

TEST_F(ExchangeFileTest, WritingReplacesTheWholeFileOrLeavesItAsItWas)
{
    const QString path = ExchangeFile::defaultPath();
    EXPECT_EQ(path, folder.file(QStringLiteral("test.xml")));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(10000, 'x'));
    old.close();

    add(QTypeOpenEnded, QStringLiteral("Q"));
    ExchangeFile::DoSaveXML(survey, conn, path);
    const QByteArray written = readFile(path);
    EXPECT_EQ(written, ExchangeFile::build(survey, conn));

    // A failure while the text is built (here: the answer scales cannot be read) leaves the
    // earlier file untouched.
    add(QTypeMatrix, QStringLiteral("M"), { QStringLiteral("row") });
    conn.close();
    EXPECT_THROW(ExchangeFile::DoSaveXML(survey, conn, path), db::Error);
    EXPECT_EQ(readFile(path), written);

    // A folder that does not exist.
    EXPECT_THROW(
        ExchangeFile::DoSaveXML(clsSurvey(), conn, folder.file(QStringLiteral("no/such/test.xml"))), db::Error);
}

} // namespace
