#include "DayLabel.h"

#include "core/util/CalendarContext.h"

#include <QCoreApplication>
#include <QHash>

#include <memory>

#include <unicode/locid.h>
#include <unicode/reldatefmt.h>

namespace quillery {

namespace {

// One formatter per locale, made on first use (dates are worded on the main
// thread only).
const icu::RelativeDateTimeFormatter *relativeFormatter(const CalendarContext &calendar)
{
    static QHash<QByteArray, std::shared_ptr<icu::RelativeDateTimeFormatter>> formatters;
    std::shared_ptr<icu::RelativeDateTimeFormatter> &formatter = formatters[calendar.localeName()];
    if (!formatter) {
        UErrorCode status = U_ZERO_ERROR;
        auto made = std::make_shared<icu::RelativeDateTimeFormatter>(
            calendar.locale(), nullptr, UDAT_STYLE_LONG, UDISPCTX_CAPITALIZATION_FOR_BEGINNING_OF_SENTENCE, status);
        if (U_FAILURE(status))
            return nullptr;
        formatter = std::move(made);
    }
    return formatter.get();
}

QString relativeDay(const CalendarContext &calendar, UDateDirection direction, const char *fallback)
{
    if (const icu::RelativeDateTimeFormatter *formatter = relativeFormatter(calendar)) {
        UErrorCode status = U_ZERO_ERROR;
        icu::UnicodeString text;
        formatter->format(direction, UDAT_ABSOLUTE_DAY, text, status);
        if (U_SUCCESS(status) && !text.isEmpty())
            return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
    }
    return QCoreApplication::translate("DayLabel", fallback);
}

} // namespace

QString dayLabel(const QDateTime &date, const CalendarContext &calendar)
{
    const QDateTime now = calendar.now();
    const QDateTime day = calendar.startOfDay(date);
    const QDateTime today = calendar.startOfDay(now);
    if (day == today)
        return relativeDay(calendar, UDAT_DIRECTION_THIS, QT_TRANSLATE_NOOP("DayLabel", "Today"));
    if (day == calendar.startOfDayAfter(now, 1))
        return relativeDay(calendar, UDAT_DIRECTION_NEXT, QT_TRANSLATE_NOOP("DayLabel", "Tomorrow"));
    if (day == calendar.startOfDayAfter(now, -1))
        return relativeDay(calendar, UDAT_DIRECTION_LAST, QT_TRANSLATE_NOOP("DayLabel", "Yesterday"));
    if (calendar.components(date).year == calendar.components(now).year)
        return calendar.format(date, QStringLiteral("EEEMMMd"));
    return calendar.format(date, QStringLiteral("yMMMd"));
}

} // namespace quillery
