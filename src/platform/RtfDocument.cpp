#include "platform/RtfDocument.h"

#include "platform/RtfWriter.h"

#include <QIODevice>

#include <cmath>

namespace rtf {

namespace {

QByteArray number(int n)
{
    return QByteArray::number(n);
}

// Font names are written between "\fN " and ";": characters that would end the entry are left out.
QByteArray fontName(const QString& name)
{
    QByteArray out;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u == u';' || u == u'{' || u == u'}' || u == u'\\' || u < 0x20)
            continue;
        if (u < 0x7f)
            out += char(u);
        else
            out += detail::unicodeEscape(u);
    }
    return out;
}

} // namespace

DocumentWriter::DocumentWriter(QIODevice& out, const QStringList& fonts, double defaultPoints)
    : out_(out)
    , fonts_(fonts)
    , defaultHalfPoints_(std::max(2, int(std::lround(defaultPoints * 2))))
{
    if (fonts_.isEmpty())
        fonts_.append(QStringLiteral("Arial"));
    QByteArray header = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
    for (qsizetype i = 0; i < fonts_.size(); ++i)
        header += "{\\f" + number(int(i)) + "\\fnil\\fcharset0 " + fontName(fonts_.at(i)) + ";}";
    header += "}\r\n\\f0\\fs" + number(defaultHalfPoints_) + ' ';
    put(header);
}

QByteArray DocumentWriter::paragraphStartBytes() const
{
    QByteArray start = "\\pard";
    for (const int stop : std::as_const(tabStops_))
        start += "\\tx" + number(stop);
    return start + ' ';
}

void DocumentWriter::setTabStops(const QList<int>& twips)
{
    tabStops_ = twips;
    // A paragraph already begun takes the new stops at once (paragraph properties may stand
    // anywhere in it): \pard drops the stops it opened with, so the new ones replace them rather
    // than being added. An empty list leaves its stops and applies from the next paragraph.
    if (paragraphOpen_ && !tabStops_.isEmpty()) {
        QByteArray stops = "\\pard";
        for (const int stop : std::as_const(tabStops_))
            stops += "\\tx" + number(stop);
        put(stops + ' ');
    }
}

void DocumentWriter::encodeRun(const QString& text, const RunFormat& format, QByteArray& out, bool& open) const
{
    QByteArray group = "{";
    const qsizetype font = format.font.isEmpty() ? 0 : fonts_.indexOf(format.font);
    if (font > 0)
        group += "\\f" + number(int(font));
    if (format.points > 0)
        group += "\\fs" + number(std::max(2, int(std::lround(format.points * 2))));
    if (format.bold)
        group += "\\b";
    if (group.size() > 1)
        group += ' ';

    const QByteArray paragraph = paragraphStartBytes();
    if (!open) {
        out += paragraph;
        open = true;
    }
    // The group opens before the first character of a paragraph: a line break at the end of the
    // text leaves no empty group behind.
    bool inGroup = false;
    const auto inRun = [&]() -> QByteArray& {
        if (!inGroup) {
            out += group;
            inGroup = true;
        }
        return out;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        switch (u) {
        case u'\\':
        case u'{':
        case u'}':
            inRun() += '\\';
            out += char(u);
            break;
        case u'\t':
            inRun() += "\\tab ";
            break;
        case u'\r':
        case u'\n':
            if (u == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            if (inGroup)
                out += '}';
            inGroup = false;
            out += "\\par\r\n";
            out += paragraph;
            break;
        default:
            if (u >= 0x20 && u < 0x7f)
                inRun() += char(u);
            else if (u >= 0x20)
                inRun() += detail::unicodeEscape(u);
            break;
        }
    }
    if (inGroup)
        out += '}';
}

void DocumentWriter::append(const QString& text, const RunFormat& format)
{
    if (finished_)
        return;
    QByteArray run;
    encodeRun(text, format, run, paragraphOpen_);
    put(run);
}

DocumentWriter::Piece DocumentWriter::encode(const QString& text, const RunFormat& format) const
{
    Piece piece;
    bool open = true;
    encodeRun(text, format, piece.bytes_, open);
    piece.tabStops_ = tabStops_;
    piece.text_ = text;
    piece.format_ = format;
    return piece;
}

void DocumentWriter::append(const Piece& piece)
{
    if (finished_)
        return;
    // Encoded for an open paragraph with the same tab stops; otherwise encoded again.
    if (paragraphOpen_ && piece.tabStops_ == tabStops_)
        put(piece.bytes_);
    else
        append(piece.text_, piece.format_);
}

void DocumentWriter::finish()
{
    if (finished_)
        return;
    put("}\r\n");
    out_.flush();
    finished_ = true;
}

} // namespace rtf
