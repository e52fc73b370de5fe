// An iCalendar file from any planner, or made to hurt: whatever the reader
// accepts is something the book can hold (named tasks, one level of
// subtasks under a task; an empty calendar is an empty page), and a refused
// file says why and yields nothing.
#include "FuzzCheck.h"
#include "core/ical/IcalReader.h"
#include "core/util/CalendarContext.h"
#include "core/util/Clock.h"

#include <QCoreApplication>

#include <cstdint>

using namespace quillery;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const ManualClock clock;
    static const CalendarContext calendar(clock, "Europe/Berlin", "en_US");
    const IcalReadResult result = IcalReader::read(
        QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), QStringLiteral("fuzz"), calendar);
    FUZZ_CHECK(result.error.isEmpty() || result.pages.isEmpty());
    FUZZ_CHECK(result.events >= 0 && result.others >= 0 && result.damaged >= 0);
    for (const ImportedPage &page : result.pages) {
        FUZZ_CHECK(page.tasks.isEmpty() || page.tasks.first().indent == 0);
        for (const ical::VtodoTask &task : page.tasks) {
            FUZZ_CHECK(!task.text.isEmpty());
            FUZZ_CHECK(task.indent == 0 || task.indent == 1);
        }
    }
    return 0;
}
