#pragma once

#include <QString>

namespace quillery::bench {

// Writes a book of `pages` pages with `tasksPerPage` tasks each straight into
// the file at `path` (creating the schema first), so that building it costs
// the measured code nothing. `pendingForMirror`: whether every record still
// has to be sent to the mirror. Returns `path`.
QString writeLargeBook(const QString &path, int pages, int tasksPerPage, bool pendingForMirror);

} // namespace quillery::bench
