#include "platform/Rtf.h"

#include <QGuiApplication>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <utility>

// Failures show text, not UTF-16 units.
void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

// What a reader of the document sees of one fragment.
struct Span {
    QString text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QString family;
    qreal points = 0;
    QColor color;

    bool operator==(const Span&) const = default;
};

void PrintTo(const Span& s, std::ostream* os)
{
    *os << '"' << s.text.toStdString() << "\" b" << s.bold << " i" << s.italic << " u" << s.underline << " s"
        << s.strikeOut << " '" << s.family.toStdString() << "' " << s.points << "pt "
        << (s.color.isValid() ? s.color.name().toStdString() : std::string("auto"));
}

Span spanOf(const QString& text, const QTextCharFormat& f)
{
    return Span { text, f.fontWeight() >= QFont::DemiBold, f.fontItalic(), f.fontUnderline(), f.fontStrikeOut(),
        f.fontFamilies().toStringList().value(0), f.fontPointSize(),
        f.foreground().style() == Qt::NoBrush ? QColor() : f.foreground().color() };
}

QList<QList<Span>> spans(const QTextDocument& doc)
{
    QList<QList<Span>> blocks;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QList<Span> list;
        for (auto it = b.begin(); !it.atEnd(); ++it)
            list.append(spanOf(it.fragment().text(), it.fragment().charFormat()));
        blocks.append(list);
    }
    return blocks;
}

QTextCharFormat format(const QString& family, qreal points, bool bold = false, bool italic = false,
    bool underline = false, QColor color = QColor())
{
    QTextCharFormat f;
    f.setFontFamilies(QStringList { family });
    f.setFontPointSize(points);
    if (bold)
        f.setFontWeight(QFont::Bold);
    if (italic)
        f.setFontItalic(true);
    if (underline)
        f.setFontUnderline(true);
    if (color.isValid())
        f.setForeground(color);
    return f;
}

QString plainOf(const QString& rtfText)
{
    QTextDocument doc;
    rtf::read(rtfText, &doc);
    return rtf::plainText(doc);
}

