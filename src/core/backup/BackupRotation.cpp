#include "BackupRotation.h"

#include <algorithm>
#include <functional>

namespace quillery {

QList<QDate> BackupRotation::kept(QList<QDate> dates)
{
    std::sort(dates.begin(), dates.end(), std::greater<>());
    QList<QDate> keep = dates.mid(0, Daily);
    const auto weekOf = [](const QDate &date) { return date.addDays(1 - date.dayOfWeek()); };
    QList<QDate> weeks;
    for (const QDate &date : keep)
        weeks << weekOf(date);
    // A week a daily copy stands for already needs no weekly one.
    for (qsizetype i = Daily, added = 0; i < dates.size() && added < Weekly; ++i) {
        const QDate week = weekOf(dates[i]);
        if (weeks.contains(week))
            continue;
        weeks << week;
        keep << dates[i];
        ++added;
    }
    return keep;
}

} // namespace quillery
