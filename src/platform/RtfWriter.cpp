// The RTF writer: the content model (RtfModel.h) as an RTF document.
//
// It writes paragraphs (\pard ... \par, alignment \ql \qc \qr \qj), bold, italic, underline,
// strike-out, font family (\fonttbl), point size (\fs, half-points), text colour (\colortbl, \cf),
// tabs, line breaks (\line), non-breaking space and hyphen, soft hyphen, and every other character
// as \uN? (UTF-16 units, surrogate pairs as two units). Nothing else of a QTextDocument (images,
// tables, lists, links) is written.

#include "platform/RtfWriter.h"

#include <QHash>
#include <QStringList>

namespace rtf::detail {

QByteArray unicodeEscape(char16_t unit)
{
    return "\\u" + QByteArray::number(unit > 32767 ? int(unit) - 65536 : int(unit)) + '?';
}

namespace {

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
                out_ += QLatin1String(unicodeEscape(u));
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

} // namespace

QString writeRtf(const Content& content)
{
    return Writer().write(content);
}

} // namespace rtf::detail