// Braces balance once escapes are taken out, the document is one group that starts as RTF, and
// its last paragraph is not followed by a \par.
::testing::AssertionResult isWellFormed(const QString& r)
{
    if (!r.startsWith(QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0")))
        return ::testing::AssertionFailure() << "header";
    int depth = 0;
    bool afterPar = false;
    for (qsizetype i = 0; i < r.size(); ++i) {
        const QChar c = r.at(i);
        if (c == u'\r' || c == u'\n' || c == u' ')
            continue;
        if (c == u'\\') {
            const qsizetype start = ++i;
            while (i < r.size() && r.at(i).isLetter())
                ++i;
            afterPar = QStringView(r).mid(start, i - start) == u"par";
            if (i > start)
                --i; // else the escaped character is skipped
            continue;
        }
        if (c == u'{') {
            ++depth;
        } else if (c == u'}') {
            if (--depth < 0)
                return ::testing::AssertionFailure() << "unbalanced at " << i;
            if (depth == 0 && i != r.size() - 1)
                return ::testing::AssertionFailure() << "closes early at " << i;
            if (depth == 0 && afterPar)
                return ::testing::AssertionFailure() << "trailing \\par";
        } else if (c.unicode() > 0x7e || c.unicode() < 0x20) {
            return ::testing::AssertionFailure() << "raw character " << int(c.unicode()) << " at " << i;
        }
        afterPar = false;
    }
    if (depth != 0)
        return ::testing::AssertionFailure() << "depth " << depth << " at end";
    return ::testing::AssertionSuccess();
}

// Text a QTextDocument can hold and show: no C0 controls but tab, no unpaired surrogates.
::testing::AssertionResult isCleanPlainText(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate() || (c.unicode() < 0x20 && c != u'\t' && c != u'\r' && c != u'\n')
            || c == QChar::ParagraphSeparator || c.unicode() == 0xfdd0 || c.unicode() == 0xfdd1) {
            return ::testing::AssertionFailure() << "character " << int(c.unicode()) << " at " << i;
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(RtfRoundTrip, MixedFormattingReloadsFragmentByFragment)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("Plain "), format("Arial", 10));
    c.insertText(QStringLiteral("bold"), format("Arial", 10, true));
    c.insertText(QStringLiteral(" italic"), format("Times New Roman", 14, false, true));
    c.insertText(QStringLiteral("under red"), format("Arial", 10.5, false, false, true, QColor(200, 0, 0)));
    QTextCharFormat struck = format("Arial", 10, true, true, true, QColor(0, 0, 255));
    struck.setFontStrikeOut(true);
    c.insertText(QStringLiteral("all"), struck);
    QTextBlockFormat centered;
    centered.setAlignment(Qt::AlignHCenter);
    c.insertBlock(centered);
    c.insertText(QStringLiteral("col1\tcol2 "), format("Courier New", 9, false, false, false, QColor(0, 128, 0)));
    c.insertText(QStringLiteral("after"), format("Arial", 10));
    // An empty paragraph keeps the format it was given, here large and bold.
    c.insertBlock(QTextBlockFormat(), format("Arial", 20, true));
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    c.insertBlock(right);
    c.insertText(QStringLiteral("last"), format("Arial", 10));

    const QString stored = rtf::write(doc);
    EXPECT_TRUE(isWellFormed(stored)) << stored.toStdString();
    EXPECT_TRUE(stored.contains(QStringLiteral("\\fs21"))) << "10.5 pt in half-points";

    QTextDocument reloaded;
    rtf::read(stored, &reloaded);
    EXPECT_EQ(spans(reloaded), spans(doc));
    ASSERT_EQ(reloaded.blockCount(), 4);
    EXPECT_EQ(reloaded.findBlockByNumber(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(reloaded.findBlockByNumber(3).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    const QTextCharFormat emptyMark = reloaded.findBlockByNumber(2).charFormat();
    EXPECT_EQ(emptyMark.fontPointSize(), 20);
    EXPECT_EQ(emptyMark.fontWeight(), QFont::Bold);
    EXPECT_EQ(
        rtf::plainText(reloaded), QStringLiteral("Plain bold italicunder redall\r\ncol1\tcol2 after\r\n\r\nlast"));
    // Written again, nothing changes.
    EXPECT_EQ(rtf::write(reloaded), stored);
}

TEST(RtfRoundTrip, UnsetFormatIsWrittenAsTheDocumentDefault)
{
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("Verdana"), 11));
    QTextCursor(&doc).insertText(QStringLiteral("default"));
    const QString stored = rtf::write(doc);
    EXPECT_TRUE(stored.contains(QStringLiteral("Verdana;"))) << stored.toStdString();
    EXPECT_TRUE(stored.contains(QStringLiteral("\\fs22 default"))) << stored.toStdString();
}

TEST(RtfRoundTrip, KeepsTheParagraphCount)
{
    const QStringList cases = { QString(), QStringLiteral("a"), QStringLiteral("a\r\nb"), QStringLiteral("a\r\n"),
        QStringLiteral("\r\n"), QStringLiteral("\r\n\r\nx\r\n\r\n"), QStringLiteral("a\r\nb\r\nc") };
    for (const QString& text : cases) {
        SCOPED_TRACE(text.toStdString());
        const QString stored = rtf::fromPlainText(text);
        EXPECT_TRUE(isWellFormed(stored)) << stored.toStdString();
        EXPECT_EQ(rtf::toPlainText(stored), text);

        QTextDocument doc;
        rtf::read(stored, &doc);
        EXPECT_EQ(doc.blockCount(), text.count(QStringLiteral("\r\n")) + 1);
        QTextDocument again;
        rtf::read(rtf::write(doc), &again);
        EXPECT_EQ(rtf::plainText(again), text);
    }
}

TEST(RtfRoundTrip, SpecialCharactersSurvive)
{
    const QStringList cases = {
        QStringLiteral("{braces} and \\backslash\\ and \\par as text"),
        QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac 5"), // é €
        QString::fromUtf8("\xe4\xb8\xad\xe6\x96\x87\xe9\x97\xae\xe9\xa2\x98"), // Chinese
        QString::fromUtf8("smile \xf0\x9f\x98\x80 and \xf0\x9f\x91\x8d"), // emoji, surrogate pairs
        QString::fromUtf8("a\tb\xc2\xa0"
                          "c\xc2\xad"
                          "d\xe2\x80\x91"
                          "e"), // tab, nbsp, soft and hard hyphen
        QStringLiteral("  leading and trailing spaces  "),
        QStringLiteral("digits 123 after words"),
    };
    for (const QString& text : cases) {
        SCOPED_TRACE(text.toStdString());
        const QString stored = rtf::fromPlainText(text);
        EXPECT_TRUE(isWellFormed(stored)) << stored.toStdString();
        EXPECT_EQ(rtf::toPlainText(stored), text);
        QTextDocument doc;
        rtf::read(stored, &doc);
        EXPECT_EQ(rtf::plainText(doc), text);
    }
    const QString emoji = rtf::fromPlainText(QString::fromUtf8("\xf0\x9f\x98\x80\xe2\x82\xac"));
    EXPECT_TRUE(emoji.contains(QStringLiteral("\\u-10179?\\u-8704?\\u8364?"))) << emoji.toStdString();
}

TEST(RtfRoundTrip, LineBreakStaysInItsParagraph)
{
    QTextDocument doc;
    QTextCursor(&doc).insertText(QStringLiteral("one") + QChar::LineSeparator + QStringLiteral("two"));
    const QString stored = rtf::write(doc);
    EXPECT_TRUE(stored.contains(QStringLiteral("one\\line two"))) << stored.toStdString();
    QTextDocument reloaded;
    rtf::read(stored, &reloaded);
    EXPECT_EQ(reloaded.blockCount(), 1);
    EXPECT_EQ(rtf::plainText(reloaded), QStringLiteral("one\r\ntwo"));
}

TEST(RtfRead, ForeignFormattingFollowsGroups)
{
    QTextDocument doc;
    rtf::read(
        QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman\\fcharset0 Times New Roman;}}"
                       "{\\colortbl;\\red255\\green0\\blue0;}"
                       "\\f1\\fs28 a{\\b b\\i c}\\cf1 d\\plain e\\ul f\\ul0 g\\uldb h\\ulnone i}"),
        &doc);
    const QColor red(255, 0, 0);
    const QList<Span> expected = {
        { QStringLiteral("a"), false, false, false, false, QStringLiteral("Times New Roman"), 14, {} },
        { QStringLiteral("b"), true, false, false, false, QStringLiteral("Times New Roman"), 14, {} },
        { QStringLiteral("c"), true, true, false, false, QStringLiteral("Times New Roman"), 14, {} },
        { QStringLiteral("d"), false, false, false, false, QStringLiteral("Times New Roman"), 14, red },
        { QStringLiteral("e"), false, false, false, false, QStringLiteral("Arial"), 12, {} },
        { QStringLiteral("f"), false, false, true, false, QStringLiteral("Arial"), 12, {} },
        { QStringLiteral("g"), false, false, false, false, QStringLiteral("Arial"), 12, {} },
        { QStringLiteral("h"), false, false, true, false, QStringLiteral("Arial"), 12, {} },
        { QStringLiteral("i"), false, false, false, false, QStringLiteral("Arial"), 12, {} },
    };
    EXPECT_EQ(spans(doc), QList<QList<Span>> { expected });
}

