#include "platform/DateText.h"

#include <QDateTime>
#include <QTime>

namespace {

// Digits at [from, from + count) of the text as a number; -1 when any is no digit.
int digits(QStringView text, qsizetype from, qsizetype count)
{
    int n = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        n = n * 10 + (c - u'0');
    }
    return n;
}

} // namespace

QString timeFormatWithoutZone(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        out += c;
    }
    return out.simplified();
}

bool parseStoredDate(QStringView text, QDate& date, QTime& time)
{
    if (text.size() < 10 || text.at(4) != u'-' || text.at(7) != u'-')
        return false;
    date = QDate(digits(text, 0, 4), digits(text, 5, 2), digits(text, 8, 2));
    if (!date.isValid())
        return false;
    time = QTime(0, 0);
    if (text.size() == 10)
        return true;
    if (text.size() < 19 || (text.at(10) != u' ' && text.at(10) != u'T') || text.at(13) != u':' || text.at(16) != u':')
        return false;
    time = QTime(digits(text, 11, 2), digits(text, 14, 2), digits(text, 17, 2));
    return time.isValid();
}

GeneralDateFormat::GeneralDateFormat()
    : dateFormat_(locale_.dateFormat(QLocale::ShortFormat))
    , timeFormat_(timeFormatWithoutZone(locale_))
{ }

QString GeneralDateFormat::text(const QVariant& value) const
{
    if (value.isNull())
        return QString();
    QDate date;
    QTime time;
    if (value.typeId() == QMetaType::QDateTime) {
        date = value.toDateTime().date();
        time = value.toDateTime().time();
    } else if (value.typeId() == QMetaType::QDate) {
        date = value.toDate();
        time = QTime(0, 0);
    } else {
        const QString stored = value.toString();
        if (!parseStoredDate(QStringView(stored).trimmed(), date, time))
            return stored;
    }
    if (!date.isValid())
        return value.toString();
    if (date != lastDate_) {
        lastDate_ = date;
        lastDateText_ = locale_.toString(date, dateFormat_);
    }
    if (time == QTime(0, 0))
        return lastDateText_;
    return lastDateText_ + QLatin1Char(' ') + locale_.toString(time, timeFormat_);
}

QString generalDateText(const QVariant& value)
{
    return GeneralDateFormat().text(value);
}
