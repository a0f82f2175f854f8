#pragma once

// The content model of the RTF files of this folder (not for use elsewhere): what the reader
// makes of a text, what the writer writes, and what goes into and out of a QTextDocument:
// paragraphs of styled runs. The plain text helpers work on it without a QTextDocument.

#include <QColor>
#include <QList>
#include <QString>
#include <QStringView>

namespace rtf::detail {

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
inline bool isStorable(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x20)
        return u == u'\t';
    return u != 0x7f && u != 0x2029 && u != 0xfdd0 && u != 0xfdd1 && u != 0xfffc;
}

// Font names are written between a word and ';' and read without the words for tab or line.
inline bool isFontNameCharacter(QChar c)
{
    return isStorable(c) && c != u'\t' && c != u';' && c != QChar::LineSeparator;
}

// The text with each surrogate that lacks its partner replaced by U+FFFD.
QString withPairedSurrogates(QString text);
// The text without the characters that cannot be stored (isStorable).
QString storableText(QStringView text);

// Plain text as content: lines split at CR LF, CR or LF (and U+2029), each a paragraph of one run
// in the default style.
Content plainContent(QStringView text);
// The length of the shortest start of a plain text whose lines give more than maxChars
// characters of plain text; the whole length when they never do.
qsizetype plainPrefixPastLimit(QStringView text, qsizetype maxChars);
// Keeps the first maxChars characters of the content's plain text (a line break and each
// paragraph end counted as CR LF), never half a surrogate pair; true when something was cut.
bool cutContent(Content& content, qsizetype maxChars);
// The content's plain text: paragraphs joined by CR LF, a line break as CR LF.
QString plainTextOf(const Content& content);

} // namespace rtf::detail
