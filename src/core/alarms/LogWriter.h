#pragma once

#include "core/util/Clock.h"

#include <QString>

namespace quillery {

// Appends one line to a diagnostic log in the application state folder
// ("alarms.log", "sync.log"): the time in ISO 8601 form in UTC, a space, the
// message and a line feed, in UTF-8. A line break inside the message is
// written as "\n" (or "\r") so that every event stays one line. The line goes
// to the end of the file in a single write, so lines from several writers
// never interleave, and the file is created when missing.
//
// A log is capped: a line that would take it past LogRotationBytes first
// moves it aside to "<name>.1" (and an earlier "<name>.1" to "<name>.2"; the
// one before that goes), so at most three files' worth is kept. Writers in
// several threads or processes rotate once between them, never losing a
// line. Failures are ignored: logging never disturbs the caller.
void appendLogLine(const QString &fileName, const QString &message, const Clock &clock = Clock::system());

inline constexpr qint64 LogRotationBytes = 1024 * 1024;

// The line appendLogLine writes, without the trailing line feed.
QString formatLogLine(const QDateTime &moment, const QString &message);

// Earlier versions kept the logs in the data folder: a log found there moves
// to the state folder (its lines before any written there since). Nothing
// is lost when the move fails; it is tried again at the next start.
void moveLogFromDataFolder(const QString &fileName);

} // namespace quillery