struct ReadCase {
    const char* name;
    const char* rtf;
    const char* plain; // UTF-8
};

TEST(RtfRead, TextOfForeignDocuments)
{
    const ReadCase cases[] = {
        { "final par ends the paragraph", "{\\rtf1 a\\par b\\par\r\n}", "a\r\nb" },
        { "final par with spaces after", "{\\rtf1 a\\par }\r\n", "a" },
        { "two final pars keep one empty", "{\\rtf1 a\\par\\par}", "a\r\n" },
        { "words after the last par keep it", "{\\rtf1 a\\par\\pard}", "a\r\n" },
        { "ansi escapes in cp1252", "{\\rtf1\\ansi caf\\'e9 \\'80 \\'93q\\'94}",
            "caf\xc3\xa9 \xe2\x82\xac \xe2\x80\x9cq\xe2\x80\x9d" },
        { "unicode with fallback", "{\\rtf1\\uc1 \\u233\\'e9 x\\u8364?y}", "\xc3\xa9 x\xe2\x82\xacy" },
        { "uc2 skips two", "{\\rtf1\\uc2\\u8364\\'80\\'81z}", "\xe2\x82\xacz" },
        { "uc0 skips nothing", "{\\rtf1\\uc0\\u8364 z}", "\xe2\x82\xacz" },
        { "skip stops at group end", "{\\rtf1{\\uc3\\u233}abc}",
            "\xc3\xa9"
            "abc" },
        { "uc is scoped to its group", "{\\rtf1{\\uc0 x}\\u233?y}", "x\xc3\xa9y" },
        { "surrogate pair", "{\\rtf1\\u-10179?\\u-8704?}", "\xf0\x9f\x98\x80" },
        { "code point above the BMP", "{\\rtf1\\u128512?}", "\xf0\x9f\x98\x80" },
        { "escaped symbols", "{\\rtf1 \\{x\\} \\\\ a\\~b\\_c}",
            "{x} \\ a\xc2\xa0"
            "b\xe2\x80\x91"
            "c" },
        { "typographic words", "{\\rtf1 \\lquote a\\rquote  \\emdash\\endash\\bullet}",
            "\xe2\x80\x98"
            "a\xe2\x80\x99 \xe2\x80\x94\xe2\x80\x93\xe2\x80\xa2" },
        { "tab and line", "{\\rtf1 a\\tab b\\line c}", "a\tb\r\nc" },
        { "backslash newline is a paragraph", "{\\rtf1 a\\\nb}", "a\r\nb" },
        { "raw line ends are ignored", "{\\rtf1 a\r\nb\nc}", "abc" },
        { "space ends a word", "{\\rtf1\\b  two}", " two" },
        { "tables are skipped",
            "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}{\\stylesheet{\\s0 Normal;}}"
            "{\\info{\\title T}{\\author A}}{\\*\\generator G;}body}",
            "body" },
        { "pictures objects headers footers",
            "{\\rtf1 a{\\pict\\pngblip 89504e47}{\\object{\\*\\objdata 0102}{\\result r}}{\\header h}{\\footer f}"
            "{\\footnote n}b}",
            "ab" },
        { "unknown ignorable destination", "{\\rtf1 a{\\*\\somethingnew hidden {nested}}b}", "ab" },
        { "unknown words are ignored", "{\\rtf1\\lang1033\\noproof\\rtlch a\\foo-12 b}", "ab" },
        { "field result is text", "{\\rtf1 see {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt here}}.}",
            "see here." },
        { "fldinst without star", "{\\rtf1 {\\field{\\fldinst PAGE}{\\fldrslt 7}}}", "7" },
        { "hidden text", "{\\rtf1 a\\v secret\\v0 b}", "ab" },
        { "binary data is skipped", "{\\rtf1 a\\bin5 {}}\\}b}", "ab" },
        { "cells and rows", "{\\rtf1 \\trowd a\\cell b\\cell\\row c}", "a\tb\t\r\nc" },
        { "upr takes the ansi part", "{\\rtf1 {\\upr{x}{\\*\\ud{y}}}}", "x" },
        { "flat font table", "{\\rtf1{\\fonttbl\\f0\\fnil Arial;\\f1 Courier;}\\f1 t}", "t" },
        { "u2029 splits paragraphs", "{\\rtf1 a\\u8233?b}", "a\r\nb" },
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(plainOf(QString::fromLatin1(c.rtf)), QString::fromUtf8(c.plain));
        EXPECT_EQ(rtf::toPlainText(QString::fromLatin1(c.rtf)), QString::fromUtf8(c.plain));
    }
}

