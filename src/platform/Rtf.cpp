// RTF for question texts: the reader (RtfReader.cpp) and the writer (RtfWriter.cpp) meet in a
// small content model of paragraphs of styled runs (RtfModel.h), which goes into and out of a
// QTextDocument (RtfQt.cpp); the plain text helpers need no QTextDocument.
//
// Paragraph count: the writer puts no \par after the last paragraph and opens every paragraph
// with \pard; the reader drops the empty paragraph that a final \par would open when nothing but
// white space and closing braces follows it. A line break (\line) is U+2028 inside a paragraph,
// and a CR LF in plain text. Plain text keeps the document's default font.

#include "platform/Rtf.h"

#include "platform/CodePages.h"
#include "platform/RtfModel.h"
#include "platform/RtfQt.h"
#include "platform/RtfReader.h"
#include "platform/RtfWriter.h"
#include "platform/TextUtil.h"

#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace rtf {

using namespace detail;

namespace {

Content contentOf(const QString& text)
{
    return isRtf(text) ? readRtf(text) : plainContent(text);
}

// The content of the text up to a little past maxChars characters of its plain text: it begins
// as the whole text's content does, and is longer than maxChars only when the whole text is.
Content leadingContentOf(const QString& text, qsizetype maxChars)
{
    maxChars = std::max<qsizetype>(maxChars, 0);
    if (!isRtf(text))
        return plainContent(QStringView(text).left(plainPrefixPastLimit(text, maxChars)));
    return readRtf(text, maxChars);
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
    fill(doc, isRtf(latin1) ? readRtfBytes(latin1) : plainContent(codepage::utf8OrWindows1252(bytes)));
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
    return captionText(toPlainText(text, kCaptionLength + 1));
}

QString write(const QTextDocument& doc)
{
    return writeRtf(contentOf(doc));
}

QString fromPlainText(const QString& text)
{
    return writeRtf(plainContent(text));
}

} // namespace rtf
