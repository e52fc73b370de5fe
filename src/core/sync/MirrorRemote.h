#pragma once

#include "MirrorRecord.h"
#include "SyncEvent.h"

#include <QList>
#include <QObject>

#include <optional>

namespace quillery {

struct SetupReply {
    std::optional<SyncError> error;
    QUuid mirrorId; // identifies the server-side mirror (changes when it is made anew)
};

struct ImportReply {
    std::optional<SyncError> error;
    QList<MirrorRecord> records; // the newest version of every record changed after the cursor
    qint64 cursor = 0; // the newest change among them
};

struct ExportRequest {
    QList<MirrorRecord> records;
    qint64 cursor = 0; // how far this device has read the server's changes
};

struct ExportReply {
    std::optional<SyncError> error;
    QList<MirrorKey> held; // versions the server took
    QList<MirrorRecord> current; // the server's later version of each one it turned down
    // Set when every change after the request's cursor up to this one is one
    // of this export's own, so this device need not read them back.
    std::optional<qint64> cursor;
};

// The server side of the mirror. Each request is answered once with its
// signal, on the thread that owns this object; requests are made one at a
// time. remoteChanged() tells that another device changed the mirror.
class MirrorRemote : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Makes sure the mirror exists on the server, creating it on first use.
    // `device` identifies this device in the versions it sends.
    virtual void setup(const QUuid &device) = 0;
    virtual void importChanges(qint64 cursor) = 0;
    virtual void exportChanges(const ExportRequest &request) = 0;

Q_SIGNALS:
    void setupDone(const quillery::SetupReply &reply);
    void importDone(const quillery::ImportReply &reply);
    void exportDone(const quillery::ExportReply &reply);
    void remoteChanged();
};

} // namespace quillery
