#include "CalendarContext.h"

#include <QHash>
#include <QLocale>

#include <unicode/calendar.h>
#include <unicode/dtptngen.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

namespace quillery {

namespace {

QString fromUnicode(const icu::UnicodeString &text)
{
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}

icu::UnicodeString toUnicode(const QString &text)
{
    return icu::UnicodeString(reinterpret_cast<const char16_t *>(text.utf16()), static_cast<int32_t>(text.size()));
}

QByteArray userLocaleName()
{
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C)
        return QByteArrayLiteral("en_US");
    return system.name().toLatin1();
}

} // namespace

struct CalendarContext::Impl {
    const Clock *clock = nullptr;
    QByteArray zoneId;
    QByteArray localeName;
    icu::Locale locale;
    std::unique_ptr<icu::TimeZone> zone;
    std::unique_ptr<icu::Calendar> calendar; // scratch calendar, reused
    std::unique_ptr<icu::DateTimePatternGenerator> patterns;
    QHash<QString, std::shared_ptr<icu::SimpleDateFormat>> formats;
};

CalendarContext::CalendarContext(const Clock &clock, const QByteArray &timeZone, const QByteArray &locale)
    : d(std::make_shared<Impl>())
{
    d->clock = &clock;
    d->localeName = locale.isEmpty() ? userLocaleName() : locale;
    d->locale = icu::Locale::createCanonical(d->localeName.constData());
    if (timeZone.isEmpty()) {
        d->zone.reset(icu::TimeZone::createDefault());
        icu::UnicodeString id;
        d->zone->getID(id);
        d->zoneId = fromUnicode(id).toLatin1();
    } else {
        d->zoneId = timeZone;
        d->zone.reset(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZone.constData())));
    }
    UErrorCode status = U_ZERO_ERROR;
    d->calendar.reset(icu::Calendar::createInstance(d->zone->clone(), d->locale, status));
    if (U_FAILURE(status) || !d->calendar) {
        status = U_ZERO_ERROR;
        d->calendar.reset(icu::Calendar::createInstance(d->zone->clone(), icu::Locale::getRoot(), status));
    }
    d->calendar->setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
    d->calendar->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
}

CalendarContext::~CalendarContext() = default;
CalendarContext::CalendarContext(const CalendarContext &) = default;
CalendarContext &CalendarContext::operator=(const CalendarContext &) = default;

const Clock &CalendarContext::clock() const
{
    return *d->clock;
}
QByteArray CalendarContext::timeZoneId() const
{
    return d->zoneId;
}
QByteArray CalendarContext::localeName() const
{
    return d->localeName;
}
const icu::Locale &CalendarContext::locale() const
{
    return d->locale;
}
const icu::TimeZone &CalendarContext::timeZone() const
{
    return *d->zone;
}

CalendarContext::Components CalendarContext::components(const QDateTime &moment) const
{
    icu::Calendar &cal = *d->calendar;
    UErrorCode status = U_ZERO_ERROR;
    cal.setTime(static_cast<UDate>(moment.toMSecsSinceEpoch()), status);
    Components c;
    c.year = cal.get(UCAL_EXTENDED_YEAR, status);
    c.month = cal.get(UCAL_MONTH, status) + 1;
    c.day = cal.get(UCAL_DATE, status);
    c.hour = cal.get(UCAL_HOUR_OF_DAY, status);
    c.minute = cal.get(UCAL_MINUTE, status);
    c.second = cal.get(UCAL_SECOND, status);
    return c;
}

std::optional<QDateTime> CalendarContext::moment(const Components &c) const
{
    icu::Calendar &cal = *d->calendar;
    cal.clear();
    cal.set(UCAL_EXTENDED_YEAR, c.year);
    cal.set(UCAL_MONTH, c.month - 1);
    cal.set(UCAL_DATE, c.day);
    cal.set(UCAL_HOUR_OF_DAY, c.hour);
    cal.set(UCAL_MINUTE, c.minute);
    cal.set(UCAL_SECOND, c.second);
    cal.set(UCAL_MILLISECOND, 0);
    UErrorCode status = U_ZERO_ERROR;
    const UDate when = cal.getTime(status);
    if (U_FAILURE(status))
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(when), Qt::UTC);
}

QDateTime CalendarContext::startOfDay(const QDateTime &moment) const
{
    Components c = components(moment);
    c.hour = c.minute = c.second = 0;
    return this->moment(c).value_or(moment);
}

std::optional<QDateTime> CalendarContext::startOfDayAfter(const QDateTime &moment, int days) const
{
    icu::Calendar &cal = *d->calendar;
    UErrorCode status = U_ZERO_ERROR;
    cal.setTime(static_cast<UDate>(startOfDay(moment).toMSecsSinceEpoch()), status);
    cal.add(UCAL_DATE, days, status);
    cal.set(UCAL_HOUR_OF_DAY, 0);
    cal.set(UCAL_MINUTE, 0);
    cal.set(UCAL_SECOND, 0);
    cal.set(UCAL_MILLISECOND, 0);
    const UDate when = cal.getTime(status);
    if (U_FAILURE(status))
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(when), Qt::UTC);
}

bool CalendarContext::isSameDay(const QDateTime &a, const QDateTime &b) const
{
    const Components x = components(a);
    const Components y = components(b);
    return x.year == y.year && x.month == y.month && x.day == y.day;
}

int CalendarContext::weekday(const QDateTime &moment) const
{
    icu::Calendar &cal = *d->calendar;
    UErrorCode status = U_ZERO_ERROR;
    cal.setTime(static_cast<UDate>(moment.toMSecsSinceEpoch()), status);
    return cal.get(UCAL_DAY_OF_WEEK, status);
}

QString CalendarContext::format(const QDateTime &moment, const QString &skeleton) const
{
    std::shared_ptr<icu::SimpleDateFormat> &formatter = d->formats[skeleton];
    if (!formatter) {
        UErrorCode status = U_ZERO_ERROR;
        if (!d->patterns)
            d->patterns.reset(icu::DateTimePatternGenerator::createInstance(d->locale, status));
        if (U_FAILURE(status) || !d->patterns)
            return moment.toString(Qt::ISODate);
        const icu::UnicodeString pattern = d->patterns->getBestPattern(toUnicode(skeleton), status);
        auto made = std::make_shared<icu::SimpleDateFormat>(pattern, d->locale, status);
        if (U_FAILURE(status))
            return moment.toString(Qt::ISODate);
        made->setCalendar(*d->calendar);
        made->setTimeZone(*d->zone);
        formatter = std::move(made);
    }
    icu::UnicodeString out;
    formatter->format(static_cast<UDate>(moment.toMSecsSinceEpoch()), out);
    return fromUnicode(out);
}

std::unique_ptr<icu::Calendar> CalendarContext::calendarAt(const QDateTime &moment) const
{
    std::unique_ptr<icu::Calendar> cal(d->calendar->clone());
    UErrorCode status = U_ZERO_ERROR;
    cal->setTime(static_cast<UDate>(moment.toMSecsSinceEpoch()), status);
    return cal;
}

} // namespace quillery
