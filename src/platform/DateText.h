#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringView>
#include <QTime>
#include <QVariant>

// Stored dates and times (as SQLite keeps them: "yyyy-MM-dd HH:mm:ss", or a QDateTime) in the
// system's general date format: the locale's short date, then its long time without the time
// zone, the time left out at midnight. A Null value gives ""; text that is no date is given back
// as it stands, so nothing stored is lost in a report.
class GeneralDateFormat {
public:
    GeneralDateFormat();
    QString text(const QVariant& value) const;

private:
    QLocale locale_;
    QString dateFormat_;
    QString timeFormat_;
    // The last date written: stored dates come in order, many on the same day.
    mutable QDate lastDate_;
    mutable QString lastDateText_;
};

// The locale's long time format without its time-zone part: a stored local time has none.
QString timeFormatWithoutZone(const QLocale& locale);

// A stored date as SQLite keeps it, "yyyy-MM-dd" optionally followed by " HH:mm:ss" (or "T"),
// read without the cost of a format parser; false when the text is no such date.
bool parseStoredDate(QStringView text, QDate& date, QTime& time);

// One value in the general date format (for many values, keep a GeneralDateFormat).
QString generalDateText(const QVariant& value);
