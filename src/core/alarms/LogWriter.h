#pragma once

#include "core/util/Clock.h"

#include <QString>

namespace quillery {

// Appends one line to a diagnostic log in the application data folder
// ("alarms.log", "sync.log"): the time in ISO 8601 form in UTC, a space, the
// message and a line feed, in UTF-8. A line break inside the message is
// written as "\n" (or "\r") so that every event stays one line. The line goes
// to the end of the file in a single write, so lines from several writers
// never interleave, and the file is created when missing and never truncated.
// Failures are ignored: logging never disturbs the caller.
void appendLogLine(const QString &fileName, const QString &message, const Clock &clock = Clock::system());

// The line appendLogLine writes, without the trailing line feed.
QString formatLogLine(const QDateTime &moment, const QString &message);

} // namespace quillery
