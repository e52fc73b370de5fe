#pragma once

#include "Clock.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class Calendar;
class Locale;
class TimeZone;
U_NAMESPACE_END

namespace quillery {

// The clock, calendar, time zone and locale that every date rule works in.
// The program uses the user's own (UserContext); tests build one with a fixed
// clock, zone and locale so rules can be checked at exact moments, across
// midnight and daylight-saving changes, in more than one locale.
// Cheap to copy; not for use from several threads at once.
class CalendarContext
{
public:
    struct Components {
        int year = 0;
        int month = 1; // 1 to 12
        int day = 1;
        int hour = 0;
        int minute = 0;
        int second = 0;
        friend bool operator==(const Components &, const Components &) = default;
    };

    // `timeZone` is an IANA name ("Europe/Berlin"); `locale` a locale name
    // ("en_US", "de_DE"). Empty means the user's own.
    explicit CalendarContext(
        const Clock &clock = Clock::system(), const QByteArray &timeZone = {}, const QByteArray &locale = {});
    ~CalendarContext();
    CalendarContext(const CalendarContext &);
    CalendarContext &operator=(const CalendarContext &);

    const Clock &clock() const;
    QDateTime now() const { return clock().now(); }
    QByteArray timeZoneId() const;
    QByteArray localeName() const;
    const icu::Locale &locale() const;
    const icu::TimeZone &timeZone() const;

    // The wall-clock fields of a moment in this zone and calendar.
    Components components(const QDateTime &moment) const;
    // The moment with these wall-clock fields. A time skipped by a
    // daylight-saving change gives the next existing moment; a repeated time
    // gives the first. None when the fields cannot form a date.
    std::optional<QDateTime> moment(const Components &components) const;

    QDateTime startOfDay(const QDateTime &moment) const;
    // The start of the day `days` after the day of `moment`; none if the
    // calendar cannot form it.
    std::optional<QDateTime> startOfDayAfter(const QDateTime &moment, int days) const;
    bool isSameDay(const QDateTime &a, const QDateTime &b) const;
    // 1 = Sunday … 7 = Saturday.
    int weekday(const QDateTime &moment) const;

    // Formats with the locale's best pattern for an ICU skeleton
    // ("EEEMMMd" → "Mon, Jan 5"; "jmm" → "3:05 PM").
    QString format(const QDateTime &moment, const QString &skeleton) const;

    // A fresh calendar positioned at `moment`, for rules that need more.
    std::unique_ptr<icu::Calendar> calendarAt(const QDateTime &moment) const;

private:
    struct Impl;
    std::shared_ptr<Impl> d;
};

} // namespace quillery
