// RTF for question texts.
//
// Supported when writing: paragraphs (\pard ... \par, alignment \ql \qc \qr \qj), bold, italic,
// underline, strike-out, font family (\fonttbl), point size (\fs, half-points), text colour
// (\colortbl, \cf), tabs, line breaks (\line), non-breaking space and hyphen, soft hyphen, and
// every other character as \uN? (UTF-16 units, surrogate pairs as two units). Nothing else of a
// QTextDocument (images, tables, lists, links) is written.
//
// Supported when reading: the same words, plus \plain, \v (hidden text is dropped), \cell and \row
// (tab and paragraph break), \sect and \page (paragraph break), the typographic symbol words
// (\emdash, \lquote, ...), \'hh in the document's code page (\ansicpg, or the font's \fcharset /
// \cpg; windows-1252 is built in, other code pages need a decoder from Qt), \uN with \ucN
// fallback skipping, and \bin N. Destinations that are not body text (font and colour tables are
// read, stylesheets, document info, pictures, objects, headers, footers, footnotes, field
// instructions and every {\* ...} group) are skipped. Anything else is ignored word by word, so
// malformed input still gives the text it contains. Groups nest up to 1000 levels; deeper ones
// share their parent's state. Text without \fs is 12 pt, as RTF has it; text without \f (and no
// \deff) keeps the document's default family. Plain text keeps the document's default font.
//
// Paragraph count: the writer puts no \par after the last paragraph and opens every paragraph
// with \pard; the reader drops the empty paragraph that a final \par would open when nothing but
// white space and closing braces follows it. A line break (\line) is U+2028 inside a paragraph,
// and a CR LF in plain text.
//
// Both directions go through a small content model (paragraphs of styled runs), so the plain text
// helpers do not need a QTextDocument.

#include "platform/Rtf.h"

#include "platform/CodePages.h"
#include "platform/TextUtil.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <array>
#include <climits>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace rtf {
namespace {

// ---------------------------------------------------------------------------------------------
// Content model

struct Style {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QString family; // empty: the document's default font
    int halfPoints = 0; // 0: the document's default size
    QColor color; // invalid: the automatic text colour

    bool operator==(const Style&) const = default;
};

struct Run {
    Style style;
    QString text;
};

struct Paragraph {
    Qt::Alignment alignment = Qt::AlignLeft;
    Style mark; // the paragraph mark's format: what an empty paragraph shows and keeps
    QList<Run> runs;
};

using Content = QList<Paragraph>;

constexpr int kMaxHalfPoints = 3276; // 1638 pt, the largest size word processors accept

// Characters a QTextDocument must not be given as text: C0 controls would show as boxes,
// U+2029 would split the block, U+FDD0/U+FDD1 mark frames and U+FFFC stands for an object.
bool isStorable(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x20)
        return u == u'\t';
    return u != 0x7f && u != 0x2029 && u != 0xfdd0 && u != 0xfdd1 && u != 0xfffc;
}

// A surrogate without its partner cannot be shown or stored in UTF-8 later on.
QString withPairedSurrogates(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            text[i] = QChar::ReplacementCharacter;
        }
    }
    return text;
}

// Font names are written between a word and ';' and read without the words for tab or line.
bool isFontNameCharacter(QChar c)
{
    return isStorable(c) && c != u'\t' && c != u';' && c != QChar::LineSeparator;
}

QString storableText(QStringView text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        if (isStorable(c))
            kept.append(c);
    }
    return kept;
}

