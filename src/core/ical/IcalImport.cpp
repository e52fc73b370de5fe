#include "IcalImport.h"

#include "CalendarExtras.h"
#include "IcalSummary.h"
#include "TaskVtodo.h"

#include "core/alarms/AlarmService.h"
#include "core/model/Page.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"
#include "core/theme/Palette.h"

namespace quillery::IcalImport {

Result add(const IcalReadResult &read, Store &store, AlarmService *alarms)
{
    Result result;
    result.events = read.events;
    result.others = read.others;
    result.damaged = read.damaged;
    result.error = read.error;
    if (!read.error.isEmpty())
        return result;
    // Deletions not yet written leave their tombstones first, so an id that
    // was in the book never comes back as an imported task's.
    store.save();

    const QList<Page *> existing = store.pages();
    double position = existing.isEmpty() ? 0.0 : existing.last()->position();
    int color = existing.isEmpty() ? -1 : existing.last()->colorIndex();
    QHash<QUuid, QString> kept;
    bool anyAlarm = false;
    for (const ImportedPage &imported : read.pages) {
        position += 1.0;
        color = imported.colorIndex ? palette::wrap(*imported.colorIndex) : palette::wrap(color + 1);
        auto *page = new Page(position, color);
        page->setTitle(imported.title);
        store.insert(page);
        result.pages.append(page);
        double order = 0;
        for (const ical::VtodoTask &from : imported.tasks) {
            auto *task = new TaskItem(from.text, ++order);
            const QString taskKept = TaskVtodo::apply(from, *task, store);
            task->setPage(page);
            if (!taskKept.isEmpty())
                kept.insert(task->id(), taskKept);
            anyAlarm = anyAlarm || task->alarm().has_value();
            ++result.tasks;
        }
    }
    CalendarExtras(store).write(kept);
    if (alarms && anyAlarm)
        alarms->rescheduleAll(store.tasks());
    return result;
}

Result importFile(const QString &path, Store &store, AlarmService *alarms, const CalendarContext &calendar)
{
    return add(IcalReader::readFile(path, calendar), store, alarms);
}

QString summary(const Result &result)
{
    if (!result.error.isEmpty())
        return result.error;
    return importSummary(result.tasks, result.events, result.others, result.damaged);
}

} // namespace quillery::IcalImport
