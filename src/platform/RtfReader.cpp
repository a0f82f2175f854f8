// The RTF reader: a source into the content model (RtfModel.h).
//
// It reads the words the writer writes (RtfWriter.cpp), plus \plain, \v (hidden text is dropped),
// \cell and \row (tab and paragraph break), \sect and \page (paragraph break), the typographic
// symbol words (\emdash, \lquote, ...), \'hh in the document's code page (\ansicpg, or the font's
// \fcharset / \cpg; windows-1252 is built in, other code pages need a decoder from Qt), \uN with
// \ucN fallback skipping, and \bin N. Destinations that are not body text (font and colour tables
// are read, stylesheets, document info, pictures, objects, headers, footers, footnotes, field
// instructions and every {\* ...} group) are skipped. Anything else is ignored word by word, so
// malformed input still gives the text it contains. Groups nest up to 1000 levels; deeper ones
// share their parent's state. Text without \fs is 12 pt, as RTF has it; text without \f (and no
// \deff) keeps the document's default family.

#include "platform/RtfReader.h"

#include "platform/CodePages.h"
#include "platform/RtfWords.h"

#include <QHash>

#include <algorithm>
#include <climits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rtf::detail {
namespace {

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

} // namespace

Content readRtf(QStringView text, qsizetype limit)
{
    Parser parser(text);
    parser.setLimit(limit);
    return parser.parse();
}

Content readRtfBytes(QStringView latin1)
{
    return Parser(latin1, true).parse();
}

} // namespace rtf::detail