// Lines split at CR LF, CR or LF; U+2029 counts as a line end too, since it cannot be kept.
Content plainContent(QStringView text)
{
    Content content;
    qsizetype start = 0;
    for (qsizetype i = 0;; ++i) {
        const bool atEnd = i >= text.size();
        const QChar c = atEnd ? QChar() : text.at(i);
        if (!atEnd && c != u'\r' && c != u'\n' && c != QChar::ParagraphSeparator)
            continue;
        Paragraph paragraph;
        const QString line = withPairedSurrogates(storableText(text.mid(start, i - start)));
        if (!line.isEmpty())
            paragraph.runs.append(Run { Style {}, line });
        content.append(paragraph);
        if (atEnd)
            break;
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    return content;
}

// The length of the shortest start of a plain text whose lines give more than maxChars
// characters of plain text; the whole length when they never do.
qsizetype plainPrefixPastLimit(QStringView text, qsizetype maxChars)
{
    qsizetype length = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\n' && i > 0 && text.at(i - 1) == u'\r')
            continue;
        if (c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            length += 2;
        else if (isStorable(c))
            ++length;
        if (length > maxChars)
            return i + 1;
    }
    return text.size();
}

// Keeps the first maxChars characters of the content's plain text (a line break and each
// paragraph end counted as CR LF), never half a surrogate pair; true when something was cut.
bool cutContent(Content& content, qsizetype maxChars)
{
    qsizetype length = 0;
    for (qsizetype p = 0; p < content.size(); ++p) {
        if (p > 0)
            length += 2;
        if (length > maxChars) {
            content.resize(p);
            return true;
        }
        QList<Run>& runs = content[p].runs;
        for (qsizetype r = 0; r < runs.size(); ++r) {
            QString& text = runs[r].text;
            qsizetype keep = 0;
            while (keep < text.size()) {
                const qsizetype next = length + (text.at(keep) == QChar::LineSeparator ? 2 : 1);
                if (next > maxChars)
                    break;
                length = next;
                ++keep;
            }
            if (keep == text.size())
                continue;
            if (keep > 0 && text.at(keep - 1).isHighSurrogate())
                --keep;
            text.truncate(keep);
            runs.resize(keep > 0 ? r + 1 : r);
            content.resize(p + 1);
            return true;
        }
    }
    return false;
}

QString plainTextOf(const Content& content)
{
    QStringList lines;
    lines.reserve(content.size());
    for (const Paragraph& paragraph : content) {
        QString line;
        for (const Run& run : paragraph.runs)
            line += run.text;
        lines.append(line.replace(QChar::LineSeparator, QStringLiteral("\r\n")));
    }
    return lines.join(QStringLiteral("\r\n"));
}

// ---------------------------------------------------------------------------------------------
// Code pages

// 0 means "the document's code page".
int codePageOfCharset(int charset)
{
    static constexpr std::array<std::pair<int, int>, 15> kCodePages = { { { 77, 10000 }, { 128, 932 }, { 129, 949 },
        { 134, 936 }, { 136, 950 }, { 161, 1253 }, { 162, 1254 }, { 163, 1258 }, { 177, 1255 }, { 178, 1256 },
        { 186, 1257 }, { 204, 1251 }, { 222, 874 }, { 238, 1250 }, { 255, 437 } } };
    for (const auto& [set, codePage] : kCodePages) {
        if (set == charset)
            return codePage;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Reader

enum class Word {
    Unknown,
    // where text goes
    FontTable,
    ColorTable,
    SkippedDestination,
    // body text
    Paragraph,
    Character, // the entry's character
    Unicode,
    UnicodeSkip,
    Binary,
    // character format
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    StrikeOut,
    Hidden,
    Plain,
    Font,
    FontSize,
    Color,
    // paragraph format
    ParagraphDefaults,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    // document and tables
    DefaultFont,
    AnsiCodePage,
    Ansi,
    Mac,
    Pc,
    Pca,
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
};

struct WordEntry {
    Word word = Word::Unknown;
    char16_t character = 0;
};

const WordEntry& lookUp(std::string_view name)
{
    static const std::unordered_map<std::string_view, WordEntry> table = [] {
        std::unordered_map<std::string_view, WordEntry> t = {
            { "fonttbl", { Word::FontTable } },
            { "colortbl", { Word::ColorTable } },
            { "par", { Word::Paragraph } },
            { "sect", { Word::Paragraph } },
            { "page", { Word::Paragraph } },
            { "row", { Word::Paragraph } },
            { "nestrow", { Word::Paragraph } },
            { "line", { Word::Character, 0x2028 } },
            { "tab", { Word::Character, u'\t' } },
            { "cell", { Word::Character, u'\t' } },
            { "nestcell", { Word::Character, u'\t' } },
            { "emdash", { Word::Character, 0x2014 } },
            { "endash", { Word::Character, 0x2013 } },
            { "emspace", { Word::Character, 0x2003 } },
            { "enspace", { Word::Character, 0x2002 } },
            { "qmspace", { Word::Character, 0x2005 } },
            { "bullet", { Word::Character, 0x2022 } },
            { "lquote", { Word::Character, 0x2018 } },
            { "rquote", { Word::Character, 0x2019 } },
            { "ldblquote", { Word::Character, 0x201c } },
            { "rdblquote", { Word::Character, 0x201d } },
            { "zwbo", { Word::Character, 0x200b } },
            { "zwnj", { Word::Character, 0x200c } },
            { "zwj", { Word::Character, 0x200d } },
            { "ltrmark", { Word::Character, 0x200e } },
            { "rtlmark", { Word::Character, 0x200f } },
            { "u", { Word::Unicode } },
            { "uc", { Word::UnicodeSkip } },
            { "bin", { Word::Binary } },
            { "b", { Word::Bold } },
            { "i", { Word::Italic } },
            { "ul", { Word::Underline } },
            { "ulnone", { Word::UnderlineNone } },
            { "strike", { Word::StrikeOut } },
            { "striked", { Word::StrikeOut } },
            { "v", { Word::Hidden } },
            { "plain", { Word::Plain } },
            { "f", { Word::Font } },
            { "fs", { Word::FontSize } },
            { "cf", { Word::Color } },
            { "pard", { Word::ParagraphDefaults } },
            { "ql", { Word::AlignLeft } },
            { "qc", { Word::AlignCenter } },
            { "qr", { Word::AlignRight } },
            { "qj", { Word::AlignJustify } },
            { "deff", { Word::DefaultFont } },
            { "ansicpg", { Word::AnsiCodePage } },
            { "ansi", { Word::Ansi } },
            { "mac", { Word::Mac } },
            { "pc", { Word::Pc } },
            { "pca", { Word::Pca } },
            { "fcharset", { Word::FontCharset } },
            { "cpg", { Word::FontCodePage } },
            { "red", { Word::Red } },
            { "green", { Word::Green } },
            { "blue", { Word::Blue } },
        };
        // The underline kinds all show as an underline here.
        for (const std::string_view name : { "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash",
                 "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave" }) {
            t.emplace(name, WordEntry { Word::Underline });
        }
        // Destinations written without {\* ...} whose content is not body text.
        for (const std::string_view name :
            { "stylesheet", "info", "pict", "object", "header", "headerl", "headerr", "headerf", "footer", "footerl",
                "footerr", "footerf", "footnote", "annotation", "atnid", "atnauthor", "atndate", "atnref", "atnparent",
                "fldinst", "filetbl", "listtable", "listoverridetable", "revtbl", "rsidtbl", "xmlnstbl", "themedata",
                "colorschememapping", "datastore", "latentstyles", "generator", "author", "operator", "title",
                "subject", "keywords", "comment", "doccomm", "company", "manager", "category", "hlinkbase", "creatim",
                "revtim", "printim", "buptim", "private", "txe", "xe", "tc", "rxe", "bkmkstart", "bkmkend", "shp",
                "shpinst", "shppict", "nonshppict", "objdata", "objclass", "objname", "objalias", "objsect", "objtime",
                "template", "docvar", "userprops", "pgdsctbl", "ftnsep", "ftnsepc", "ftncn", "aftnsep", "aftnsepc",
                "aftncn", "pn", "pntxta", "pntxtb", "falt", "panose", "fname", "fontemb", "fontfile", "do", "mmathPr",
                "passwordhash", "protusertbl", "wgrffmtfilter", "listpicture" }) {
            t.emplace(name, WordEntry { Word::SkippedDestination });
        }
        return t;
    }();
    static const WordEntry unknown;
    const auto it = table.find(name);
    return it == table.end() ? unknown : it->second;
}

enum class Destination { Body, FontTable, ColorTable, Skipped };

// The character format as the reader tracks it: fonts and colours as table indexes, resolved
// once the whole input is read.
struct CharState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int font = -1;
    int halfPoints = 24; // RTF's size where a document gives no \fs: 12 pt
    int color = 0;

    bool operator==(const CharState&) const = default;
};

// What a group inherits from its parent and gives back when it closes.
struct GroupState {
    Destination destination = Destination::Body;
    CharState chars;
    bool hidden = false;
    Qt::Alignment alignment = Qt::AlignLeft;
    int unicodeSkip = 1;
};

struct RawRun {
    CharState chars;
    QString text;
};

struct RawParagraph {
    Qt::Alignment alignment = Qt::AlignLeft;
    CharState mark;
    QList<RawRun> runs;
};

class Parser {
public:
    // With bytesInput, input holds the bytes of an RTF source one per character (Latin-1), and
    // bytes outside ASCII in the text are characters of the document's code page, as \'hh are.
    explicit Parser(QStringView input, bool bytesInput = false)
        : in_(input)
        , bytesInput_(bytesInput)
    {
        stack_.reserve(kMaxDepth);
        stack_.emplace_back();
        paragraphs_.append(RawParagraph {});
    }

    // Reading stops once the plain text holds more than maxChars characters for certain (CR LF
    // counted as two); the paragraphs read so far then begin as those of the whole input do.
    void setLimit(qsizetype maxChars) { limit_ = maxChars; }

    Content parse()
    {
        while (pos_ < in_.size() && !pastLimit()) {
            const QChar c = in_.at(pos_);
            if (c == u'\\') {
                readControl();
                continue;
            }
            // Line breaks of the source are not text: the bytes of one character may stand on
            // both sides of one.
            if (c == u'\r' || c == u'\n') {
                ++pos_;
                continue;
            }
            if (c == u'{' || c == u'}') {
                flushBytes();
                starPending_ = false;
                ++pos_;
                if (c == u'{')
                    openGroup();
                else
                    closeGroup();
            } else {
                starPending_ = false;
                readText();
            }
        }
        flushBytes();
        return finish();
    }

private:
    // Deeper groups share their parent's state: real documents stay far below this, and a fixed
    // cap keeps hostile input from growing the stack without bound.
    static constexpr std::size_t kMaxDepth = 1000;
    // \ucN beyond this is not meaningful and would swallow the text that follows.
    static constexpr int kMaxUnicodeSkip = 16;

    struct Font {
        QString name;
        int codePage = 0;
    };

    GroupState& state() { return stack_.back(); }

    // The plain text length that later input can no longer change: a paragraph break that
    // nothing has followed yet may still be the final one that is dropped.
    qsizetype certainLength() const { return produced_ - (lastWasParagraphEnd_ ? 2 : 0); }
    bool pastLimit() const { return limit_ >= 0 && certainLength() > limit_; }

    Destination destination() const { return overflowSkipFrom_ > 0 ? Destination::Skipped : stack_.back().destination; }

    // ---- tokens

    void readText()
    {
        const qsizetype start = pos_;
        while (pos_ < in_.size()) {
            const QChar c = in_.at(pos_);
            if (c == u'\\' || c == u'{' || c == u'}' || c == u'\r' || c == u'\n')
                break;
            ++pos_;
        }
        QStringView chunk = in_.mid(start, pos_ - start);
        const qsizetype skipped = std::min<qsizetype>(pendingSkip_, chunk.size());
        pendingSkip_ -= static_cast<int>(skipped);
        chunk = chunk.mid(skipped);
        if (!bytesInput_) {
            flushBytes();
            if (!chunk.isEmpty())
                text(chunk);
            return;
        }
        while (!chunk.isEmpty()) {
            qsizetype ascii = 0;
            while (ascii < chunk.size() && chunk.at(ascii).unicode() < 0x80)
                ++ascii;
            if (ascii > 0) {
                flushBytes();
                text(chunk.left(ascii));
                chunk = chunk.mid(ascii);
            }
            qsizetype high = 0;
            while (high < chunk.size() && chunk.at(high).unicode() >= 0x80)
                ++high;
            if (high > 0) {
                appendBytes(chunk.left(high));
                chunk = chunk.mid(high);
            }
        }
    }

    void appendBytes(QStringView latin1)
    {
        const Destination d = destination();
        if (d != Destination::Body && d != Destination::FontTable)
            return;
        for (const QChar c : latin1)
            bytes_.append(static_cast<char>(c.unicode()));
    }

    void readControl()
    {
        ++pos_; // the backslash
        if (pos_ >= in_.size())
            return;
        const QChar first = in_.at(pos_);
        if (isAsciiLetter(first)) {
            readControlWord();
            return;
        }
        ++pos_;
        if (first == u'\'') {
            readHexByte();
            return;
        }
        flushBytes();
        if (first != u'*')
            starPending_ = false;
        if (consumeSkip())
            return;
        controlSymbol(first);
    }

    void readControlWord()
    {
        const qsizetype start = pos_;
        while (pos_ < in_.size() && isAsciiLetter(in_.at(pos_)))
            ++pos_;
        // Names longer than the 32 letters RTF allows are not words of ours.
        std::string name;
        if (pos_ - start <= 32) {
            for (const QChar c : in_.mid(start, pos_ - start))
                name.push_back(static_cast<char>(c.unicode()));
        }
        bool negative = false;
        if (pos_ + 1 < in_.size() && in_.at(pos_) == u'-' && isAsciiDigit(in_.at(pos_ + 1))) {
            negative = true;
            ++pos_;
        }
        bool hasParam = false;
        qint64 value = 0;
        while (pos_ < in_.size() && isAsciiDigit(in_.at(pos_))) {
            hasParam = true;
            value = std::min<qint64>(value * 10 + (in_.at(pos_).unicode() - u'0'), INT_MAX);
            ++pos_;
        }
        if (pos_ < in_.size() && in_.at(pos_) == u' ')
            ++pos_;
        const int param = static_cast<int>(negative ? -value : value);

        flushBytes();
        const WordEntry& entry = lookUp(name);
        // Binary data is never text, whatever the destination or a pending \uN fallback.
        if (entry.word == Word::Binary) {
            if (param > 0)
                pos_ += std::min<qsizetype>(param, in_.size() - pos_);
            consumeSkip();
            starPending_ = false;
            return;
        }
        if (consumeSkip()) {
            starPending_ = false;
            return;
        }
        controlWord(entry, hasParam, param);
    }

    void readHexByte()
    {
        starPending_ = false;
        const int high = pos_ < in_.size() ? hexValue(in_.at(pos_)) : -1;
        const int low = pos_ + 1 < in_.size() ? hexValue(in_.at(pos_ + 1)) : -1;
        // A broken escape is dropped; what follows it is read as text.
        if (high < 0 || low < 0) {
            flushBytes();
            return;
        }
        pos_ += 2;
        if (consumeSkip())
            return;
        const QChar byte(char16_t(high * 16 + low));
        appendBytes(QStringView(&byte, 1));
    }

    // Bytes are collected so that multi-byte code pages decode whole characters.
    void flushBytes()
    {
        if (bytes_.isEmpty())
            return;
        int codePage = 0;
        if (destination() == Destination::FontTable) {
            codePage = fontCodePage_;
        } else if (const auto it = fonts_.constFind(state().chars.font); it != fonts_.cend()) {
            codePage = it->codePage;
        }
        const QString decoded = codepage::decode(bytes_, codePage > 0 ? codePage : ansiCodePage_);
        bytes_.clear();
        text(decoded);
    }

    // True when the token is one of the fallback characters after \uN.
    bool consumeSkip()
    {
        if (pendingSkip_ <= 0)
            return false;
        --pendingSkip_;
        return true;
    }

    // ---- groups

    void openGroup()
    {
        pendingSkip_ = 0;
        if (stack_.size() >= kMaxDepth) {
            ++overflow_;
        } else {
            stack_.push_back(stack_.back());
        }
    }

    void closeGroup()
    {
        pendingSkip_ = 0;
        if (overflow_ > 0) {
            if (overflow_ == overflowSkipFrom_)
                overflowSkipFrom_ = 0;
            --overflow_;
            return;
        }
        // A stray closing brace has nothing to close.
        if (stack_.size() <= 1)
            return;
        if (state().destination == Destination::FontTable)
            commitFont();
        stack_.pop_back();
    }

    void enterDestination(Destination d)
    {
        if (overflow_ > 0) {
            // Only skipping can be honoured without a group state of its own.
            if (overflowSkipFrom_ == 0)
                overflowSkipFrom_ = overflow_;
            return;
        }
        // The document group itself always holds the body, however broken the input.
        if (stack_.size() <= 2)
            return;
        state().destination = d;
    }

    // ---- dispatch

    void text(QStringView chunk)
    {
        switch (destination()) {
        case Destination::Body:
            bodyText(chunk);
            break;
        case Destination::FontTable:
            fontTableText(chunk);
            break;
        case Destination::ColorTable:
            colorTableText(chunk);
            break;
        case Destination::Skipped:
            break;
        }
    }

    void controlSymbol(QChar symbol)
    {
        QChar character;
        switch (symbol.unicode()) {
        case u'\\':
        case u'{':
        case u'}':
            character = symbol;
            break;
        case u'~':
            character = QChar(0x00a0);
            break;
        case u'-':
            character = QChar(0x00ad);
            break;
        case u'_':
            character = QChar(0x2011);
            break;
        case u'*':
            starPending_ = true;
            return;
        case u'\r':
        case u'\n':
            if (destination() == Destination::Body)
                breakParagraph();
            return;
        default:
            return;
        }
        text(QStringView(&character, 1));
    }

    void controlWord(const WordEntry& entry, bool hasParam, int param)
    {
        if (starPending_) {
            starPending_ = false;
            // {\* ...} marks a destination that may be skipped unless it is one we read.
            if (entry.word != Word::FontTable && entry.word != Word::ColorTable) {
                enterDestination(Destination::Skipped);
                return;
            }
        }
        if (destination() == Destination::Skipped)
            return;
        switch (entry.word) {
        case Word::FontTable:
            enterDestination(Destination::FontTable);
            return;
        case Word::ColorTable:
            enterDestination(Destination::ColorTable);
            return;
        case Word::SkippedDestination:
            enterDestination(Destination::Skipped);
            return;
        case Word::UnicodeSkip:
            if (hasParam)
                state().unicodeSkip = std::clamp(param, 0, kMaxUnicodeSkip);
            return;
        case Word::Unicode:
            if (hasParam) {
                unicode(param);
                pendingSkip_ = state().unicodeSkip;
            }
            return;
        default:
            break;
        }
        switch (destination()) {
        case Destination::Body:
            bodyWord(entry, hasParam, param);
            break;
        case Destination::FontTable:
            fontTableWord(entry.word, hasParam, param);
            break;
        case Destination::ColorTable:
            colorTableWord(entry.word, param);
            break;
        case Destination::Skipped:
            break;
        }
    }

    void unicode(int param)
    {
        // RTF writes units above 32767 as negative numbers.
        const qint64 value = param < 0 ? qint64(param) + 65536 : param;
        char16_t units[2] = { 0xfffd, 0 };
        qsizetype count = 1;
        if (value >= 0 && value <= 0xffff) {
            units[0] = static_cast<char16_t>(value);
        } else if (value > 0xffff && value <= 0x10ffff) {
            // Some writers give whole code points; take them as such.
            units[0] = QChar::highSurrogate(static_cast<char32_t>(value));
            units[1] = QChar::lowSurrogate(static_cast<char32_t>(value));
            count = 2;
        }
        text(QStringView(units, count));
    }

    // ---- body

    void bodyWord(const WordEntry& entry, bool hasParam, int param)
    {
        GroupState& s = state();
        const bool on = !hasParam || param != 0;
        switch (entry.word) {
        case Word::Paragraph:
            breakParagraph();
            return;
        case Word::Character: {
            const QChar c(entry.character);
            bodyText(QStringView(&c, 1));
            return;
        }
        case Word::Bold:
            s.chars.bold = on;
            break;
        case Word::Italic:
            s.chars.italic = on;
            break;
        case Word::Underline:
            s.chars.underline = on;
            break;
        case Word::UnderlineNone:
            s.chars.underline = false;
            break;
        case Word::StrikeOut:
            s.chars.strikeOut = on;
            break;
        case Word::Hidden:
            s.hidden = on;
            break;
        case Word::Plain:
            s.chars = CharState {};
            s.chars.font = defaultFont_;
            s.hidden = false;
            break;
        case Word::Font:
            if (hasParam)
                s.chars.font = param;
            break;
        case Word::FontSize:
            if (hasParam && param > 0)
                s.chars.halfPoints = std::min(param, kMaxHalfPoints);
            break;
        case Word::Color:
            if (hasParam && param >= 0)
                s.chars.color = param;
            break;
        case Word::ParagraphDefaults:
        case Word::AlignLeft:
            s.alignment = Qt::AlignLeft;
            break;
        case Word::AlignCenter:
            s.alignment = Qt::AlignHCenter;
            break;
        case Word::AlignRight:
            s.alignment = Qt::AlignRight;
            break;
        case Word::AlignJustify:
            s.alignment = Qt::AlignJustify;
            break;
        case Word::DefaultFont:
            if (hasParam) {
                defaultFont_ = param;
                if (s.chars.font < 0)
                    s.chars.font = param;
            }
            break;
        case Word::AnsiCodePage:
            if (hasParam && param > 0)
                ansiCodePage_ = param;
            break;
        case Word::Ansi:
            ansiCodePage_ = 1252;
            break;
        case Word::Mac:
            ansiCodePage_ = 10000;
            break;
        case Word::Pc:
            ansiCodePage_ = 437;
            break;
        case Word::Pca:
            ansiCodePage_ = 850;
            break;
        default:
            break;
        }
        touchParagraph();
    }

    void bodyText(QStringView chunk)
    {
        if (state().hidden)
            return;
        // White space after the document's closing brace is not part of it.
        if (stack_.size() == 1 && chunk.trimmed().isEmpty())
            return;
        while (true) {
            const qsizetype end = chunk.indexOf(QChar::ParagraphSeparator);
            appendToRun(end < 0 ? chunk : chunk.left(end));
            if (end < 0)
                return;
            breakParagraph();
            chunk = chunk.mid(end + 1);
        }
    }

    void appendToRun(QStringView chunk)
    {
        if (limit_ >= 0)
            chunk = chunk.left(prefixPastLimit(chunk));
        const QString kept = storableText(chunk);
        if (kept.isEmpty())
            return;
        RawParagraph& paragraph = touchParagraph();
        if (paragraph.runs.isEmpty() || paragraph.runs.back().chars != state().chars) {
            paragraph.runs.append(RawRun { state().chars, QString() });
        }
        paragraph.runs.back().text += kept;
        produced_ += kept.size() + kept.count(QChar::LineSeparator);
    }

    // The length of the chunk's part that takes the plain text past the limit; all of it when
    // it does not get there. Text after a paragraph break makes the break certain.
    qsizetype prefixPastLimit(QStringView chunk) const
    {
        qsizetype length = produced_;
        for (qsizetype i = 0; i < chunk.size(); ++i) {
            if (!isStorable(chunk.at(i)))
                continue;
            length += chunk.at(i) == QChar::LineSeparator ? 2 : 1;
            if (length > limit_)
                return i + 1;
        }
        return chunk.size();
    }

    // A paragraph takes the paragraph and mark format in effect at its last word, as groups may
    // close before the \par or the end of input.
    RawParagraph& touchParagraph()
    {
        RawParagraph& paragraph = paragraphs_.back();
        paragraph.alignment = state().alignment;
        paragraph.mark = state().chars;
        lastWasParagraphEnd_ = false;
        return paragraph;
    }

    void breakParagraph()
    {
        touchParagraph();
        paragraphs_.append(RawParagraph { state().alignment, state().chars, {} });
        lastWasParagraphEnd_ = true;
        produced_ += 2;
    }

    // ---- tables

    void fontTableWord(Word word, bool hasParam, int param)
    {
        switch (word) {
        case Word::Font:
            commitFont();
            fontId_ = hasParam ? param : -1;
            fontCodePage_ = 0;
            break;
        case Word::FontCharset:
            fontCodePage_ = codePageOfCharset(param);
            break;
        case Word::FontCodePage:
            fontCodePage_ = param;
            break;
        default:
            break;
        }
    }

    void fontTableText(QStringView chunk)
    {
        for (const QChar c : chunk) {
            if (c == u';') {
                commitFont();
            } else if (isFontNameCharacter(c)) {
                fontName_.append(c);
            }
        }
    }

    void commitFont()
    {
        const QString name = fontName_.trimmed();
        fontName_.clear();
        if (fontId_ >= 0 && !name.isEmpty())
            fonts_.insert(fontId_, Font { withPairedSurrogates(name), fontCodePage_ });
    }

    void colorTableWord(Word word, int param)
    {
        const int component = std::clamp(param, 0, 255);
        switch (word) {
        case Word::Red:
            red_ = component;
            break;
        case Word::Green:
            green_ = component;
            break;
        case Word::Blue:
            blue_ = component;
            break;
        default:
            return;
        }
        colorGiven_ = true;
    }

    void colorTableText(QStringView chunk)
    {
        for (const QChar c : chunk) {
            if (c != u';')
                continue;
            // An entry without components is the automatic colour.
            colors_.append(colorGiven_ ? QColor(red_, green_, blue_) : QColor());
            red_ = green_ = blue_ = 0;
            colorGiven_ = false;
        }
    }

    // ---- result

    Style resolve(const CharState& chars) const
    {
        Style style;
        style.bold = chars.bold;
        style.italic = chars.italic;
        style.underline = chars.underline;
        style.strikeOut = chars.strikeOut;
        style.family = fonts_.value(chars.font).name;
        style.halfPoints = chars.halfPoints;
        style.color = colors_.value(chars.color);
        return style;
    }

    Content finish()
    {
        // "...\par}" ends the last paragraph rather than opening an empty one.
        if (lastWasParagraphEnd_ && paragraphs_.size() > 1 && paragraphs_.back().runs.isEmpty()) {
            paragraphs_.removeLast();
        }
        Content content;
        content.reserve(paragraphs_.size());
        for (const RawParagraph& raw : std::as_const(paragraphs_)) {
            Paragraph paragraph { raw.alignment, resolve(raw.mark), {} };
            for (const RawRun& run : raw.runs) {
                const Style style = resolve(run.chars);
                if (!paragraph.runs.isEmpty() && paragraph.runs.back().style == style) {
                    paragraph.runs.back().text += run.text;
                } else {
                    paragraph.runs.append(Run { style, run.text });
                }
            }
            for (Run& run : paragraph.runs)
                run.text = withPairedSurrogates(run.text);
            content.append(paragraph);
        }
        return content;
    }

    static bool isAsciiLetter(QChar c)
    {
        const char16_t u = c.unicode();
        return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
    }
    static bool isAsciiDigit(QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9'; }
    static int hexValue(QChar c)
    {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            return u - u'0';
        if (u >= u'a' && u <= u'f')
            return u - u'a' + 10;
        if (u >= u'A' && u <= u'F')
            return u - u'A' + 10;
        return -1;
    }

    QStringView in_;
    bool bytesInput_ = false;
    qsizetype pos_ = 0;

    std::vector<GroupState> stack_;
    int overflow_ = 0; // groups opened beyond kMaxDepth and not yet closed
    int overflowSkipFrom_ = 0; // the overflow level whose group is being skipped, or 0
    bool starPending_ = false;
    int pendingSkip_ = 0;
    QByteArray bytes_;

    int ansiCodePage_ = 1252;
    int defaultFont_ = -1;
    QHash<int, Font> fonts_;
    int fontId_ = -1;
    QString fontName_;
    int fontCodePage_ = 0;
    QList<QColor> colors_;
    int red_ = 0;
    int green_ = 0;
    int blue_ = 0;
    bool colorGiven_ = false;

    QList<RawParagraph> paragraphs_;
    bool lastWasParagraphEnd_ = false;
    // The length of the plain text read so far (paragraphs joined by CR LF, a line break counted
    // as CR LF), and the length past which reading stops; -1 for none.
    qsizetype produced_ = 0;
    qsizetype limit_ = -1;
};

// ---------------------------------------------------------------------------------------------
// Writer

class Writer {
public:
    QString write(const Content& content)
    {
        collectTables(content);
        out_ = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl");
        for (qsizetype i = 0; i < fonts_.size(); ++i) {
            out_ += QStringLiteral("{\\f%1\\fnil\\fcharset0").arg(i);
            delimit_ = true;
            QString name = fonts_.at(i);
            name.removeIf([](QChar c) { return !isFontNameCharacter(c); });
            text(name);
            out_ += QStringLiteral(";}");
        }
        out_ += QStringLiteral("}{\\colortbl;");
        for (const QColor& color : std::as_const(colors_)) {
            out_ += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(color.red()).arg(color.green()).arg(color.blue());
        }
        out_ += QStringLiteral("}\r\n");
        word(QStringLiteral("\\uc1"));

        for (qsizetype i = 0; i < content.size(); ++i) {
            const Paragraph& paragraph = content.at(i);
            // Every paragraph opens with \pard, so an empty last one is not mistaken for the end of
            // the one before it.
            if (i > 0)
                out_ += QStringLiteral("\\par\r\n");
            word(QStringLiteral("\\pard"));
            alignment(paragraph.alignment);
            for (const Run& run : paragraph.runs) {
                switchTo(run.style);
                text(run.text);
            }
            if (paragraph.runs.isEmpty())
                switchTo(paragraph.mark);
        }
        out_ += u'}';
        return out_;
    }

private:
    void collectTables(const Content& content)
    {
        auto add = [this](const Style& style) {
            if (!style.family.isEmpty() && !fontIndex_.contains(style.family)) {
                fontIndex_.insert(style.family, int(fonts_.size()));
                fonts_.append(style.family);
            }
            if (style.color.isValid() && !colorIndex_.contains(style.color.rgb())) {
                colorIndex_.insert(style.color.rgb(), int(colors_.size()));
                colors_.append(style.color);
            }
        };
        for (const Paragraph& paragraph : content) {
            for (const Run& run : paragraph.runs)
                add(run.style);
            if (paragraph.runs.isEmpty())
                add(paragraph.mark);
        }
    }

    void word(const QString& controlWord)
    {
        out_ += controlWord;
        delimit_ = true;
    }

    void alignment(Qt::Alignment a)
    {
        switch (a & Qt::AlignHorizontal_Mask & ~Qt::AlignAbsolute) {
        case Qt::AlignHCenter:
            word(QStringLiteral("\\qc"));
            break;
        case Qt::AlignRight:
            word(QStringLiteral("\\qr"));
            break;
        case Qt::AlignJustify:
            word(QStringLiteral("\\qj"));
            break;
        default:
            break;
        }
    }

    // Writes only what changes. A family or size that is not given keeps the one before, which is
    // only ever the document default: content either gives them everywhere or nowhere.
    void switchTo(const Style& style)
    {
        auto toggle = [this](bool from, bool to, const QString& onWord, const QString& offWord) {
            if (from != to)
                word(to ? onWord : offWord);
        };
        toggle(current_.bold, style.bold, QStringLiteral("\\b"), QStringLiteral("\\b0"));
        toggle(current_.italic, style.italic, QStringLiteral("\\i"), QStringLiteral("\\i0"));
        toggle(current_.underline, style.underline, QStringLiteral("\\ul"), QStringLiteral("\\ulnone"));
        toggle(current_.strikeOut, style.strikeOut, QStringLiteral("\\strike"), QStringLiteral("\\strike0"));
        if (!style.family.isEmpty() && style.family != current_.family) {
            word(QStringLiteral("\\f%1").arg(fontIndex_.value(style.family)));
            current_.family = style.family;
        }
        if (style.halfPoints > 0 && style.halfPoints != current_.halfPoints) {
            word(QStringLiteral("\\fs%1").arg(style.halfPoints));
            current_.halfPoints = style.halfPoints;
        }
        if (style.color != current_.color) {
            word(QStringLiteral("\\cf%1").arg(style.color.isValid() ? colorIndex_.value(style.color.rgb()) + 1 : 0));
            current_.color = style.color;
        }
        current_.bold = style.bold;
        current_.italic = style.italic;
        current_.underline = style.underline;
        current_.strikeOut = style.strikeOut;
    }

    void text(QStringView text)
    {
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            switch (u) {
            case u'\\':
            case u'{':
            case u'}':
                symbol(c);
                continue;
            case u'\t':
                word(QStringLiteral("\\tab"));
                continue;
            case 0x2028:
                word(QStringLiteral("\\line"));
                continue;
            case 0x00a0:
                symbol(u'~');
                continue;
            case 0x00ad:
                symbol(u'-');
                continue;
            case 0x2011:
                symbol(u'_');
                continue;
            default:
                break;
            }
            if (!isStorable(c))
                continue;
            if (u >= 0x20 && u < 0x7f) {
                if (delimit_)
                    out_ += u' ';
                out_ += c;
                delimit_ = false;
            } else {
                // One \uN per UTF-16 unit, negative above 32767 as RTF's signed 16-bit numbers require.
                out_ += QStringLiteral("\\u%1?").arg(u > 32767 ? int(u) - 65536 : int(u));
                delimit_ = false;
            }
        }
    }

    void symbol(QChar c)
    {
        out_ += u'\\';
        out_ += c;
        delimit_ = false;
    }

    QString out_;
    bool delimit_ = false; // the last thing written was a control word that text must not run into
    // The tables in order, and each entry's index.
    QStringList fonts_;
    QHash<QString, int> fontIndex_;
    QList<QColor> colors_;
    QHash<QRgb, int> colorIndex_;
    Style current_; // RTF's defaults: no family or size given, automatic colour
};

// ---------------------------------------------------------------------------------------------
// QTextDocument

Style styleOf(const QTextCharFormat& format, const QFont& base)
{
    const QFont font = format.font().resolve(base);
    Style style;
    style.bold = font.weight() >= QFont::DemiBold;
    style.italic = font.italic();
    if (format.hasProperty(QTextFormat::TextUnderlineStyle)) {
        // A spell checker's wavy line is not part of the text.
        const auto underline = format.underlineStyle();
        style.underline
            = underline != QTextCharFormat::NoUnderline && underline != QTextCharFormat::SpellCheckUnderline;
    } else {
        style.underline = font.underline();
    }
    style.strikeOut = font.strikeOut();
    style.family = font.family();
    qreal points = font.pointSizeF();
    if (points <= 0 && font.pixelSize() > 0)
        points = font.pixelSize() * 0.75; // at 96 dpi
    style.halfPoints = points > 0 ? std::clamp(qRound(points * 2), 1, kMaxHalfPoints) : 24;
    if (format.foreground().style() != Qt::NoBrush) {
        style.color = QColor::fromRgb(format.foreground().color().rgb());
    }
    return style;
}

Content contentOf(const QTextDocument& doc)
{
    const QFont base = doc.defaultFont();
    Content content;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        Paragraph paragraph;
        paragraph.alignment = block.blockFormat().alignment();
        paragraph.mark = styleOf(block.charFormat(), base);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid())
                paragraph.runs.append(Run { styleOf(fragment.charFormat(), base), fragment.text() });
        }
        content.append(paragraph);
    }
    return content;
}

