#include "RecordState.h"

#include "core/model/Attachment.h"
#include "core/model/MirrorAccess.h"
#include "core/model/Page.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"

#include <algorithm>

namespace quillery {

namespace {

void writeValue(const RecordState &s, Field field, Record &record)
{
    // Only fields of the record's own kind are ever written.
    auto *pageRecord = qobject_cast<Page *>(&record);
    auto *taskRecord = qobject_cast<TaskItem *>(&record);
    auto *attachmentRecord = qobject_cast<Attachment *>(&record);
    switch (field) {
    case Field::Id:
    case Field::PageLink:
    case Field::TaskLink:
        break;
    case Field::Created:
        record.setCreated(QDateTime::fromMSecsSinceEpoch(s.created, Qt::UTC));
        break;
    case Field::Position:
        pageRecord->setPosition(s.position);
        break;
    case Field::Title:
        pageRecord->setTitle(s.title);
        break;
    case Field::ColorIndex:
        pageRecord->setColorIndex(s.colorIndex);
        break;
    case Field::Text:
        taskRecord->setText(s.text);
        break;
    case Field::Done:
        taskRecord->setDone(s.done);
        break;
    case Field::Order:
        taskRecord->setOrder(s.order);
        break;
    case Field::Due:
        taskRecord->setDue(toDateTime(s.due));
        break;
    case Field::Alarm:
        taskRecord->setAlarm(toDateTime(s.alarm));
        break;
    case Field::Notes:
        taskRecord->setNotes(s.notes);
        break;
    case Field::PlaceName:
        taskRecord->setPlaceName(s.placeName);
        break;
    case Field::PlaceAddress:
        taskRecord->setPlaceAddress(s.placeAddress);
        break;
    case Field::Latitude:
        taskRecord->setLatitude(s.latitude);
        break;
    case Field::Longitude:
        taskRecord->setLongitude(s.longitude);
        break;
    case Field::Indent:
        taskRecord->setIndent(s.indent);
        break;
    case Field::Name:
        attachmentRecord->setName(s.name);
        break;
    case Field::TypeIdentifier:
        attachmentRecord->setTypeIdentifier(s.typeIdentifier);
        break;
    case Field::Data:
        attachmentRecord->setData(s.data);
        break;
    }
}

} // namespace

RecordState RecordState::of(const Record &record)
{
    RecordState s;
    s.kind = record.kind();
    s.id = record.id();
    s.created = record.createdMSecs();
    switch (s.kind) {
    case Record::Kind::Page: {
        const auto &page = static_cast<const Page &>(record);
        s.position = page.position();
        s.title = page.title();
        s.colorIndex = page.colorIndex();
        break;
    }
    case Record::Kind::Task: {
        const auto &task = static_cast<const TaskItem &>(record);
        s.text = task.text();
        s.done = task.done();
        s.order = task.order();
        s.due = toMSecs(task.due());
        s.alarm = toMSecs(task.alarm());
        s.notes = task.notes();
        s.placeName = task.placeName();
        s.placeAddress = task.placeAddress();
        s.latitude = task.latitude();
        s.longitude = task.longitude();
        s.indent = task.indent();
        if (task.page())
            s.page = task.page()->id();
        break;
    }
    case Record::Kind::Attachment: {
        const auto &attachment = static_cast<const Attachment &>(record);
        s.name = attachment.name();
        s.typeIdentifier = attachment.typeIdentifier();
        // Read without keeping the bytes in the record: a removed record can
        // no longer load them once the store has let it go.
        s.data = MirrorAccess::attachmentBytes(&attachment);
        if (attachment.task())
            s.task = attachment.task()->id();
        break;
    }
    }
    return s;
}

const QList<Field> &RecordState::fields(Record::Kind kind)
{
    static const QList<Field> page { Field::Created, Field::Position, Field::Title, Field::ColorIndex };
    static const QList<Field> task { Field::Created, Field::Text, Field::Done, Field::Order, Field::Due, Field::Alarm,
        Field::Notes, Field::PlaceName, Field::PlaceAddress, Field::Latitude, Field::Longitude, Field::Indent,
        Field::PageLink };
    static const QList<Field> attachment { Field::Created, Field::Name, Field::TypeIdentifier, Field::Data,
        Field::TaskLink };
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

bool RecordState::same(const RecordState &o, Field field) const
{
    switch (field) {
    case Field::Id:
        return id == o.id;
    case Field::Created:
        return created == o.created;
    case Field::Position:
        return position == o.position;
    case Field::Title:
        return title == o.title;
    case Field::ColorIndex:
        return colorIndex == o.colorIndex;
    case Field::Text:
        return text == o.text;
    case Field::Done:
        return done == o.done;
    case Field::Order:
        return order == o.order;
    case Field::Due:
        return due == o.due;
    case Field::Alarm:
        return alarm == o.alarm;
    case Field::Notes:
        return notes == o.notes;
    case Field::PlaceName:
        return placeName == o.placeName;
    case Field::PlaceAddress:
        return placeAddress == o.placeAddress;
    case Field::Latitude:
        return latitude == o.latitude;
    case Field::Longitude:
        return longitude == o.longitude;
    case Field::Indent:
        return indent == o.indent;
    case Field::PageLink:
        return page == o.page;
    case Field::Name:
        return name == o.name;
    case Field::TypeIdentifier:
        return typeIdentifier == o.typeIdentifier;
    case Field::Data:
        return data == o.data;
    case Field::TaskLink:
        return task == o.task;
    }
    return true;
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

Record *RecordState::parent(const Store &store) const
{
    if (kind == Record::Kind::Task)
        return store.page(page);
    if (kind == Record::Kind::Attachment)
        return store.task(task);
    return nullptr;
}

bool RecordState::write(Field field, Record &record, const Store &store) const
{
    if (field == Field::PageLink) {
        Page *target = store.page(page);
        if (!page.isNull() && !target)
            return false;
        static_cast<TaskItem &>(record).setPage(target);
    } else if (field == Field::TaskLink) {
        TaskItem *target = store.task(task);
        if (!task.isNull() && !target)
            return false;
        static_cast<Attachment &>(record).setTask(target);
    } else {
        writeValue(*this, field, record);
    }
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
    for (Field field : fields(kind))
        writeValue(*this, field, *record);
    return record;
}

} // namespace quillery
