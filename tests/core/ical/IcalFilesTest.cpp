// iCalendar files through the real store: files other planners write, and a
// whole book exported and imported again.
#include "core/ical/IcalExport.h"
#include "core/ical/IcalImport.h"
#include "core/model/TypeRegistry.h"
#include "core/util/CalendarContext.h"
#include "support/MockAlarmService.h"
#include "support/TempStore.h"
#include "support/TestEnvironment.h"

#include <QTimeZone>
#include <gtest/gtest.h>

using namespace quillery;
using ::testing::_;

namespace {

const QTimeZone Berlin("Europe/Berlin");

QDateTime utc(const char *iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate).toUTC();
}

QDateTime dayStart(int y, int m, int d)
{
    return QDate(y, m, d).startOfDay(Berlin).toUTC();
}

struct Fixture : ::testing::Test {
    ManualClock clock { utc("2025-03-01T12:00:00Z") };
    CalendarContext calendar { clock, "Europe/Berlin", "en_US" };
    test::TempStore store;
    test::NiceAlarmService alarms;

    IcalImport::Result importData(const QString &name)
    {
        return IcalImport::importFile(test::testDataPath(QStringLiteral("ical/") + name), *store, &alarms, calendar);
    }
};

QStringList texts(const Page *page)
{
    QStringList out;
    for (const TaskItem *task : page->sortedTasks())
        out << QString(task->indent(), u'>') + task->text();
    return out;
}

} // namespace

TEST_F(Fixture, aPlannersFileBecomesAPageWithDaysRemindersAndSubtasksInPlace)
{
    EXPECT_CALL(alarms, rescheduleAll(_)).Times(1);
    const IcalImport::Result result = importData(QStringLiteral("planner-tasks.ics"));
    EXPECT_EQ(IcalImport::summary(result), "Imported 10 tasks; skipped 3 events and 1 damaged entry");
    ASSERT_EQ(result.pages.size(), 1);
    const Page *page = result.pages.first();
    EXPECT_EQ(page->title(), "Home and trips");
    EXPECT_EQ(page->colorIndex(), 3); // darkseagreen is nearest to sage
    // The chain of subtasks comes right after its first task, one level in.
    EXPECT_EQ(texts(page),
        QStringList({ "Plan the trip", ">Compare fares", ">Book flights", "Renew passport", "Call the New York office",
            "Water the plants", "Send the report", "Take out the recycling", "Pay the rent", "Paint the fence" }));

    const QList<TaskItem *> tasks = page->sortedTasks();
    EXPECT_EQ(tasks[0]->notes(), "Three days, maybe four.\nAsk about the car.");
    // A date, a time in New York late in the evening (already the next day
    // in Berlin), a floating time and a UTC time just before midnight (past
    // it in Berlin).
    EXPECT_EQ(tasks[3]->due(), dayStart(2025, 3, 14));
    EXPECT_EQ(tasks[4]->due(), dayStart(2025, 3, 14));
    EXPECT_EQ(tasks[5]->due(), dayStart(2025, 3, 20));
    EXPECT_EQ(tasks[6]->due(), dayStart(2025, 3, 22));
    // Half an hour before 23:00 in New York; a quarter of an hour before
    // 09:00 floating (read in Berlin); the earlier of an hour before DTSTART
    // and an absolute trigger.
    EXPECT_EQ(tasks[4]->alarm(), utc("2025-03-15T02:30:00Z"));
    EXPECT_EQ(tasks[5]->alarm(), utc("2025-03-20T07:45:00Z"));
    EXPECT_EQ(tasks[7]->alarm(), utc("2025-04-01T09:00:00Z"));
    EXPECT_EQ(tasks[7]->repeat(), "FREQ=WEEKLY;BYDAY=TU");
    EXPECT_TRUE(tasks[8]->done());
    EXPECT_FALSE(tasks[9]->done());
    EXPECT_EQ(tasks[9]->placeName(), "Garden shed");
    EXPECT_EQ(tasks[9]->latitude(), 48.2082);
    EXPECT_EQ(tasks[9]->longitude(), 16.3738);

    // What the page has no field for comes back out, with the tasks' own
    // UIDs, and survives closing the book.
    store.reopen();
    const QByteArray out = IcalExport::pages(store->pages(), *store, calendar).text;
    for (const char *line :
        { "RRULE:FREQ=WEEKLY;BYDAY=TU", "DTSTART:20250401T100000Z", "CATEGORIES:Paperwork", "X-EXAMPLE-STARRED:1",
            "UID:weekly@example.com", "STATUS:IN-PROCESS", "PERCENT-COMPLETE:40", "RELATED-TO:plan-trip@example.com" })
        EXPECT_TRUE(out.contains(line)) << line;
    EXPECT_EQ(out.count("RELATED-TO"), 2);
}

