#pragma once

#include <QString>

namespace quillery {

// The counted words of the import and export summaries, in singular or
// plural as the number asks: "1 task", "212 tasks", "1 damaged entry".
enum class Noun { Task, Event, DamagedEntry, OtherEntry, Attachment };
QString countOf(int count, Noun noun);

// "Imported 212 tasks; skipped 3 events and 1 damaged entry": what was
// skipped is listed only when something was.
QString importSummary(int tasks, int events, int others, int damaged);

} // namespace quillery
