#pragma once

#include "core/model/Record.h"
#include "core/model/StoredField.h"

#include <QByteArray>
#include <QString>
#include <QUuid>
#include <QVariantList>

#include <optional>

namespace quillery {

// Which version of a record is the later one: the one changed later, and
// between changes stamped with the same millisecond the one from the device
// whose identifier sorts higher (byte by byte, as the server compares them).
// Every device and the server decide with this one rule, so they all keep
// the same version.
struct MirrorStamp {
    qint64 modified = 0; // ms since the epoch
    QUuid device;
};
bool isLater(const MirrorStamp &a, const MirrorStamp &b);

// One version of one record as it travels between the store and the server:
// every field of its kind, or only its identity when it was deleted.
struct MirrorRecord {
    Record::Kind kind = Record::Kind::Page;
    QUuid id;
    qint64 modified = 0;
    QUuid device; // the device that made this version
    bool deleted = false;
    // The fields in the order fieldsOf(kind) lists them; one past the end
    // holds its default. A null creation time means none was given.
    QVariantList values;

    QVariant value(Field field) const;
    void setValue(Field field, const QVariant &value);
    // The record this one belongs to (a task's page, an attachment's task);
    // null for none.
    QUuid parentId() const;
    // The size of the content it carries (an attachment's bytes).
    qint64 contentSize() const;

    MirrorStamp stamp() const { return { modified, device }; }
    friend bool operator==(const MirrorRecord &, const MirrorRecord &) = default;
};

// What the server said about one sent version: it now holds it.
struct MirrorKey {
    Record::Kind kind = Record::Kind::Page;
    QUuid id;
    qint64 modified = 0;
    bool deleted = false;
};

std::optional<Record::Kind> mirrorKind(QStringView entity);

} // namespace quillery