TEST_F(Fixture, eachCalendarOfAFileIsAPageNamedByItselfOrTheFile)
{
    const IcalImport::Result result = importData(QStringLiteral("two-calendars.ics"));
    // The second calendar is cut off inside a task: what was whole counts.
    EXPECT_EQ(IcalImport::summary(result), "Imported 3 tasks; skipped 1 other entry and 1 damaged entry");
    ASSERT_EQ(result.pages.size(), 2);
    EXPECT_EQ(result.pages[0]->title(), "two-calendars");
    EXPECT_EQ(texts(result.pages[0]), QStringList({ "Second in the file", "First of two" }));
    EXPECT_EQ(result.pages[1]->title(), "Named the new way");
    EXPECT_EQ(texts(result.pages[1]), QStringList({ "No summary here" }));
    EXPECT_GT(result.pages[1]->position(), result.pages[0]->position());
}

TEST_F(Fixture, aBookExportedAndImportedIntoAnEmptyBookComesBackWhole)
{
    auto *errands = new Page(1, 2);
    store->insert(errands);
    errands->setTitle(QStringLiteral("Errands"));
    auto *later = new Page(2, 5);
    store->insert(later);
    later->setTitle(QStringLiteral("Later, maybe"));

    auto *first = addTask(QStringLiteral("Groceries: milk, eggs; bread \\ and crème fraîche for the "
                                         "weekend's dinner with the neighbours ✓"),
        0, errands, *store);
    first->setNotes(QStringLiteral("Line one\nLine two, with a comma; and a semicolon"));
    first->setDue(dayStart(2025, 3, 29)); // the night of the change to summer time follows
    first->setAlarm(utc("2025-03-29T08:30:00Z"));
    first->setPlace(Place { QStringLiteral("Market hall"), QStringLiteral("Hauptstraße 5, Berlin"), 52.52, 13.405 });
    const QByteArray photo(4000, '\x7f');
    for (const auto &[name, type] :
        { std::pair { "photo.jpg", TypeRegistry::jpeg() }, { "list.pdf", TypeRegistry::pdf() } }) {
        auto *a = new Attachment(QString::fromLatin1(name), type, photo + name);
        store->insert(a);
        a->setTask(first);
    }
    first->setRepeat(QStringLiteral("FREQ=MONTHLY;COUNT=4;INTERVAL=2;BYDAY=-1FR"));
    auto *sub = addTask(QStringLiteral("Oat milk"), 1, errands, *store);
    sub->setDone(true);
    auto *big = addTask(QStringLiteral("Scan the archive"), 0, errands, *store);
    auto *scan = new Attachment(QStringLiteral("scan.pdf"), TypeRegistry::pdf(), QByteArray(1024 * 1024 + 1, 'x'));
    store->insert(scan);
    scan->setTask(big);
    auto *top = addTask(QStringLiteral("Before everything"), 0, later, *store);
    top->setOrder(-0.5);
    addTask(QStringLiteral("After"), 1, later, *store);

    const IcalExport::Result exported = IcalExport::pages(store->pages(), *store, calendar);
    EXPECT_EQ(IcalExport::summary(exported), "Exported 5 tasks; left out 1 attachment over 1 MB");
    const QString path = store.dir() + QStringLiteral("/book.ics");
    QString error;
    ASSERT_TRUE(IcalExport::writeFile(path, exported.text, &error)) << error.toStdString();

    test::TempStore target;
    const IcalImport::Result imported = IcalImport::importFile(path, *target, &alarms, calendar);
    EXPECT_EQ(IcalImport::summary(imported), "Imported 5 tasks");
    target.reopen();
    ASSERT_EQ(target->pages().size(), 2);
    // Every field the file carries, and each task's files but the scan over the limit.
    const auto fields = [](const TaskItem *t) {
        return std::tuple(t->id(), t->text(), t->indent(), t->done(), t->due(), t->alarm(), t->notes(), t->repeat(),
            t->place(), t->created().toSecsSinceEpoch());
    };
    const auto files = [&](const TaskItem *t) {
        QList<std::tuple<QString, QString, std::optional<QByteArray>>> out;
        for (const Attachment *a : t->sortedAttachments())
            if (a != scan)
                out.append({ a->name(), a->typeIdentifier(), a->data() });
        return out;
    };
    for (int p = 0; p < 2; ++p) {
        const Page *from = store->pages()[p];
        const Page *to = target->pages()[p];
        EXPECT_EQ(to->title(), from->title());
        EXPECT_EQ(to->colorIndex(), from->colorIndex());
        const QList<TaskItem *> a = from->sortedTasks(), b = to->sortedTasks();
        ASSERT_EQ(a.size(), b.size());
        for (int i = 0; i < a.size(); ++i) {
            SCOPED_TRACE(a[i]->text().toStdString());
            EXPECT_EQ(fields(b[i]), fields(a[i]));
            EXPECT_EQ(files(b[i]), files(a[i]));
        }
    }

    // Imported again into the same book, the copies get ids of their own.
    IcalImport::importFile(path, *target, &alarms, calendar);
    QSet<QUuid> ids;
    for (const TaskItem *task : target->tasks())
        ids.insert(task->id());
    EXPECT_EQ(ids.size(), 10);
}
