#pragma once

#include <QDateTime>
#include <QMetaType>
#include <QString>

#include <optional>

namespace quillery {

// Why a mirroring run failed: a domain, a number within it and a sentence,
// and the name of the server it was talking to where there is one (for the
// status line; the description may be long and technical).
struct SyncError {
    QString domain;
    qint64 code = 0;
    QString description;
    QString server;

    friend bool operator==(const SyncError &, const SyncError &) = default;
};

// The errors the mirror itself reports; the description carries the server's
// or the file's own words.
namespace MirrorErrors {
inline constexpr const char *Domain = "app.quillery.mirror";
enum Code : qint64 {
    Unreachable = 1, // the server could not be reached
    Refused = 2, // the server turned down the credentials or the access
    Server = 3, // a statement failed on the server
    LocalStore = 4, // the book file could not be read or written
    NoProgress = 5, // the server kept turning down the same changes
    Unusable = 6, // the connection service cannot be used at all
    Denied = 7, // the server does not let this user use the mirror's tables
    Outdated = 8, // the mirror's tables are missing or out of date and this user may not make them
    Busy = 9, // a lock on the server was not granted in time
};
SyncError make(Code code, const QString &description, const QString &server = QString());
} // namespace MirrorErrors

// One run of the mirror, reported once when it starts (no end yet) and once
// when it ends.
struct SyncEvent {
    enum Type { Setup = 0, Import = 1, Export = 2 };

    int type = Setup;
    QDateTime start;
    std::optional<QDateTime> end;
    bool succeeded = false;
    std::optional<SyncError> error;
};

// The word for an event type in the logs: "setup", "import", "export", or
// "other" for any type the mirror does not know.
QString syncEventKind(int type);

} // namespace quillery

Q_DECLARE_METATYPE(quillery::SyncEvent)
