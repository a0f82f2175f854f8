// The analysis without widgets: shares, the summary's rows and totals, the chart's data, the
// detailed report and the CSV export, on survey files written row by row.
#include "ProgramFolder.h"
#include "SampleSurvey.h"
#include "document/ChartData.h"
#include "document/CsvExport.h"
#include "document/DetailReport.h"
#include "document/SummaryReport.h"
#include "platform/DateText.h"
#include "platform/Rtf.h"
#include "platform/TextUtil.h"

#include <QBuffer>
#include <QFile>
#include <QLocale>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

// Restores the default locale when a test has set another one.
class LocaleGuard {
public:
    explicit LocaleGuard(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(QLocale::system()); }
};

QString date(const char* stored)
{
    return generalDateText(QString::fromLatin1(stored));
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A strict reader of RFC 4180: every field quoted, quotes inside doubled, fields separated by ","
// and records ended by CR LF. Anything else fails the test.
std::vector<QStringList> parseCsv(const QByteArray& bytes)
{
    const QString text = QString::fromUtf8(bytes);
    std::vector<QStringList> records;
    QStringList record;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text.at(i) != u'"') {
            ADD_FAILURE() << "unquoted field at " << i;
            return records;
        }
        QString field;
        ++i;
        for (;;) {
            if (i >= text.size()) {
                ADD_FAILURE() << "unterminated field";
                return records;
            }
            if (text.at(i) == u'"') {
                if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    field += u'"';
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            field += text.at(i++);
        }
        record << field;
        if (i < text.size() && text.at(i) == u',') {
            ++i;
        } else if (text.mid(i, 2) == QLatin1String("\r\n")) {
            records.push_back(record);
            record.clear();
            i += 2;
        } else {
            ADD_FAILURE() << "field not followed by a comma or CR LF at " << i;
            return records;
        }
    }
    EXPECT_TRUE(record.isEmpty()) << "last record without CR LF";
    return records;
}

class AnalysisTest : public ::testing::Test {
protected:
    ProgramFolder folder;
};

} // namespace

