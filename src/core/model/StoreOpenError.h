#pragma once

#include <QString>

namespace quillery {

// Why a book file could not be opened. Opening never changes a file it
// refuses: the user's data stays exactly as it was for inspection or rescue.
struct StoreOpenError {
    enum class Reason {
        None,
        IsDirectory, // a folder stands where the file should be
        PermissionDenied, // the file or its folder cannot be read or written
        NotADatabase, // the file is not an SQLite database
        NotABook, // an SQLite database, but not one of Quillery's books
        Corrupt, // the database is damaged
        NewerSchema, // written by a newer, incompatible version of Quillery
        Failed, // any other failure of the database engine
    };

    Reason reason = Reason::None;
    QString path;
    QString detail; // the engine's own words, when there are any

    explicit operator bool() const { return reason != Reason::None; }

    // One sentence for the user, naming the file and the cause (the
    // engine's words only where the reason alone says too little).
    QString message() const;
};

} // namespace quillery