// A property of our own that holds nothing but the family again, as text (see charFormatOf).
constexpr int kFamilyHashProperty = QTextFormat::UserProperty + 1;

QTextCharFormat charFormatOf(const Style& style)
{
    QTextCharFormat format;
    if (style.bold)
        format.setFontWeight(QFont::Bold);
    if (style.italic)
        format.setFontItalic(true);
    if (style.underline)
        format.setFontUnderline(true);
    if (style.strikeOut)
        format.setFontStrikeOut(true);
    if (!style.family.isEmpty()) {
        format.setFontFamilies(QStringList { style.family });
        // Qt hashes a format's string list to a constant, so with the list alone each new font
        // would be compared with every font before it; the family as text gives a real hash.
        format.setProperty(kFamilyHashProperty, style.family);
    }
    if (style.halfPoints > 0)
        format.setFontPointSize(style.halfPoints / 2.0);
    if (style.color.isValid())
        format.setForeground(style.color);
    return format;
}

QTextBlockFormat blockFormatOf(const Paragraph& paragraph)
{
    QTextBlockFormat format;
    if (paragraph.alignment != Qt::AlignLeft)
        format.setAlignment(paragraph.alignment);
    return format;
}

// True when a paragraph holds a word (characters between white space, across runs) longer than
// any line could show.
bool hasLongWord(const Content& content)
{
    constexpr qsizetype kLongestWord = 1000;
    for (const Paragraph& paragraph : content) {
        qsizetype word = 0;
        for (const Run& run : paragraph.runs) {
            for (const QChar c : run.text) {
                word = c.isSpace() ? 0 : word + 1;
                if (word > kLongestWord)
                    return true;
            }
        }
    }
    return false;
}