TEST(Shares, RoundToOneDecimalWithHalvesToEven)
{
    const struct {
        qint64 count, total;
        const char* text;
    } cases[] = {
        { 0, 16, "0.0%" },
        { 1, 16, "6.2%" },
        { 3, 16, "18.8%" },
        { 8, 16, "50%" },
        { 16, 16, "100%" },
        { 1, 2001, "0%" },
        { 1, 3, "33.3%" },
        { 2, 3, "66.7%" },
        { 1, 400, "0.2%" },
        { 3, 400, "0.8%" },
        { 0, 0, "0.0%" },
        { 3, 2, "150%" },
        { 2500, 1000, "250%" },
        { 1, 2000, "0.1%" },
        { 3, 2000, "0.1%" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Summary::shareText(c.count, c.total), QString::fromLatin1(c.text)) << c.count << " of " << c.total;
}

TEST(Shares, UseTheLocalesDecimalSeparatorAndNoGrouping)
{
    const LocaleGuard german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(Summary::shareText(1, 16), QStringLiteral("6,2%"));
    EXPECT_EQ(Summary::shareText(0, 16), QStringLiteral("0.0%")); // the fixed text
    EXPECT_EQ(Summary::shareText(12345, 1000), QStringLiteral("1234,5%"));
}

TEST(Dates, GeneralDateLeavesOutMidnightAndKeepsWhatIsNoDate)
{
    const LocaleGuard us(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(date("2024-03-01 09:05:07"), QStringLiteral("3/1/24 9:05:07 AM"));
    EXPECT_EQ(date("2024-03-02 00:00:00"), QStringLiteral("3/2/24"));
    EXPECT_EQ(date("2024-12-31 23:59:00"), QStringLiteral("12/31/24 11:59:00 PM"));
    EXPECT_EQ(date("yesterday"), QStringLiteral("yesterday"));
    EXPECT_EQ(generalDateText(QVariant()), QString());
}

TEST_F(AnalysisTest, TotalsCountEverySourceAndRowsListEveryKindInSurveyOrder)
{
    SampleSurvey s(folder.newSurvey(QStringLiteral("s.tvq")));
    const Summary::Totals t = Summary::readTotals(s.w.connection);
    EXPECT_EQ(t.all, 4);
    EXPECT_EQ(t.manualEntry, 1);
    EXPECT_EQ(t.webBased, 1);
    EXPECT_EQ(t.imported, 1);

    using K = Summary::RowKind;
    const struct {
        K kind;
        const char* share;
        const char* caption;
        qint64 datum, map;
    } expected[] = {
        { K::Question, "n/a", "1. What is your name?", -1, -1 },
        { K::Question, "", "2. Which fruits?", -1, -1 },
        { K::Answer, "25%", "     Apple", s.apple, -1 },
        { K::Answer, "25%", "     Banana", s.banana, -1 },
        { K::Answer, "25%", "     Cherry", s.cherry, -1 },
        { K::Question, "", "3. Age?", -1, -1 },
        { K::Answer, "25%", "     Under 30", s.under30, -1 },
        { K::Answer, "25%", "     30 or over", s.over30, -1 },
        { K::Question, "", "4. Rate", -1, -1 },
        { K::MatrixRow, "", "     Taste", s.taste, s.taste },
        { K::ScaleColumn, "25%", "          Good", s.taste, s.taste },
        { K::ScaleColumn, "25%", "          Fair", s.taste, s.taste },
        { K::ScaleColumn, "0.0%", "          Poor", s.taste, s.taste },
        { K::MatrixRow, "", "     Price", s.price, s.price },
        { K::ScaleColumn, "0.0%", "          Good", s.price, s.price },
        { K::ScaleColumn, "0.0%", "          Fair", s.price, s.price },
        { K::ScaleColumn, "25%", "          Poor", s.price, s.price },
    };
    const std::vector<Summary::Row> rows = Summary::readRows(s.w.connection, t.all);
    ASSERT_EQ(rows.size(), std::size(expected));
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].kind, expected[i].kind);
        EXPECT_EQ(rows[i].share, QString::fromLatin1(expected[i].share));
        EXPECT_EQ(rows[i].caption, QString::fromLatin1(expected[i].caption));
        EXPECT_EQ(rows[i].datum, expected[i].datum);
        EXPECT_EQ(rows[i].mapEntry, expected[i].map);
    }
}

TEST_F(AnalysisTest, QuestionsFollowTheirPositionsNotTheTextOfTheirNumbers)
{
    SurveyWriter w(folder.newSurvey(QStringLiteral("twelve.tvq")));
    for (int i = 1; i <= 12; ++i)
        w.question(0, QString::number(i), QStringLiteral("Q"));
    QStringList numbers;
    for (const Summary::Row& row : Summary::readRows(w.connection, 0))
        numbers << row.caption.section(QLatin1Char('.'), 0, 0);
    EXPECT_EQ(numbers.join(QLatin1Char(' ')), QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12"));
}

TEST_F(AnalysisTest, QuestionRowsShowTheWholeTextOnOneLine)
{
    const QString sentence = QStringLiteral("Fish & Chips or R&D? ");
    QString long487;
    while (long487.size() < 487)
        long487 += sentence;
    long487.truncate(487);
    const QString huge(kWholeTextLength + 10, QChar(u'x'));
    const struct {
        QString text, caption;
    } cases[] = {
        { QStringLiteral("Fish & Chips or R&D?"), QStringLiteral("Fish & Chips or R&D?") },
        { QStringLiteral("Line one\r\nLine two"), QStringLiteral("Line one Line two") },
        { QStringLiteral("One\r\nTwo\r\nThree\r\nFour\r\nFive\r\nSix"), QStringLiteral("One Two Three Four Five Six") },
        { long487, long487 },
        // Only a huge text is cut, at the length the question editor loads.
        { huge, QString(kWholeTextLength, QChar(u'x')) + QChar(0x2026) },
    };
    SurveyWriter w(folder.newSurvey(QStringLiteral("texts.tvq")));
    for (const auto& c : cases)
        w.question(0, QStringLiteral("1"), c.text);
    const std::vector<Summary::Row> rows = Summary::readRows(w.connection, 0);
    ASSERT_EQ(rows.size(), std::size(cases));
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].caption.size(), cases[i].caption.size() + 3) << i;
        EXPECT_TRUE(rows[i].caption == QStringLiteral("1. ") + cases[i].caption)
            << qPrintable(rows[i].caption.left(80));
    }
}

