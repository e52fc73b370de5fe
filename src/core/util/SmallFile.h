#pragma once

#include <QByteArray>
#include <QString>

namespace quillery {

// Reads the small files Quillery keeps for itself in the user's folders
// (settings, pending notifications) without trusting whatever now stands in
// their place: only a regular file is read, and only up to a size cap, so a
// FIFO cannot block the start and a link to a device or a runaway file
// cannot fill memory. Whatever is refused can be moved aside, kept for
// inspection under a name that never replaces another file.
class SmallFile final
{
public:
    enum class Status {
        Missing, // nothing at the path (a dangling link counts as nothing)
        Read, // `bytes` holds the whole file
        Refused, // `reason` says why
    };
    struct Result {
        Status status = Status::Missing;
        QByteArray bytes;
        QString reason;
    };

    // Never blocks on what it finds at `path`, and never holds more than
    // `maxBytes` + 1 bytes of it.
    static Result read(const QString &path, qint64 maxBytes);
    // The reason `path` would be refused; empty when it is missing or a
    // regular file of at most `maxBytes`. Opens nothing.
    static QString check(const QString &path, qint64 maxBytes);
    // Renames `path` to `<path>.damaged-<UTC time>` (with a number added
    // when that exists); the new path, or empty when it could not be moved.
    static QString moveAside(const QString &path);
};

} // namespace quillery
