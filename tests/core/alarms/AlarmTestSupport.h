#pragma once

#include "core/app/AppPaths.h"

#include <QFile>
#include <QStringList>

namespace quillery::test {

// The lines of "alarms.log" in the test's data folder (no trailing empty one).
inline QStringList alarmLogLines()
{
    QFile file(AppPaths::logFile(QStringLiteral("alarms.log")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

inline void clearAlarmLog()
{
    QFile::remove(AppPaths::logFile(QStringLiteral("alarms.log")));
}

} // namespace quillery::test