TEST_F(AnalysisTest, ChartCountsEveryAnswerOrTheColumnsOfOneMatrixRow)
{
    SampleSurvey s(folder.newSurvey(QStringLiteral("s.tvq")));
    s.w.answer(s.paper, s.check, s.apple);

    Chart::Result r = Chart::read(s.w.connection, 4, qint32(s.banana), -1);
    EXPECT_EQ(r.visibility, Chart::Visibility::Show);
    ASSERT_TRUE(r.data);
    ASSERT_EQ(r.data->size(), 3);
    EXPECT_EQ(r.data->at(0).label, QStringLiteral(" Apple"));
    EXPECT_EQ(r.data->at(0).value, 2);
    EXPECT_EQ(r.data->at(1).value, 1);
    EXPECT_EQ(r.data->at(2).label, QStringLiteral(" Cherry"));

    // A scale-column row of the Price row charts the Price row.
    r = Chart::read(s.w.connection, 16, qint32(s.price), qint32(s.price));
    EXPECT_EQ(r.visibility, Chart::Visibility::Show);
    ASSERT_TRUE(r.data);
    ASSERT_EQ(r.data->size(), 3);
    EXPECT_EQ(r.data->at(0).label, QStringLiteral(" Good"));
    EXPECT_EQ(r.data->at(0).value, 0);
    EXPECT_EQ(r.data->at(2).label, QStringLiteral(" Poor"));
    EXPECT_EQ(r.data->at(2).value, 1);
    // What a screen reader hears of the chart: the question, the matrix row, each column's count.
    EXPECT_EQ(Chart::description(r.subject, *r.data), QStringLiteral("Rate (Price): Good 0, Fair 0, Poor 1"));

    // Question rows and the header row have nothing to chart.
    EXPECT_EQ(Chart::read(s.w.connection, 1, -1, -1).visibility, Chart::Visibility::Hide);
    EXPECT_EQ(Chart::read(s.w.connection, 0, 0, -1).visibility, Chart::Visibility::Hide);
    EXPECT_FALSE(Chart::read(s.w.connection, 1, -1, -1).data);
}

TEST_F(AnalysisTest, DetailedReportListsEveryRespondentsAnswersOldestFirst)
{
    SampleSurvey s(folder.newSurvey(QStringLiteral("s.tvq")));
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    ASSERT_TRUE(DetailReport::write(s.w.connection, out, {}));
    const QString rtfText = QString::fromLatin1(out.data());

    const QString expected
        = QStringList { "4 respondents have completed this survey.", "", "Imported on " + date("2024-02-28 10:30:00"),
              "", "1. What is your name?", "\tline one", "\tline two", "2. Which fruits?", "\tBanana", "3. Age?",
              "4. Rate", "\tTaste\t", "\tPrice\t", "", "Manual Entry on " + date("2024-03-01 09:00:00"), "",
              "1. What is your name?", "\tAnn", "2. Which fruits?", "\tApple", "\tCherry", "3. Age?", "\tUnder 30",
              "4. Rate", "\tTaste\tGood", "\tPrice\tPoor", "", "Web on " + date("2024-03-02 00:00:00"), "",
              "1. What is your name?", "\tData not found", "2. Which fruits?", "3. Age?", "\t30 or over", "4. Rate",
              "\tTaste\tFair", "\tPrice\t", "", "Paper on " + date("2024-03-03 12:00:00"), "", "1. What is your name?",
              "\tData not found", "2. Which fruits?", "3. Age?", "4. Rate", "\tTaste\t", "\tPrice\t", "", "" }
              .join(QStringLiteral("\r\n"));
    EXPECT_EQ(rtf::toPlainText(rtfText), expected);

    // Respondent headings bold and a point larger, question headings bold, answers plain.
    QTextDocument doc;
    rtf::read(rtfText, &doc);
    const auto format = [&](const QString& line) {
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
            if (b.text() == line)
                return b.begin().fragment().charFormat();
        }
        ADD_FAILURE() << line.toStdString() << " not found";
        return QTextCharFormat();
    };
    const QTextCharFormat heading = format("Manual Entry on " + date("2024-03-01 09:00:00"));
    EXPECT_EQ(heading.fontWeight(), QFont::Bold);
    EXPECT_EQ(heading.fontPointSize(), DetailReport::kPoints + 1);
    EXPECT_EQ(format(QStringLiteral("3. Age?")).fontWeight(), QFont::Bold);
    EXPECT_EQ(format(QStringLiteral("3. Age?")).fontPointSize(), DetailReport::kPoints);
    EXPECT_NE(format(QStringLiteral("\tAnn")).fontWeight(), QFont::Bold);
}

