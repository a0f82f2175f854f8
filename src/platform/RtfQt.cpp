// Content (RtfModel.h) into and out of a QTextDocument.

#include "platform/RtfQt.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>

namespace rtf::detail {
namespace {

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

} // namespace

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

} // namespace rtf::detail
