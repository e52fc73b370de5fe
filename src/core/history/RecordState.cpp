#include "RecordState.h"

#include "core/model/Attachment.h"
#include "core/model/Page.h"
#include "core/model/Store.h"
#include "core/model/StoredField.h"
#include "core/model/TaskItem.h"

#include <algorithm>

namespace quillery {

namespace {

Record *find(const Store &store, Record::Kind kind, const QUuid &id)
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

} // namespace

RecordState RecordState::of(const Record &record)
{
    RecordState s;
    s.kind = record.kind();
    s.id = record.id();
    for (const StoredField &entry : fieldsOf(s.kind))
        s.values.append(entry.get(record));
    return s;
}

const QList<Field> &RecordState::fields(Record::Kind kind)
{
    static const auto listOf = [](Record::Kind of) {
        QList<Field> list;
        for (const StoredField &entry : fieldsOf(of))
            list.append(entry.field);
        return list;
    };
    static const QList<Field> page = listOf(Record::Kind::Page);
    static const QList<Field> task = listOf(Record::Kind::Task);
    static const QList<Field> attachment = listOf(Record::Kind::Attachment);
    switch (kind) {
    case Record::Kind::Page:
        return page;
    case Record::Kind::Task:
        return task;
    case Record::Kind::Attachment:
        break;
    }
    return attachment;
}

QVariant RecordState::value(Field field) const
{
    if (field == Field::Id)
        return QVariant::fromValue(id);
    const int index = fieldIndex(kind, field);
    return index >= 0 ? values.value(index) : QVariant();
}

bool RecordState::same(const RecordState &other, Field field) const
{
    const QVariant mine = value(field);
    const QVariant theirs = other.value(field);
    return mine.isNull() == theirs.isNull() && (mine.isNull() || mine == theirs);
}

bool RecordState::sameFields(const RecordState &other) const
{
    if (kind != other.kind || id != other.id)
        return false;
    const QList<Field> &all = fields(kind);
    return std::all_of(all.begin(), all.end(), [&](Field field) { return same(other, field); });
}

Record *RecordState::live(const Store &store) const
{
    return find(store, kind, id);
}

Record *RecordState::parent(const Store &store) const
{
    const StoredField *link = linkOf(kind);
    return link ? find(store, link->target, value(link->field).toUuid()) : nullptr;
}

bool RecordState::isLinked() const
{
    const StoredField *link = linkOf(kind);
    return link && !value(link->field).toUuid().isNull();
}

bool RecordState::write(Field field, Record &record, const Store &store) const
{
    const int index = fieldIndex(kind, field);
    if (index < 0)
        return true;
    const StoredField &entry = fieldsOf(kind)[index];
    const QVariant &v = values.at(index);
    if (entry.type == FieldType::Link) {
        const QUuid target = v.toUuid();
        if (!target.isNull() && !find(store, entry.target, target))
            return false;
    }
    entry.set(record, v);
    return true;
}

Record *RecordState::make() const
{
    Record *record = nullptr;
    switch (kind) {
    case Record::Kind::Page:
        record = new Page();
        break;
    case Record::Kind::Task:
        record = new TaskItem();
        break;
    case Record::Kind::Attachment:
        record = new Attachment();
        break;
    }
    record->setId(id);
    const std::span<const StoredField> entries = fieldsOf(kind);
    for (qsizetype i = 0; i < qsizetype(entries.size()); ++i) {
        if (entries[i].type != FieldType::Link)
            entries[i].set(*record, values.at(i));
    }
    return record;
}

} // namespace quillery
