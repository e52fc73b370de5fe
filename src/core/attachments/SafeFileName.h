#pragma once

#include <QString>

namespace quillery {

// A file name that can be created inside a folder without leaving it or
// hiding: path separators and control characters become "_", leading dots and
// white space are dropped, and the name is cut to the file system's limit of
// 255 bytes, keeping its extension. A name with nothing left becomes
// `fallback` (itself made safe the same way, "Attachment" if that is empty).
QString safeFileName(const QString &name, const QString &fallback = QString());

} // namespace quillery
