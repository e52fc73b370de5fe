#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace quillery {

class Store;

// The last resort when the book cannot be saved as the program ends (a full
// disk): every unsaved change of the store, each record with all of its
// fields and its time stamp, and every unsaved deletion, written as one JSON
// file beside the book or, when that fails too, in the user's runtime folder.
// The next start replays it into the book.
//
// Replaying keeps the later version of each record by its time stamp, so a
// journal that is replayed twice, or that is older than what the book came
// to hold since, changes nothing.
class RecoveryJournal final
{
public:
    // Where the journal of the book at `bookPath` goes, in the order they are
    // tried: beside the book, then the runtime folder (when there is one).
    static QStringList locations(const QString &bookPath);

    // Writes the store's unsaved changes to the first of `paths` that takes
    // them (mode 0600, replacing the file whole). Returns that path, or
    // nothing with every location's reason in `error`.
    static std::optional<QString> write(const Store &store, const QStringList &paths, QString *error = nullptr);

    // Applies the journal at `path` to the store, as unsaved changes (the
    // caller saves). Returns how many records and deletions it applied, or
    // nothing when the file cannot be read or is not a journal of this book.
    static std::optional<int> replay(Store &store, const QString &path, QString *error = nullptr);
};

} // namespace quillery
