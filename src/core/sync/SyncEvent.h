#pragma once

#include <QDateTime>
#include <QMetaType>
#include <QString>

#include <optional>

namespace quillery {

// Why a mirroring run failed: a domain, a number within it and a sentence.
struct SyncError {
    QString domain;
    qint64 code = 0;
    QString description;

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
};
SyncError make(Code code, const QString &description);
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
