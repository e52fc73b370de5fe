#include "RecoveryJournal.h"

#include "Attachment.h"
#include "Page.h"
#include "Store.h"
#include "TaskItem.h"
#include "core/util/PrivateFiles.h"
#include "core/util/Uuid.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>

namespace quillery {

namespace {

constexpr int Format = 1;

QString absoluteBook(const QString &bookPath)
{
    return QFileInfo(bookPath).absoluteFilePath();
}

QJsonValue toJson(const StoredField &entry, const QVariant &value)
{
    if (value.isNull())
        return QJsonValue();
    switch (entry.type) {
    case FieldType::Text:
        return value.toString();
    case FieldType::Flag:
        return value.toBool();
    case FieldType::Whole:
        return value.toInt();
    case FieldType::Number:
    case FieldType::Measure:
    case FieldType::Time:
        return value.toDouble();
    case FieldType::Link: {
        const QUuid id = value.toUuid();
        return id.isNull() ? QJsonValue() : QJsonValue(uuidString(id));
    }
    case FieldType::Bytes:
        return QString::fromLatin1(value.toByteArray().toBase64());
    }
    return QJsonValue();
}

// A missing or null value is the field's default.
QVariant fromJson(const StoredField &entry, const QJsonValue &value)
{
    if (value.isNull() || value.isUndefined())
        return entry.defaultValue;
    switch (entry.type) {
    case FieldType::Text:
        return value.toString();
    case FieldType::Flag:
        return value.toBool();
    case FieldType::Whole:
        return value.toInt();
    case FieldType::Number:
        return value.toDouble();
    case FieldType::Measure:
        return value.isDouble() ? QVariant(value.toDouble()) : entry.defaultValue;
    case FieldType::Time:
        return value.isDouble() ? QVariant(qint64(value.toDouble())) : entry.defaultValue;
    case FieldType::Link:
        return QVariant::fromValue(uuidFromString(value.toString()));
    case FieldType::Bytes:
        return value.isString() ? QVariant(QByteArray::fromBase64(value.toString().toLatin1())) : QVariant();
    }
    return entry.defaultValue;
}

Record *live(const Store &store, Record::Kind kind, const QUuid &id)
{
    switch (kind) {
    case Record::Kind::Page:
        return store.page(id);
    case Record::Kind::Task:
        return store.task(id);
    case Record::Kind::Attachment:
        return store.attachment(id);
    }
    return nullptr;
}

std::optional<Record::Kind> kindOf(const QString &name)
{
    for (Record::Kind kind : { Record::Kind::Page, Record::Kind::Task, Record::Kind::Attachment }) {
        if (name == QLatin1String(entityName(kind)))
            return kind;
    }
    return std::nullopt;
}

// When the book itself recorded the deletion of `id`, if it did.
std::optional<qint64> storedDeletion(Store &store, const QUuid &id)
{
    try {
        SQLite::Statement query(store.database(), "SELECT deleted FROM tombstone WHERE id = ?1");
        query.bind(1, uuidString(id).toStdString());
        if (query.executeStep())
            return query.getColumn(0).getInt64();
    } catch (const SQLite::Exception &) { }
    return std::nullopt;
}

} // namespace

QStringList RecoveryJournal::locations(const QString &bookPath)
{
    const QString book = absoluteBook(bookPath);
    QStringList paths { book + QStringLiteral(".recovery.json") };
    const QString runtime = PrivateFiles::runtimeDirectory();
    if (!runtime.isEmpty()) {
        const QByteArray key = QCryptographicHash::hash(book.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
        paths << runtime + QStringLiteral("/quillery-recovery-%1.json").arg(QString::fromLatin1(key));
    }
    return paths;
}

std::optional<QString> RecoveryJournal::write(const Store &store, const QStringList &paths, QString *error)
{
    QJsonArray records;
    // Parents before children, so that replaying finds what a link names.
    QList<Record *> dirty = store.m_dirty;
    std::stable_sort(
        dirty.begin(), dirty.end(), [](const Record *a, const Record *b) { return a->kind() < b->kind(); });
    for (const Record *record : std::as_const(dirty)) {
        QJsonObject o;
        o[QStringLiteral("kind")] = QLatin1String(entityName(record->kind()));
        o[QStringLiteral("id")] = uuidString(record->id());
        o[QStringLiteral("modified")] = double(record->m_modified);
        o[QStringLiteral("pending")] = record->m_pending;
        for (const StoredField &entry : fieldsOf(record->kind())) {
            if (entry.type != FieldType::Bytes) {
                o[QLatin1String(entry.name)] = toJson(entry, entry.get(*record));
                continue;
            }
            // Bytes already in the book stay there; only new ones travel.
            const auto *attachment = static_cast<const Attachment *>(record);
            if (attachment->m_dataDirty)
                o[QLatin1String(entry.name)] = attachment->m_data ? toJson(entry, *attachment->m_data) : QJsonValue();
        }
        records.append(o);
    }
    QJsonArray removals;
    for (const StoreRemoval &removal : store.m_unsavedRemovals) {
        removals.append(QJsonObject { { QStringLiteral("kind"), QLatin1String(entityName(removal.kind)) },
            { QStringLiteral("id"), uuidString(removal.id) }, { QStringLiteral("when"), double(removal.when) },
            { QStringLiteral("pending"), removal.pending } });
    }
    const QJsonObject journal { { QStringLiteral("recovery"), Format },
        { QStringLiteral("book"), absoluteBook(store.path()) },
        { QStringLiteral("written"), store.clock().now().toString(Qt::ISODateWithMs) },
        { QStringLiteral("records"), records }, { QStringLiteral("removals"), removals } };
    const QByteArray bytes = QJsonDocument(journal).toJson(QJsonDocument::Compact);

    QStringList reasons;
    for (const QString &path : paths) {
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            // flush() before commit(): QSaveFile's commit misses a write
            // that fails only when its buffer is flushed (a full disk).
            if (file.write(bytes) == bytes.size() && file.flush() && file.commit())
                return path;
        }
        reasons << QStringLiteral("%1: %2").arg(path, file.errorString());
        file.cancelWriting();
    }
    if (error)
        *error = reasons.join(QStringLiteral("; "));
    return std::nullopt;
}

std::optional<int> RecoveryJournal::replay(Store &store, const QString &path, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return std::optional<int>();
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    QJsonParseError parsed {};
    const QJsonObject journal = QJsonDocument::fromJson(file.readAll(), &parsed).object();
    if (parsed.error != QJsonParseError::NoError)
        return fail(parsed.errorString());
    if (journal.value(QStringLiteral("recovery")).toInt() != Format)
        return fail(QStringLiteral("not a recovery journal Quillery can read"));
    if (journal.value(QStringLiteral("book")).toString() != absoluteBook(store.path()))
        return fail(
            QStringLiteral("the journal belongs to the book %1").arg(journal.value(QStringLiteral("book")).toString()));

    int applied = 0;
    for (const QJsonValue value : journal.value(QStringLiteral("records")).toArray()) {
        const QJsonObject o = value.toObject();
        const auto kind = kindOf(o.value(QStringLiteral("kind")).toString());
        const QUuid id = uuidFromString(o.value(QStringLiteral("id")).toString());
        const qint64 modified = qint64(o.value(QStringLiteral("modified")).toDouble());
        if (!kind || id.isNull())
            continue;
        Record *record = live(store, *kind, id);
        // The book already holds this version or a later one.
        if (record ? record->m_modified >= modified : storedDeletion(store, id).value_or(-1) >= modified)
            continue;
        const bool fresh = !record;
        if (fresh) {
            if (*kind == Record::Kind::Page)
                record = new Page();
            else if (*kind == Record::Kind::Task)
                record = new TaskItem();
            else
                record = new Attachment();
            record->setId(id);
        }
        // Links once the record is in the store, which they are looked up in.
        const StoredField *link = linkOf(*kind);
        for (const StoredField &entry : fieldsOf(*kind)) {
            const QJsonValue stored = o.value(QLatin1String(entry.name));
            if (&entry != link && (entry.type != FieldType::Bytes || !stored.isUndefined()))
                entry.set(*record, fromJson(entry, stored));
        }
        if (fresh)
            store.insert(record);
        if (link)
            link->set(*record, fromJson(*link, o.value(QLatin1String(link->name))));
        // The version keeps the moment it was made, for the mirror to order.
        record->m_modified = modified;
        record->m_pending = o.value(QStringLiteral("pending")).toBool(true);
        store.markDirty(record);
        ++applied;
    }

    for (const QJsonValue value : journal.value(QStringLiteral("removals")).toArray()) {
        const QJsonObject o = value.toObject();
        const auto kind = kindOf(o.value(QStringLiteral("kind")).toString());
        const QUuid id = uuidFromString(o.value(QStringLiteral("id")).toString());
        const qint64 when = qint64(o.value(QStringLiteral("when")).toDouble());
        if (!kind || id.isNull())
            continue;
        Record *record = live(store, *kind, id);
        if (record && record->m_modified > when)
            continue; // changed again after it was deleted elsewhere
        if (record)
            store.remove(record);
        const auto same = [&id](const StoreRemoval &r) { return r.id == id; };
        auto it = std::find_if(store.m_unsavedRemovals.begin(), store.m_unsavedRemovals.end(), same);
        if (it == store.m_unsavedRemovals.end()) {
            if (!record && storedDeletion(store, id).value_or(-1) >= when)
                continue;
            store.m_unsavedRemovals.append({ *kind, 0, id, when, true });
            it = store.m_unsavedRemovals.end() - 1;
        }
        it->when = when;
        it->pending = o.value(QStringLiteral("pending")).toBool(true);
        ++applied;
    }
    if (applied > 0)
        store.scheduleAutosave();
    return applied;
}

} // namespace quillery
