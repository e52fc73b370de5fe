#include "core/alarms/LogWriter.h"
#include "core/app/AppPaths.h"

#include <QFile>
#include <QtConcurrent>
#include <gtest/gtest.h>

using namespace quillery;

namespace {
QStringList linesOf(const QString &name)
{
    QFile file(AppPaths::logFile(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    return lines;
}
} // namespace

TEST(LogWriter, theFirstLineCreatesTheFileAndLaterLinesAppend)
{
    const QString name = QStringLiteral("first-use.log");
    QFile::remove(AppPaths::logFile(name));
    ManualClock clock(QDateTime(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC));
    appendLogLine(name, QStringLiteral("one"), clock);
    clock.advance(61'500);
    appendLogLine(name, QStringLiteral("two ✓"), clock);
    EXPECT_EQ(linesOf(name),
        (QStringList {
            QStringLiteral("2026-03-01T09:30:00Z one"), QStringLiteral("2026-03-01T09:31:01Z two ✓"), QString() }));
}

TEST(LogWriter, aMessageWithLineBreaksStaysOneLine)
{
    const QDateTime moment(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC);
    EXPECT_EQ(formatLogLine(moment, QStringLiteral("not scheduled: \"Buy\nmilk\r\" x\u2028y")),
        QStringLiteral("2026-03-01T09:30:00Z not scheduled: \"Buy\\nmilk\\r\" x\\u2028y"));
    EXPECT_EQ(
        formatLogLine(moment.toOffsetFromUtc(3600), QStringLiteral("m")), QStringLiteral("2026-03-01T09:30:00Z m"));
}

TEST(LogWriter, linesFromManyWritersNeverInterleaveOrVanish)
{
    const QString name = QStringLiteral("busy.log");
    QFile::remove(AppPaths::logFile(name));
    const QString payload(300, u'x');
    QList<QFuture<void>> writers;
    for (int w = 0; w < 4; ++w) {
        writers.append(QtConcurrent::run([&, w] {
            for (int i = 0; i < 250; ++i)
                appendLogLine(name, QStringLiteral("w%1 %2 ").arg(w).arg(i) + payload);
        }));
    }
    for (auto &writer : writers)
        writer.waitForFinished();
    const QStringList lines = linesOf(name);
    ASSERT_EQ(lines.size(), 1001);
    for (int i = 0; i < 1000; ++i)
        EXPECT_TRUE(lines.at(i).endsWith(payload)) << lines.at(i).left(40).toStdString();
}