TEST_F(AnalysisTest, DetailedReportOfNoRespondentsIsTheCountLineAndABlankLine)
{
    SurveyWriter w(folder.newSurvey(QStringLiteral("empty.tvq")));
    w.question(1, QStringLiteral("1"), QStringLiteral("Q"), { QStringLiteral("A") });
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    ASSERT_TRUE(DetailReport::write(w.connection, out, {}));
    EXPECT_EQ(rtf::toPlainText(QString::fromLatin1(out.data())),
        QStringLiteral("0 respondents have completed this survey.\r\n\r\n"));
}

TEST_F(AnalysisTest, DetailedReportOfManyAnswerRowsTakesTheFirstStoredOneOfAMatrixRow)
{
    // Enough answer rows of one respondent that sorting them by question alone could reorder the
    // two of the matrix row.
    SurveyWriter w(folder.newSurvey(QStringLiteral("many.tvq")));
    const qint64 scale = w.scale({ QStringLiteral("Good"), QStringLiteral("Poor") });
    QStringList choices;
    for (int i = 1; i <= 40; ++i)
        choices << QStringLiteral("C%1").arg(i);
    const qint64 matrix
        = w.question(3, QStringLiteral("1"), QStringLiteral("Rate"), { QStringLiteral("Taste") }, scale);
    const qint64 check = w.question(1, QStringLiteral("2"), QStringLiteral("Pick"), choices);
    const qint64 r = w.respondent(QStringLiteral("Web"), QStringLiteral("2024-01-01 10:00:00"));
    for (int i = 1; i <= 20; ++i)
        w.answer(r, check, w.response(check, i));
    w.answer(r, matrix, w.response(matrix, 1), {}, w.column(scale, 1));
    for (int i = 21; i <= 40; ++i)
        w.answer(r, check, w.response(check, i));
    w.answer(r, matrix, w.response(matrix, 1), {}, w.column(scale, 2));

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    ASSERT_TRUE(DetailReport::write(w.connection, out, {}));
    QStringList expected = { "1 respondents have completed this survey.", "", "Web on " + date("2024-01-01 10:00:00"),
        "", "1. Rate", "\tTaste\tGood", "2. Pick" };
    for (const QString& choice : std::as_const(choices))
        expected << "\t" + choice;
    expected << ""
             << "";
    EXPECT_EQ(rtf::toPlainText(QString::fromLatin1(out.data())).toStdString(),
        expected.join(QStringLiteral("\r\n")).toStdString());
}

TEST_F(AnalysisTest, ExportWritesTheFieldsOfEveryRespondentInOrder)
{
    SampleSurvey s(folder.newSurvey(QStringLiteral("s.tvq")));
    const QString file = folder.file(QStringLiteral("SurveyExport.csv"));
    ASSERT_TRUE(CsvExport::writeFile(s.w.connection, file, {}));
    const std::vector<QStringList> records = parseCsv(readFile(file));
    const std::vector<QStringList> expected = {
        { "Imported", date("2024-02-28 10:30:00"), "line one\r\nline two", "Banana", "Taste", "Price" },
        { "Manual Entry", date("2024-03-01 09:00:00"), "Ann", "Apple", "Cherry", "Under 30", "Taste", "Good", "Price",
            "Poor" },
        { "Web", date("2024-03-02 00:00:00"), "Data not found", "30 or over", "Taste", "Fair", "Price" },
        { "Paper", date("2024-03-03 12:00:00"), "Data not found", "Taste", "Price" },
    };
    EXPECT_EQ(records, expected);
}

