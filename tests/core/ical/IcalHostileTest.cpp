// The reader against files built to be huge, deep or oddly encoded (damaged
// copies of real files are the fuzz target's business: fuzz/icalendar.cpp).
#include "core/ical/IcalReader.h"
#include "core/util/CalendarContext.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillery;

namespace {

const CalendarContext &calendar()
{
    static const ManualClock clock;
    static const CalendarContext context(clock, "Europe/Berlin", "en_US");
    return context;
}

QByteArray fixture(const char *name)
{
    QFile file(test::testDataPath(QStringLiteral("ical/") + QLatin1String(name)));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// Whatever came out must be something the book can hold.
void expectSound(const IcalReadResult &result)
{
    for (const ImportedPage &page : result.pages) {
        for (const ical::VtodoTask &task : page.tasks) {
            ASSERT_FALSE(task.text.isEmpty());
            ASSERT_TRUE(task.indent == 0 || task.indent == 1);
        }
        if (!page.tasks.isEmpty()) {
            ASSERT_EQ(page.tasks.first().indent, 0);
        }
    }
}

QByteArray repeated(const QByteArray &head, const QByteArray &unit, int count, const QByteArray &tail)
{
    QByteArray out = head;
    out.reserve(head.size() + unit.size() * count + tail.size());
    for (int i = 0; i < count; ++i)
        out += unit;
    return out + tail;
}

} // namespace

TEST(IcalHostile, hugeDeepAndOddlyEncodedFilesAreBoundedAndRead)
{
    const QByteArray head = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
    const QByteArray tail = "END:VCALENDAR\r\n";

    // A hundred thousand nested components: left out below a sane depth.
    IcalReadResult deep = IcalReader::read(
        repeated(head + "BEGIN:VTODO\r\nSUMMARY:Outer\r\n", "BEGIN:VTODO\r\n", 100000, "") + tail, {}, calendar());
    expectSound(deep);

    // A hundred thousand events: counted, not built.
    IcalReadResult events = IcalReader::read(
        repeated(head, "BEGIN:VEVENT\r\nUID:e\r\nSUMMARY:Meeting\r\nEND:VEVENT\r\n", 100000, tail), {}, calendar());
    EXPECT_EQ(events.events, 100000);
    EXPECT_TRUE(events.pages.isEmpty());

    // One task too many: nothing at all, and a clear reason.
    IcalReadResult many = IcalReader::read(
        repeated(head, "BEGIN:VTODO\r\nSUMMARY:x\r\nEND:VTODO\r\n", IcalReader::MaxTasks + 1, tail), {}, calendar());
    EXPECT_TRUE(many.pages.isEmpty());
    EXPECT_TRUE(many.error.contains("50,000")) << many.error.toStdString();

    QTemporaryDir dir;
    QFile large(dir.filePath(QStringLiteral("large.ics")));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize(IcalReader::MaxFileSize + 1));
    large.close();
    EXPECT_TRUE(IcalReader::readFile(large.fileName(), calendar()).error.contains("64 MB"));

    // Not iCalendar at all.
    EXPECT_FALSE(IcalReader::read(QByteArray(5000, '\xff'), {}, calendar()).error.isEmpty());

    // UTF-16 with its byte-order mark, and Latin-1 where UTF-8 belongs.
    const QByteArray plain = fixture("planner-tasks.ics");
    QByteArray utf16("\xff\xfe", 2);
    const QString text = QString::fromUtf8(plain);
    utf16.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    EXPECT_EQ(IcalReader::read(utf16, {}, calendar()).pages.value(0).tasks.size(), 10);
    const IcalReadResult latin
        = IcalReader::read(head + "BEGIN:VTODO\r\nSUMMARY:Caf\xe9\r\nEND:VTODO\r\n" + tail, {}, calendar());
    ASSERT_EQ(latin.pages.size(), 1);
    EXPECT_EQ(latin.pages[0].tasks.value(0).text, QStringLiteral("Café"));
}