TEST(RtfRead, CodePagesOfDocumentAndFont)
{
    if (!QStringDecoder("windows-1251").isValid())
        GTEST_SKIP() << "no windows-1251 decoder in this Qt";
    const QString cyrillic = QString::fromUtf8("\xd0\x90\xd0\xb1"); // "Аб"
    EXPECT_EQ(rtf::toPlainText(QStringLiteral("{\\rtf1\\ansi\\ansicpg1251 \\'c0\\'e1}")), cyrillic);
    EXPECT_EQ(rtf::toPlainText(QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial Cyr;}}"
                                              "\\'e9{\\f1 \\'c0\\'e1}\\'e9}")),
        QString::fromUtf8("\xc3\xa9") + cyrillic + QString::fromUtf8("\xc3\xa9"));
    if (QStringDecoder("GBK").isValid()) {
        // Both bytes of a double-byte character come as separate escapes.
        EXPECT_EQ(rtf::toPlainText(QStringLiteral("{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0\\'ce\\'c4}")),
            QString::fromUtf8("\xe4\xb8\xad\xe6\x96\x87"));
    }
}

// The bytes of pasted RTF: line breaks of the source between the bytes of one character, raw
// 8-bit bytes in the document's code page, and the size of text that gives none.
TEST(RtfRead, BytesOfPastedRtfInTheirCodePage)
{
    struct BytesCase {
        const char* name;
        const char* codec; // a decoder the case needs, or none
        QByteArray rtf;
        const char* plain; // UTF-8
    };
    const BytesCase cases[] = {
        { "escapes of one character split by CR LF", "Shift_JIS",
            "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 MS Mincho;}}\\f0 \\'82\r\n\\'a0\\'82\\'a2}",
            "\xe3\x81\x82\xe3\x81\x84" },
        { "escapes split by LF in the document code page", "GBK", "{\\rtf1\\ansi\\ansicpg936 \\'d6\n\\'d0\\'ce\\'c4}",
            "\xe4\xb8\xad\xe6\x96\x87" },
        { "raw windows-1252 bytes", nullptr, "{\\rtf1\\ansi \x93quoted\x94 costs \x80 5, caf\xe9}",
            "\xe2\x80\x9cquoted\xe2\x80\x9d costs \xe2\x82\xac 5, caf\xc3\xa9" },
        { "raw bytes in the document code page", "windows-1251", "{\\rtf1\\ansi\\ansicpg1251 \xc0\xe1}",
            "\xd0\x90\xd0\xb1" },
        { "raw double-byte character across a line break", "Shift_JIS",
            "{\\rtf1\\ansi\\ansicpg932 \x82\r\n\xa0\\'82\xa2!}", "\xe3\x81\x82\xe3\x81\x84!" },
        { "raw byte as the fallback of a unicode word", nullptr, "{\\rtf1\\uc1\\u8364\x80 x}", "\xe2\x82\xac x" },
        { "not rtf: utf-8", nullptr, "caf\xc3\xa9", "caf\xc3\xa9" },
        { "not rtf: windows-1252", nullptr, "caf\xe9 \x80", "caf\xc3\xa9 \xe2\x82\xac" },
    };
    for (const BytesCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.codec && !QStringDecoder(c.codec).isValid()) {
            ADD_FAILURE() << "no " << c.codec << " decoder in this Qt";
            continue;
        }
        QTextDocument doc;
        rtf::readBytes(c.rtf, &doc);
        EXPECT_EQ(rtf::plainText(doc), QString::fromUtf8(c.plain));
        // Stored texts are read as text; their escapes decode the same way.
        const bool ascii = std::all_of(c.rtf.begin(), c.rtf.end(), [](char b) { return (b & 0x80) == 0; });
        if (ascii) {
            EXPECT_EQ(rtf::toPlainText(QString::fromLatin1(c.rtf)), QString::fromUtf8(c.plain));
        }
    }
}

