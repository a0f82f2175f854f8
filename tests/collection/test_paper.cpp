// The paper questionnaire read back through the RTF reader: headings, instruction lines, the
// answers in their order with their boxes, and tab stops that keep every box in its column.
#include "SurveyFixture.h"
#include "document/PaperSurvey.h"
#include "document/clsQ.h"
#include "platform/Rtf.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>
#include <ostream>

using namespace collectiontest;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

const QString kBox = QString(QChar(PaperSurvey::kBox));

QString written(db::Connection& c)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PaperSurvey::write(c, buffer);
    return QString::fromLatin1(buffer.data());
}

// The tab stops of the paragraph that holds the text (the stops after its last \pard).
QList<int> stopsOf(const QString& rtfText, const QString& text)
{
    for (const QString& paragraph : rtfText.split(QStringLiteral("\\par\r\n"))) {
        if (!paragraph.contains(text))
            continue;
        const QString props = paragraph.mid(paragraph.lastIndexOf(QStringLiteral("\\pard")));
        QList<int> stops;
        const QRegularExpression tx(QStringLiteral("\\\\tx(\\d+)"));
        for (auto it = tx.globalMatch(props.left(props.indexOf(QLatin1Char('{')))); it.hasNext();)
            stops << it.next().captured(1).toInt();
        return stops;
    }
    return {};
}

class PaperTest : public ::testing::Test {
protected:
    ProgramFolder folder;
    db::Connection c;
};

TEST_F(PaperTest, QuestionsInSurveyOrderWithTheirRoomToAnswer)
{
    SurveyFile::openConnection(c,
        makeSurvey(folder, QStringLiteral("s.tvq"),
            { { QTypeOpenEnded, QStringLiteral("Name?\nFull name, please") },
                { QTypeCheck, QStringLiteral("Fruit?"), { "Apple", "Banana", "Cherry" } },
                { QTypeRadio, QStringLiteral("Pet?"), { "Cat", "Dog" } },
                { QTypeMatrix, QStringLiteral("Rate"), { "Food", "Room" } }, { QTypeText, QStringLiteral("Thanks") },
                { QTypeCheck, QStringLiteral("None?") } }));
    // The designer's order of the answers differs from the order of their ids.
    c.execute(QStringLiteral("UPDATE response SET pos = 4 - pos WHERE questionid = ?"), { questionId(c, 2) });

    const QString rtfText = written(c);
    // The reader gives back exactly the text written: paragraphs joined by CR LF.
    const QString open = QStringLiteral("\r\n\r\n\r\n");
    const QString expected = QStringLiteral("\r\n\r\n") + QStringLiteral("1. Name?\r\nFull name, please\r\n\r\n") + open
        + QStringLiteral("\r\n2. Fruit?\r\n\r\nPlease select any of the following.\r\n\r\n")
        + QStringLiteral("\tCherry\t") + kBox + QStringLiteral("\r\n\tBanana\t") + kBox
        + QStringLiteral("\r\n\tApple\t") + kBox
        + QStringLiteral("\r\n\r\n3. Pet?\r\n\r\nPlease select just one of the following.\r\n\r\n\tCat\t") + kBox
        + QStringLiteral("\r\n\tDog\t") + kBox
        + QStringLiteral("\r\n\r\n4. Rate\r\n\r\n\t\tStrongly Disagree\tDisagree\tNeutral\tAgree\tStrongly Agree\t\r\n")
        + QStringLiteral("Food\t") + QString(kBox + QStringLiteral("\t")).repeated(5) + QStringLiteral("\r\nRoom\t")
        + QString(kBox + QStringLiteral("\t")).repeated(5)
        + QStringLiteral("\r\n\r\n")
        // Instruction text has no number, and no ". " before its text; a check question without
        // answers keeps its instruction.
        + QStringLiteral("Thanks\r\n\r\n") + open
        + QStringLiteral("\r\n5. None?\r\n\r\nPlease select any of the following.\r\n\r\n\r\n");
    EXPECT_EQ(rtf::toPlainText(rtfText), expected);

    // Headings (every line of them) bold and a point larger; everything else in the body format.
    QTextDocument doc;
    rtf::read(rtfText, &doc);
    const QStringList headings { "1. Name?", "Full name, please", "2. Fruit?", "3. Pet?", "4. Rate", "Thanks",
        "5. None?" };
    int headingsSeen = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const bool heading = headings.contains(block.text());
        headingsSeen += heading;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            EXPECT_EQ(f.fontWeight() >= QFont::Bold, heading) << block.text().toStdString();
            EXPECT_DOUBLE_EQ(f.fontPointSize(), heading ? PaperSurvey::kPoints + 1 : PaperSurvey::kPoints)
                << block.text().toStdString();
        }
    }
    EXPECT_EQ(headingsSeen, headings.size());
}

TEST_F(PaperTest, TabStopsKeepBoxesAndColumnsInLine)
{
    SurveyFile::openConnection(c,
        makeSurvey(folder, QStringLiteral("s.tvq"),
            { { QTypeRadio, QStringLiteral("Pet?"), { "Cat", "A rather long answer that passes several stops" } },
                { QTypeMatrix, QStringLiteral("Rate"), { "Food", "The room and its view" } } }));
    const QString rtfText = written(c);

    // Answer lines: the answer from the first stop, the box at a stop past the longest answer.
    const QList<int> answer = stopsOf(rtfText, QStringLiteral("Cat"));
    ASSERT_EQ(answer.size(), 2);
    EXPECT_EQ(stopsOf(rtfText, QStringLiteral("A rather long")), answer);
    EXPECT_GT(answer.at(1),
        answer.at(0) + PaperSurvey::textTwips(QStringLiteral("A rather long answer that passes several stops")));

    // The matrix: the header's second and later stops are the rows' stops, so each column caption
    // stands above its boxes; no caption reaches into the next column.
    const QList<int> rows = stopsOf(rtfText, QStringLiteral("Food"));
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(stopsOf(rtfText, QStringLiteral("The room")), rows);
    const QList<int> header = stopsOf(rtfText, QStringLiteral("Strongly Disagree"));
    ASSERT_EQ(header.size(), 6);
    EXPECT_EQ(header.mid(1), rows);
    EXPECT_GT(header.at(0), 0);
    EXPECT_LT(header.at(0), rows.at(0));
    EXPECT_GT(rows.at(0), PaperSurvey::textTwips(QStringLiteral("The room and its view")));
    const QStringList columns { "Strongly Disagree", "Disagree", "Neutral", "Agree" };
    for (int i = 0; i < columns.size(); ++i)
        EXPECT_GT(rows.at(i + 1) - rows.at(i), PaperSurvey::textTwips(columns.at(i))) << columns.at(i).toStdString();
}

TEST_F(PaperTest, ASurveyWithoutQuestionsIsTwoEmptyLines)
{
    SurveyFile::openConnection(c, folder.newSurvey(QStringLiteral("empty.tvq")));
    EXPECT_EQ(rtf::toPlainText(written(c)), QStringLiteral("\r\n\r\n"));
}

TEST_F(PaperTest, AFailingStatementIsThrown)
{
    SurveyFile::openConnection(
        c, makeSurvey(folder, QStringLiteral("s.tvq"), { { QTypeMatrix, QStringLiteral("Rate"), { "Food" } } }));
    c.execute(QStringLiteral("DROP TABLE responsematrix"));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_THROW(PaperSurvey::write(c, buffer), db::Error);
}

} // namespace
