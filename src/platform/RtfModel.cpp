#include "platform/RtfModel.h"

#include <QStringList>

namespace rtf::detail {

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

} // namespace rtf::detail
