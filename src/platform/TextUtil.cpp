#include "platform/TextUtil.h"

QString NullToEmpty(const QVariant& value)
{
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::Double) {
        // Numbers read as the shortest text that gives them back (5 is "5", 1.7 is "1.7").
        return QString::number(value.toDouble(), 'g', 15);
    }
    return value.toString();
}

QString TrimNull(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

bool isUntitledPath(const QString& path)
{
    return path.right(4).compare(QLatin1String(".tmp"), Qt::CaseInsensitive) == 0;
}

QString captionText(const QString& plain, qsizetype maxLength)
{
    if (plain.size() <= maxLength)
        return plain;
    qsizetype end = maxLength;
    if (end > 0 && plain.at(end - 1).isHighSurrogate())
        --end;
    return plain.left(end) + QChar(0x2026);
}

QString oneLine(const QString& text)
{
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            line.append(u' ');
        } else {
            line.append(c);
        }
    }
    return line;
}

QString literalCaption(const QString& text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
}
