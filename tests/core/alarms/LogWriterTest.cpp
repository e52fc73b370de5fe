#include "AlarmTestSupport.h"

#include "core/alarms/LogWriter.h"
#include "core/app/AppPaths.h"

#include <QFile>
#include <QFileInfo>
#include <QtConcurrent>
#include <gtest/gtest.h>

using namespace quillery;

TEST(LogWriter, aMessageWithLineBreaksStaysOneLine)
{
    const QDateTime moment(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC);
    EXPECT_EQ(formatLogLine(moment, QStringLiteral("not scheduled: \"Buy\nmilk\r\" x\u2028y")),
        QStringLiteral("2026-03-01T09:30:00Z not scheduled: \"Buy\\nmilk\\r\" x\\u2028y"));
    EXPECT_EQ(
        formatLogLine(moment.toOffsetFromUtc(3600), QStringLiteral("m")), QStringLiteral("2026-03-01T09:30:00Z m"));
}

TEST(LogWriter, manyWritersPastTheCapRotateAndKeepEveryRecentLineWhole)
{
    const QString name = QStringLiteral("busy.log");
    const QString path = AppPaths::logFile(name);
    for (const QString &file : { path, path + QStringLiteral(".1"), path + QStringLiteral(".2") })
        QFile::remove(file);
    // About three and a half caps' worth: the log is moved aside three times.
    const QString payload(300, u'x');
    constexpr int Writers = 4;
    constexpr int Lines = 2600;
    QList<QFuture<void>> writers;
    for (int w = 0; w < Writers; ++w) {
        writers.append(QtConcurrent::run([&, w] {
            for (int i = 0; i < Lines; ++i)
                appendLogLine(name, QStringLiteral("w%1 %2 ").arg(w).arg(i) + payload);
        }));
    }
    for (auto &writer : writers)
        writer.waitForFinished();

    // Oldest first: the two files moved aside, then the current one.
    QStringList kept;
    for (const QString &file : { path + QStringLiteral(".2"), path + QStringLiteral(".1"), path }) {
        QFile whole(file);
        ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
        EXPECT_LE(whole.size(), LogRotationBytes) << file.toStdString();
        ASSERT_TRUE(whole.readAll().endsWith('\n')) << "each file ends with a whole line";
        kept += quillery::test::logLines(QFileInfo(file).fileName());
    }
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".3")));
    ASSERT_GT(kept.size(), Writers * Lines / 2);
    // Each writer's lines are whole, in order and without a gap up to its last.
    QList<int> next(Writers, -1);
    for (const QString &line : kept) {
        ASSERT_TRUE(line.endsWith(payload)) << line.left(40).toStdString();
        const QStringList fields = line.split(u' ');
        const int w = fields.at(1).mid(1).toInt();
        const int i = fields.at(2).toInt();
        if (next[w] >= 0) {
            ASSERT_EQ(i, next[w]) << "writer " << w;
        }
        next[w] = i + 1;
    }
    EXPECT_EQ(next, QList<int>(Writers, Lines));
}
