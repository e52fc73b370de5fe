#pragma once

#include <QString>

namespace quillery {

// Where Quillery keeps its files: everything lives directly in the user's
// application data folder (~/.local/share/Quillery/).
namespace AppPaths {

inline constexpr const char *BundleIdentifier = "app.quillery.Quillery";
// The mirror's container: "iCloud." followed by the bundle identifier.
QString containerIdentifier();

// The application data folder, created when missing.
QString dataDirectory();
QString storeFile(); // the book: book.sqlite
QString logFile(const QString &name); // e.g. "alarms.log", "sync.log"

} // namespace AppPaths
} // namespace quillery