TEST_F(AnalysisTest, ExportKeepsCommasQuotesLineBreaksAndEveryLetter)
{
    SurveyWriter w(folder.newSurvey(QStringLiteral("hostile.tvq")));
    const qint64 open = w.question(0, QStringLiteral("1"), QStringLiteral("Say"));
    const qint64 check
        = w.question(1, QStringLiteral("2"), QStringLiteral("Pick"), { QStringLiteral("Red, \"dark\"") });
    const qint64 scale = w.scale({ QStringLiteral("6\" tall") });
    const qint64 matrix
        = w.question(3, QStringLiteral("3"), QStringLiteral("Rate"), { QStringLiteral("The \"new\" one") }, scale);
    const QStringList values = { QStringLiteral("a, b"), QStringLiteral("say \"hi\""), QStringLiteral("x\r\ny\nz"),
        QStringLiteral("Ünïcødé — 日本語 ☐"), QString(), QStringLiteral("\"") };
    for (const QString& value : values) {
        const qint64 r = w.respondent(QStringLiteral("Web"), QStringLiteral("2024-01-01 10:00:00"));
        w.answer(r, open, 1, value);
        w.answer(r, check, w.response(check, 1));
        w.answer(r, matrix, w.response(matrix, 1), {}, w.column(scale, 1));
    }
    // A respondent without source or date, and one whose open answer is stored as Null.
    const qint64 bare = w.respondent(QVariant(), QStringLiteral("2024-01-02 10:00:00"));
    w.connection.execute(QStringLiteral("UPDATE respondent SET submitteddate = NULL WHERE id = ?"), { bare });
    w.answer(bare, open, 1, QVariant());

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    ASSERT_TRUE(CsvExport::write(w.connection, out, {}));
    const std::vector<QStringList> records = parseCsv(out.data());
    ASSERT_EQ(records.size(), values.size() + 1);
    // Null dates sort first.
    EXPECT_EQ(records[0], (QStringList { QString(), QString(), QString(), "The \"new\" one" }));
    for (qsizetype i = 0; i < values.size(); ++i)
        EXPECT_EQ(records[size_t(i) + 1],
            (QStringList {
                "Web", date("2024-01-01 10:00:00"), values.at(i), "Red, \"dark\"", "The \"new\" one", "6\" tall" }));
    EXPECT_EQ(CsvExport::QuoteMe(QStringLiteral("abc")), QStringLiteral("\"abc\""));
    EXPECT_EQ(CsvExport::QuoteMe(QString()), QStringLiteral("\"\""));
}

TEST_F(AnalysisTest, FilesAreReplacedOnlyWhenComplete)
{
    SampleSurvey s(folder.newSurvey(QStringLiteral("s.tvq")));
    const QString csv = folder.file(QStringLiteral("SurveyExport.csv"));
    const QString rtf = folder.file(QStringLiteral("DetailReport.rtf"));
    writeFile(csv, "old csv");
    writeFile(rtf, "old report");

    // Cancelled after the first respondent: the files stay as they were.
    int calls = 0;
    const Progress cancelAfterOne = [&](qint64 done, qint64 total) {
        EXPECT_EQ(total, 4);
        EXPECT_EQ(done, ++calls);
        return done < 1;
    };
    EXPECT_FALSE(CsvExport::writeFile(s.w.connection, csv, cancelAfterOne));
    calls = 0;
    EXPECT_FALSE(DetailReport::writeFile(s.w.connection, rtf, cancelAfterOne));
    EXPECT_EQ(readFile(csv), QByteArray("old csv"));
    EXPECT_EQ(readFile(rtf), QByteArray("old report"));

    // A folder that does not exist is a failure with the file access error.
    try {
        CsvExport::writeFile(s.w.connection, folder.file(QStringLiteral("missing/x.csv")), {});
        ADD_FAILURE() << "no error";
    } catch (const db::Error& e) {
        EXPECT_EQ(e.number(), 75);
        EXPECT_TRUE(e.description().contains(QStringLiteral("missing/x.csv")));
    }

    // A survey without respondents replaces the file by an empty one.
    SurveyWriter empty(folder.newSurvey(QStringLiteral("empty.tvq")));
    EXPECT_TRUE(CsvExport::writeFile(empty.connection, csv, {}));
    EXPECT_EQ(QFile(csv).size(), 0);
}
