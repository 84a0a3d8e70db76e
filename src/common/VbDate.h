#pragma once

#include <QDate>
#include <QString>
#include <QStringView>
#include <QTime>
#include <optional>

// A date/time value as the program's platform knew it: a day and a time of day. A time
// alone sits on day zero (30 December 1899); a date alone is at midnight.
struct VbDateTime {
    QDate date;
    QTime time;
    bool hasDate = false;
    bool hasTime = false;

    static QDate DayZero() { return QDate(1899, 12, 30); }
    QDate Day() const { return hasDate ? date : DayZero(); }
    QTime TimeOfDay() const { return hasTime ? time : QTime(0, 0, 0); }
};

// Format with a date pattern, en-US month and day names whatever the locale.
QString VbFormat(const VbDateTime& value, const QString& pattern);
QString VbFormat(const QDate& date, const QString& pattern);
QString VbFormat(const QTime& time, const QString& pattern);

// Reads text the way the platform's IsDate/CDate did for en-US; nothing when it does not
// read as a date or time.
std::optional<VbDateTime> ReadDate(QStringView text);
inline bool IsDate(QStringView text) {
    return ReadDate(text).has_value();
}

// Storage forms: YYYY-MM-DD, HH:MM:SS, or both separated by a space.
QString IsoText(const VbDateTime& value);