TEST(RtfRead, TextWithoutASizeIsTwelvePoints)
{
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("Arial"), 9));
    rtf::read(QStringLiteral("{\\rtf1 a\\fs20 b\\plain c}"), &doc);
    const QList<QList<Span>> s = spans(doc);
    ASSERT_EQ(s.size(), 1);
    ASSERT_EQ(s[0].size(), 3);
    EXPECT_EQ(s[0][0].points, 12);
    EXPECT_EQ(s[0][1].points, 10);
    EXPECT_EQ(s[0][2].points, 12);
    // Plain text is not RTF: it keeps the document's own size.
    rtf::read(QStringLiteral("plain"), &doc);
    EXPECT_EQ(spans(doc)[0][0].points, 0);
}

TEST(RtfRead, PlainTextInput)
{
    QTextDocument doc;
    rtf::read(QStringLiteral("first\r\nsecond\rthird\nfourth\twith tab {not rtf}"), &doc);
    ASSERT_EQ(doc.blockCount(), 4);
    EXPECT_EQ(doc.findBlockByNumber(2).text(), QStringLiteral("third"));
    EXPECT_EQ(rtf::plainText(doc), QStringLiteral("first\r\nsecond\r\nthird\r\nfourth\twith tab {not rtf}"));
    EXPECT_EQ(rtf::toPlainText(QStringLiteral("a\nb\r\n\rc")), QStringLiteral("a\r\nb\r\n\r\nc"));

    // Loading replaces the content and cannot be undone.
    rtf::read(QStringLiteral("{\\rtf1 new}"), &doc);
    EXPECT_EQ(rtf::plainText(doc), QStringLiteral("new"));
    EXPECT_FALSE(doc.isUndoAvailable());
}

