#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace quillery::ical {

// One file attached to a task as it travels inside a VTODO.
struct VtodoAttachment {
    QString name;
    QString typeIdentifier;
    QByteArray data;
};

// The fields of one task as read from one VTODO, before it becomes a record.
// A plain value: the reader makes it without a store, the import (or a sync)
// turns it into a TaskItem with TaskVtodo::apply.
struct VtodoTask {
    QString uid;
    QString text;
    QString notes;
    bool done = false;
    std::optional<QDateTime> created;
    std::optional<QDateTime> due; // the start of the due day, in the user's zone
    std::optional<QDateTime> alarm;
    QString repeat; // the RRULE's text, empty for none
    QString placeName;
    QString placeAddress;
    std::optional<double> latitude;
    std::optional<double> longitude;
    std::optional<double> order; // X-QUILLERY-ORDER, when the file has one
    QString parentUid; // RELATED-TO of the parent, when there is one
    int indent = 0; // set by the reader once parents are known
    QList<VtodoAttachment> attachments;
    // Every property Quillery has no field for, as a VTODO of its own in
    // iCalendar text; empty when there is none. Written back on export.
    QString kept;
};

} // namespace quillery::ical