void fill(QTextDocument* doc, const Content& content)
{
    // Loading is not an edit the user could undo.
    const bool undoRedo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    // Breaking lines only between words would measure a very long word again for every line it
    // fills; such a text breaks anywhere. Set while the document is empty, it costs no layout.
    QTextOption option = doc->defaultTextOption();
    const QTextOption::WrapMode wrap
        = hasLongWord(content) ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (option.wrapMode() != wrap && option.wrapMode() != QTextOption::NoWrap) {
        option.setWrapMode(wrap);
        doc->setDefaultTextOption(option);
    }
    QTextCursor cursor(doc);
    // Outside an edit block every insertion lays out its block again, which is quadratic in the
    // number of runs of a paragraph.
    cursor.beginEditBlock();
    for (qsizetype i = 0; i < content.size(); ++i) {
        const Paragraph& paragraph = content.at(i);
        if (i == 0) {
            cursor.setBlockFormat(blockFormatOf(paragraph));
            cursor.setBlockCharFormat(charFormatOf(paragraph.mark));
        } else {
            cursor.insertBlock(blockFormatOf(paragraph), charFormatOf(paragraph.mark));
        }
        for (const Run& run : paragraph.runs)
            cursor.insertText(run.text, charFormatOf(run.style));
    }
    cursor.endEditBlock();
    doc->setUndoRedoEnabled(undoRedo);
}

