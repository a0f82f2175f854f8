#include "platform/RtfDocument.h"

#include <QIODevice>

#include <cmath>

namespace rtf {

namespace {

constexpr qsizetype kFlushSize = 64 * 1024;

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
            out += "\\u" + number(u > 32767 ? int(u) - 65536 : int(u)) + '?';
    }
    return out;
}

}  // namespace

DocumentWriter::DocumentWriter(QIODevice& out, const QStringList& fonts, double defaultPoints)
    : out_(out), fonts_(fonts), defaultHalfPoints_(std::max(2, int(std::lround(defaultPoints * 2))))
{
    if (fonts_.isEmpty())
        fonts_.append(QStringLiteral("Arial"));
    QByteArray header = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
    for (qsizetype i = 0; i < fonts_.size(); ++i)
        header += "{\\f" + number(int(i)) + "\\fnil\\fcharset0 " + fontName(fonts_.at(i)) + ";}";
    header += "}\r\n\\f0\\fs" + number(defaultHalfPoints_) + ' ';
    put(header);
}

void DocumentWriter::paragraphStart()
{
    if (paragraphOpen_)
        return;
    QByteArray start = "\\pard";
    for (const int stop : std::as_const(tabStops_))
        start += "\\tx" + number(stop);
    put(start + ' ');
    paragraphOpen_ = true;
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

void DocumentWriter::append(const QString& text, const RunFormat& format)
{
    if (finished_)
        return;
    QByteArray open = "{";
    const qsizetype font = format.font.isEmpty() ? 0 : fonts_.indexOf(format.font);
    if (font > 0)
        open += "\\f" + number(int(font));
    if (format.points > 0)
        open += "\\fs" + number(std::max(2, int(std::lround(format.points * 2))));
    if (format.bold)
        open += "\\b";
    if (open.size() > 1)
        open += ' ';

    paragraphStart();
    QByteArray run = open;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        switch (u) {
        case u'\\':
        case u'{':
        case u'}':
            run += '\\';
            run += char(u);
            break;
        case u'\t':
            run += "\\tab ";
            break;
        case u'\r':
        case u'\n':
            if (u == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            put(run + "}\\par\r\n");
            paragraphOpen_ = false;
            paragraphStart();
            run = open;
            break;
        default:
            if (u >= 0x20 && u < 0x7f)
                run += char(u);
            else if (u >= 0x20)
                run += "\\u" + number(u > 32767 ? int(u) - 65536 : int(u)) + '?';
            break;
        }
    }
    put(run + '}');
}

void DocumentWriter::finish()
{
    if (finished_)
        return;
    put("}\r\n");
    flush();
    finished_ = true;
}

void DocumentWriter::put(const QByteArray& bytes)
{
    pending_ += bytes;
    if (pending_.size() >= kFlushSize)
        flush();
}

void DocumentWriter::flush()
{
    if (pending_.isEmpty() || !ok())
        return;
    if (out_.write(pending_) != pending_.size())
        error_ = out_.errorString().isEmpty() ? QStringLiteral("The document could not be written.") : out_.errorString();
    pending_.clear();
}

}  // namespace rtf