TEST(RtfRead, RecognisesRtf)
{
    const std::pair<const char*, bool> cases[] = {
        { "{\\rtf1\\ansi x}", true },
        { " \r\n\t{\\rtf1 x}", true },
        { "\xef\xbb\xbf{\\rtf1}", true },
        { "{\\rtf", true },
        { "{\\rt", false },
        { "rtf", false },
        { "", false },
        { "x {\\rtf1}", false },
        { "{\\RTF1}", false },
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(rtf::isRtf(QString::fromUtf8(text)), expected) << text;
}

TEST(RtfRead, HostileInputGivesTheReadableText)
{
    const ReadCase cases[] = {
        { "truncated", "{\\rtf1 {\\b bold", "bold" },
        { "too few closing braces", "{\\rtf1 a{{{b", "ab" },
        { "too many closing braces", "{\\rtf1 a}}} b}", "a b" },
        { "stray closing brace inside", "{\\rtf1 {\\b x}} y}", "x y" },
        { "backslash at the end", "{\\rtf1 x\\", "x" },
        { "word at the end", "{\\rtf1 x\\par", "x" },
        { "u at the end", "{\\rtf1 x\\u", "x" },
        { "negative u3", "{\\rtf1 \\u-3?}", "\xef\xbf\xbd" },
        { "u out of range", "{\\rtf1 \\u-99999?a\\u2000000?b}",
            "\xef\xbf\xbd"
            "a\xef\xbf\xbd"
            "b" },
        { "lone surrogates", "{\\rtf1 \\u-10179?x\\u-8704?}", "\xef\xbf\xbdx\xef\xbf\xbd" },
        { "nul and controls", "{\\rtf1 a\\u0?b\\'00\\'07\\'0ac\x01}", "abc" },
        { "frame markers and objects", "{\\rtf1 a\\u-560?\\u-559?\\u-4?b}", "ab" },
        { "bad hex", "{\\rtf1 \\'zz \\'4}", "zz 4" },
        { "hex at the end", "{\\rtf1 a\\'", "a" },
        { "bin past the end", "{\\rtf1 ok\\bin99999 abc}", "ok" },
        { "negative bin", "{\\rtf1 a\\bin-5 b}", "ab" },
        { "huge numbers", "{\\rtf1\\fs99999999999999999 a\\cf-4 b\\f99999999999 c\\uc99999999\\u233 d}",
            "abc\xc3\xa9" },
        { "very long word", "{\\rtf1 a\\aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa b}", "ab" },
        { "star without a word", "{\\rtf1 {\\* x}y}", " xy" },
        { "destination at document level", "{\\rtf1\\pict x}", "x" },
        { "white space after the document", "{\\rtf1 a}\r\n \r\n", "a" },
        { "font table without entries", "{\\rtf1{\\fonttbl;;}{\\colortbl\\red999;}\\f0\\cf1 x}", "x" },
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(plainOf(QString::fromLatin1(c.rtf)), QString::fromUtf8(c.plain));
    }
    // Some writers pad the file with NUL after the closing brace.
    EXPECT_EQ(plainOf(QStringLiteral("{\\rtf1 a\\par}") + QChar(0) + QChar(0)), QStringLiteral("a"));
}

TEST(RtfRead, DeepNestingIsCappedWithoutLosingText)
{
    const int depth = 5000;
    const QString open = QStringLiteral("{\\b").repeated(depth);
    const QString close = QStringLiteral("}").repeated(depth);

    QTextDocument doc;
    rtf::read(QStringLiteral("{\\rtf1 ") + open + QStringLiteral(" deep") + close + QStringLiteral(" after}"), &doc);
    const QList<QList<Span>> s = spans(doc);
    ASSERT_EQ(s.size(), 1);
    ASSERT_EQ(s[0].size(), 2);
    EXPECT_EQ(s[0][0].text, QStringLiteral("deep"));
    EXPECT_TRUE(s[0][0].bold);
    EXPECT_EQ(s[0][1].text, QStringLiteral(" after"));
    EXPECT_FALSE(s[0][1].bold);

    EXPECT_EQ(plainOf(QStringLiteral("{\\rtf1 ") + QStringLiteral("{").repeated(depth) + QStringLiteral("unclosed")),
        QStringLiteral("unclosed"));
    // A skipped group beyond the cap still hides only itself.
    EXPECT_EQ(plainOf(QStringLiteral("{\\rtf1 ") + QStringLiteral("{").repeated(1500)
                  + QStringLiteral("{\\*\\x hidden{more}}shown") + QStringLiteral("}").repeated(1500)
                  + QStringLiteral(" end}")),
        QStringLiteral("shown end"));
}

TEST(RtfRead, LongInput)
{
    const int count = 200000;
    QString body;
    for (int i = 0; i < count; ++i)
        body += (i % 2 ? QStringLiteral("\\b x\\b0 ") : QStringLiteral("y"));
    const QString input = QStringLiteral("{\\rtf1 ") + body + QStringLiteral("}");
    EXPECT_EQ(rtf::toPlainText(input).size(), count);
    // One paragraph of many runs: loading must not lay the paragraph out again for each of them.
    QTextDocument runs;
    rtf::read(input, &runs);
    EXPECT_EQ(runs.characterCount() - 1, count);

    const QString plain = QStringLiteral("word ").repeated(400000);
    QTextDocument doc;
    rtf::read(rtf::fromPlainText(plain), &doc);
    EXPECT_EQ(rtf::plainText(doc), plain);
    EXPECT_EQ(doc.defaultTextOption().wrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);

    // A word longer than any line wraps anywhere, which keeps its layout linear; the next text
    // wraps at word boundaries again.
    rtf::read(QStringLiteral("{\\rtf1 a ") + QString(1001, QChar(u'x')) + QStringLiteral("}"), &doc);
    EXPECT_EQ(doc.defaultTextOption().wrapMode(), QTextOption::WrapAnywhere);
    rtf::read(QStringLiteral("a ") + QStringLiteral("x").repeated(1000) + QStringLiteral(" b"), &doc);
    EXPECT_EQ(doc.defaultTextOption().wrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
}

// The start of a text, as captions and the editor read it, is the start of the whole text at
// every length: paragraph ends, line breaks, surrogate pairs and dropped characters included.
TEST(RtfRead, LeadingPartIsTheStartOfTheWholeText)
{
    const QString texts[] = {
        QStringLiteral("{\\rtf1 a\\par b\\par\r\n}"),
        QStringLiteral("{\\rtf1 a\\par }\r\n"),
        QStringLiteral("{\\rtf1 ab\\par\\par}"),
        QStringLiteral("{\\rtf1 a\\par\\par\\par x\\par}"),
        QStringLiteral("{\\rtf1 a\\par\\pard}"),
        QStringLiteral("{\\rtf1 a\\tab b\\line c\\line\\line d}"),
        QStringLiteral("{\\rtf1\\uc1 \\u233\\'e9 x\\u-10179?\\u-8704?y\\u-10179?}"),
        QStringLiteral("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}\\f0\\cf1 "
                       "{\\b bold}{\\*\\x skipped} plain\\v hidden\\v0 end\\par}"),
        QStringLiteral("{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0\\'ce\\'c4 a\\u0?b\\'07c\\u8233?d}"),
        QStringLiteral("{\\rtf1 \\trowd a\\cell b\\cell\\row c}\r\n \r\n"),
        QStringLiteral("{\\rtf1 {\\b x"),
        QStringLiteral("{\\rtf1 ") + QStringLiteral("long\\b  text\\b0 ").repeated(50) + QStringLiteral("}"),
        QStringLiteral("a\nb\r\n\rc\r\n"),
        QStringLiteral("\r\n\r\nx\ty") + QChar(0x2028) + QStringLiteral("z") + QChar(0x2029),
        QStringLiteral("ab") + QChar(7) + QChar(0xfffc) + QStringLiteral("c") + QString::fromUtf8("\xf0\x9f\x98\x80")
            + QChar(0xd83d) + QStringLiteral("d"),
        QString(),
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        const QString whole = rtf::toPlainText(text);
        for (qsizetype n = 0; n <= whole.size() + 2; ++n) {
            SCOPED_TRACE(n);
            ASSERT_EQ(rtf::toPlainText(text, n), whole.left(n));
            QTextDocument doc;
            const bool cut = rtf::readLeading(text, &doc, n);
            ASSERT_EQ(cut, whole.size() > n);
            const QString shown = rtf::plainText(doc);
            if (cut) {
                ASSERT_TRUE(whole.startsWith(shown));
                ASSERT_GE(shown.size(), n - 2);
            } else {
                ASSERT_EQ(shown, whole);
            }
        }
    }
}

// Every input reads without crashing into clean text, and what is read writes out as RTF that
// reads back to the same text.
TEST(RtfRead, FuzzedInputStaysReadable)
{
    std::mt19937 random(20240611);
    const QStringList tokens = {
        "{",
        "}",
        "{\\rtf1 ",
        "\\b ",
        "\\b0 ",
        "\\i",
        "\\ul",
        "\\ulnone",
        "\\par ",
        "\\par}",
        "\\line",
        "\\tab",
        "\\u-10179?",
        "\\u-8704?",
        "\\u233",
        "\\u",
        "\\uc0",
        "\\uc3 ",
        "\\'e9",
        "\\'",
        "\\'8",
        "\\bin3 ",
        "\\bin",
        "\\*",
        "\\fonttbl",
        "\\colortbl",
        "\\red255",
        ";",
        "\\f1 ",
        "\\fs30",
        "\\cf2",
        "\\pict ",
        "\\plain",
        "text",
        " ",
        "\\\\",
        "\\{",
        "\\}",
        "\\~",
        "\\-",
        "\\",
        "\r\n",
        "\\v",
        "\\qc",
        "\\pard",
        "\\field",
    };
    QTextDocument seedDoc;
    QTextCursor c(&seedDoc);
    c.insertText(QString::fromUtf8("Hello \xe2\x82\xac {x}\t"), format("Arial", 10, true));
    c.insertBlock();
    c.insertText(QString::fromUtf8("\xf0\x9f\x98\x80 end"), format("Times", 12, false, true, true, Qt::red));
    const QString seed = rtf::write(seedDoc);

    for (int round = 0; round < 3000; ++round) {
        QString input;
        switch (round % 3) {
        case 0: { // random characters, mostly bytes as a Latin-1 file would give
            const int size = int(random() % 200);
            for (int i = 0; i < size; ++i) {
                input += random() % 10 ? QChar(char16_t(random() % 256)) : QChar(char16_t(random() % 0x10000));
            }
            if (random() % 2)
                input.prepend(QStringLiteral("{\\rtf1 "));
            break;
        }
        case 1: { // RTF token soup
            input = QStringLiteral("{\\rtf1");
            const int size = int(random() % 60);
            for (int i = 0; i < size; ++i)
                input += tokens.at(qsizetype(random() % tokens.size()));
            break;
        }
        default: { // our own output, damaged
            input = seed;
            const int edits = 1 + int(random() % 8);
            for (int i = 0; i < edits && !input.isEmpty(); ++i) {
                const qsizetype at = qsizetype(random() % input.size());
                switch (random() % 3) {
                case 0:
                    input.remove(at, 1 + qsizetype(random() % 6));
                    break;
                case 1:
                    input.insert(at, tokens.at(qsizetype(random() % tokens.size())));
                    break;
                default:
                    input[at] = QChar(char16_t(random() % 128));
                    break;
                }
            }
            break;
        }
        }
        SCOPED_TRACE(input.toStdString());
        QTextDocument doc;
        rtf::read(input, &doc);
        const QString text = rtf::plainText(doc);
        ASSERT_TRUE(isCleanPlainText(text));
        ASSERT_EQ(rtf::toPlainText(input), text);
        const qsizetype n = qsizetype(random() % (text.size() + 2));
        ASSERT_EQ(rtf::toPlainText(input, n), text.left(n)) << n;
        const QString stored = rtf::write(doc);
        ASSERT_TRUE(isWellFormed(stored)) << stored.toStdString();
        QTextDocument again;
        rtf::read(stored, &again);
        ASSERT_EQ(rtf::plainText(again), text);
        ASSERT_EQ(rtf::write(again), stored);
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
