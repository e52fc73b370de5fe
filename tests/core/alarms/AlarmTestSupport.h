#pragma once

#include "core/app/AppPaths.h"

#include <QFile>
#include <QStringList>

namespace quillery::test {

// The lines of a log in the test's data folder (no trailing empty one).
inline QStringList logLines(const QString &name)
{
    QFile file(AppPaths::logFile(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

inline QStringList alarmLogLines()
{
    return logLines(QStringLiteral("alarms.log"));
}

inline void clearAlarmLog()
{
    QFile::remove(AppPaths::logFile(QStringLiteral("alarms.log")));
}

} // namespace quillery::test