Content contentOf(const QString& text)
{
    return isRtf(text) ? Parser(text).parse() : plainContent(text);
}

// The content of the text up to a little past maxChars characters of its plain text: it begins
// as the whole text's content does, and is longer than maxChars only when the whole text is.
Content leadingContentOf(const QString& text, qsizetype maxChars)
{
    maxChars = std::max<qsizetype>(maxChars, 0);
    if (!isRtf(text))
        return plainContent(QStringView(text).left(plainPrefixPastLimit(text, maxChars)));
    Parser parser(text);
    parser.setLimit(maxChars);
    return parser.parse();
}

} // namespace

bool isRtf(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text.at(i).isSpace() || text.at(i) == QChar::ByteOrderMark))
        ++i;
    return QStringView(text).mid(i).startsWith(u"{\\rtf");
}

void read(const QString& text, QTextDocument* doc)
{
    if (doc)
        fill(doc, contentOf(text));
}

bool readLeading(const QString& text, QTextDocument* doc, qsizetype maxChars)
{
    Content content = leadingContentOf(text, maxChars);
    const bool cut = cutContent(content, std::max<qsizetype>(maxChars, 0));
    if (doc)
        fill(doc, content);
    return cut;
}

void readBytes(const QByteArray& bytes, QTextDocument* doc)
{
    if (!doc)
        return;
    const QByteArray bom("\xef\xbb\xbf");
    const QString latin1 = QString::fromLatin1(bytes.startsWith(bom) ? bytes.mid(bom.size()) : bytes);
    fill(doc, isRtf(latin1) ? Parser(latin1, true).parse() : plainContent(codepage::utf8OrWindows1252(bytes)));
}

QString plainText(const QTextDocument& doc)
{
    QStringList lines;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QString line = block.text();
        line.remove(QChar::ObjectReplacementCharacter);
        lines.append(line.replace(QChar::LineSeparator, QStringLiteral("\r\n")));
    }
    return lines.join(QStringLiteral("\r\n"));
}

QString toPlainText(const QString& text)
{
    return plainTextOf(contentOf(text));
}

QString toPlainText(const QString& text, qsizetype maxChars)
{
    return plainTextOf(leadingContentOf(text, maxChars)).left(std::max<qsizetype>(maxChars, 0));
}

QString captionOf(const QString& text)
{
    return CaptionText(toPlainText(text, kCaptionLength + 1));
}

QString write(const QTextDocument& doc)
{
    return Writer().write(contentOf(doc));
}

QString fromPlainText(const QString& text)
{
    return Writer().write(plainContent(text));
}

} // namespace rtf
