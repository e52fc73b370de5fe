#include "RelativeTime.h"

#include "core/util/CalendarContext.h"

#include <unicode/calendar.h>
#include <unicode/reldatefmt.h>

#include <memory>

namespace quillery {

QString relativeTime(const QDateTime &moment, const CalendarContext &context)
{
    const QDateTime now = context.now();
    const bool past = moment <= now;
    const QDateTime from = past ? moment : now;
    const QDateTime to = past ? now : moment;

    std::unique_ptr<icu::Calendar> calendar = context.calendarAt(from);
    const UDate target = static_cast<UDate>(to.toMSecsSinceEpoch());
    struct Step {
        UCalendarDateFields field;
        URelativeDateTimeUnit unit;
    };
    static constexpr Step steps[] = {
        { UCAL_YEAR, UDAT_REL_UNIT_YEAR },
        { UCAL_MONTH, UDAT_REL_UNIT_MONTH },
        { UCAL_WEEK_OF_YEAR, UDAT_REL_UNIT_WEEK },
        { UCAL_DATE, UDAT_REL_UNIT_DAY },
        { UCAL_HOUR_OF_DAY, UDAT_REL_UNIT_HOUR },
        { UCAL_MINUTE, UDAT_REL_UNIT_MINUTE },
        { UCAL_SECOND, UDAT_REL_UNIT_SECOND },
    };
    int amount = 0;
    URelativeDateTimeUnit unit = UDAT_REL_UNIT_SECOND;
    UErrorCode status = U_ZERO_ERROR;
    for (const Step &step : steps) {
        // fieldDifference moves the calendar forward by the whole units it
        // counts, so each step sees only what the larger units left.
        const int32_t difference = calendar->fieldDifference(target, step.field, status);
        if (U_FAILURE(status))
            break;
        if (difference != 0) {
            amount = difference;
            unit = step.unit;
            break;
        }
    }

    status = U_ZERO_ERROR;
    icu::RelativeDateTimeFormatter formatter(
        context.locale(), nullptr, UDAT_STYLE_LONG, UDISPCTX_CAPITALIZATION_NONE, status);
    if (U_FAILURE(status))
        return QString();
    icu::UnicodeString text;
    formatter.format(past ? -double(amount) : double(amount), unit, text, status);
    if (U_FAILURE(status))
        return QString();
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}

} // namespace quillery
