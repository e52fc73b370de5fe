#include "IcalExport.h"

#include "CalendarExtras.h"
#include "IcalHandles.h"
#include "IcalSummary.h"
#include "PageColors.h"
#include "TaskVtodo.h"

#include "core/model/Page.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"
#include "core/model/TypeRegistry.h"
#include "core/util/CalendarContext.h"

#include <libical/ical.h>

#include <QCoreApplication>
#include <QSaveFile>

namespace quillery::IcalExport {

namespace {

void addX(icalcomponent *component, const char *name, const QString &value)
{
    icalproperty *property = icalproperty_new_x(value.toUtf8().constData());
    icalproperty_set_x_name(property, name);
    icalcomponent_add_property(component, property);
}

} // namespace

Result pages(const QList<Page *> &pages, Store &store, const CalendarContext &calendar)
{
    const TypeRegistry types; // an immutable table, cheap to build for one export
    ical::ensureNonFatalErrors();
    Result result;
    const QHash<QUuid, QString> kept = CalendarExtras(store).readAll();
    const QDateTime now = calendar.now();
    const QByteArray productId = "-//Quillery//Quillery " QUILLERY_VERSION "//EN";
    for (const Page *page : pages) {
        ical::ComponentPtr calendarObject(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
        icalcomponent *vcalendar = calendarObject.get();
        icalcomponent_add_property(vcalendar, icalproperty_new_version("2.0"));
        icalcomponent_add_property(vcalendar, icalproperty_new_prodid(productId.constData()));
        addX(vcalendar, "X-WR-CALNAME", page->title());
        icalcomponent_add_property(
            vcalendar, icalproperty_new_color(PageColors::cssName(page->colorIndex()).toUtf8().constData()));
        addX(vcalendar, "X-QUILLERY-COLOR", QString::number(page->colorIndex()));

        // A subtask belongs to the nearest task above it with a smaller
        // indent.
        QList<std::pair<int, QString>> above; // indent, UID
        for (const TaskItem *task : page->sortedTasks()) {
            const QString taskKept = kept.value(task->id());
            while (!above.isEmpty() && above.last().first >= task->indent())
                above.removeLast();
            TaskVtodo::WriteOptions options;
            options.now = now;
            options.kept = taskKept;
            options.types = &types;
            options.parentUid = above.isEmpty() ? QString() : above.last().second;
            ical::ComponentPtr vtodo = TaskVtodo::write(*task, calendar, options, &result.attachmentsLeftOut);
            icalcomponent_add_component(vcalendar, vtodo.release());
            above.append({ task->indent(), TaskVtodo::uidOf(*task, taskKept) });
            ++result.tasks;
        }
        char *text = icalcomponent_as_ical_string_r(vcalendar);
        result.text += text;
        icalmemory_free_buffer(text);
    }
    return result;
}

bool writeFile(const QString &path, const QByteArray &text, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QString summary(const Result &result)
{
    QString text = QCoreApplication::translate("IcalExport", "Exported %1").arg(countOf(result.tasks, Noun::Task));
    if (result.attachmentsLeftOut > 0) {
        text += QCoreApplication::translate("IcalExport", "; left out %1 over 1 MB")
                    .arg(countOf(result.attachmentsLeftOut, Noun::Attachment));
    }
    return text;
}

} // namespace quillery::IcalExport
