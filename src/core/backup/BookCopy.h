#pragma once

#include <QString>

namespace quillery {

// A consistent copy of a book file, made through SQLite's online backup
// from a connection of its own, so it runs on any thread while the book
// keeps being written (the write-ahead log lets both go on). The copy is
// written beside its target, checked with PRAGMA integrity_check, and only
// then put in place: a target either is a whole, sound book or is left as
// it was.
class BookCopy final
{
public:
    struct Result {
        bool ok = false;
        bool diskFull = false;
        QString error;
    };

    static Result copy(const QString &bookPath, const QString &targetPath);

    // Whether the file at `path` is a sound SQLite database; `error` gets
    // the first problem found.
    static bool check(const QString &path, QString *error = nullptr);
};

} // namespace quillery
