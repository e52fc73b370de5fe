#pragma once

#include "PendingNotification.h"

#include <QList>
#include <QString>

namespace quillery {

// The file that keeps pending notifications across runs ("notifications.json"
// in the application data folder). Writes replace the file atomically, so a
// crash leaves either the old list or the new one. A file that cannot be read
// as a list of requests (or is not a regular file of at most a megabyte) is
// moved aside (kept for inspection) and reading starts from an empty list.
// Entries sharing an identifier are read as one, the last.
class PendingNotificationFile final
{
public:
    explicit PendingNotificationFile(QString path);

    QString path() const { return m_path; }

    struct Loaded {
        QList<PendingNotification> pending;
        QString problem; // why the file was refused; empty when it was not
        QString movedAside; // where a refused file went; empty when none was
    };
    Loaded load() const;

    // False (with `error` filled) when the file could not be replaced; the
    // old file is then left as it was.
    bool save(const QList<PendingNotification> &pending, QString *error = nullptr) const;

    // The encoded contents, as save() writes them.
    static QByteArray encode(const QList<PendingNotification> &pending);
    // None when `data` is not a complete, well-formed list.
    static std::optional<QList<PendingNotification>> decode(const QByteArray &data);

private:
    QString m_path;
};

} // namespace quillery
