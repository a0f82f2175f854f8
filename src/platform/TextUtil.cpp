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

bool IsUntitledPath(const QString& path)
{
    return path.right(4).compare(QLatin1String(".tmp"), Qt::CaseInsensitive) == 0;
}

QString CaptionText(const QString& plain)
{
    if (plain.size() <= kCaptionLength)
        return plain;
    qsizetype end = kCaptionLength;
    if (plain.at(end - 1).isHighSurrogate())
        --end;
    return plain.left(end) + QChar(0x2026);
}

QString LiteralCaption(const QString& text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
}
