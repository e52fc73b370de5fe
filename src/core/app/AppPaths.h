#pragma once

#include <QString>

namespace quillery {

// Where Quillery keeps its files: the book and what belongs with it in the
// user's application data folder (~/.local/share/Quillery/), the diagnostic
// logs in its state folder ($XDG_STATE_HOME/Quillery, ~/.local/state/Quillery
// by default).
namespace AppPaths {

inline constexpr const char *BundleIdentifier = "app.quillery.Quillery";
// The mirror's container: "iCloud." followed by the bundle identifier.
QString containerIdentifier();

// The application data folder, created when missing.
QString dataDirectory();
QString storeFile(); // the book: book.sqlite
// The state folder, created when missing.
QString stateDirectory();
QString logFile(const QString &name); // e.g. "alarms.log", "sync.log", in the state folder

} // namespace AppPaths
} // namespace quillery
