#include "Record.h"

#include "Store.h"
#include "StoredField.h"

namespace quillery {

Record::Record() = default;

Record::Record(LoadTag)
    : m_id()
    , m_created(0)
{ }
Record::~Record() = default;

RecordNotifier *Record::notifier() const
{
    if (!m_notifier)
        m_notifier = makeNotifier();
    return m_notifier.get();
}

void Record::setId(const QUuid &id)
{
    if (id.isNull())
        return;
    assign(m_id, id, Field::Id, &RecordNotifier::idChanged);
}

void Record::setCreated(const QDateTime &created)
{
    if (!created.isValid())
        return;
    m_createdGiven = true;
    assign(m_created, created.toMSecsSinceEpoch(), Field::Created, &RecordNotifier::createdChanged);
}

StoredField Record::createdField()
{
    StoredField entry { Field::Created, FieldType::Time, "created", "created", QVariant() };
    entry.get = [](const Record &record) { return QVariant(record.m_created); };
    entry.set = [](Record &record, const QVariant &value) {
        if (!value.isNull())
            record.setCreated(QDateTime::fromMSecsSinceEpoch(value.toLongLong(), Qt::UTC));
    };
    entry.fill = [](Record &record, const QVariant &value) {
        if (!value.isNull())
            record.m_created = value.toLongLong();
    };
    return entry;
}

void Record::willChange(Field field)
{
    if (m_store)
        m_store->recordWillChange(this, field);
}

void Record::didChange(Field field)
{
    if (m_store)
        m_store->recordDidChange(this, field);
}

const char *entityName(Record::Kind kind)
{
    switch (kind) {
    case Record::Kind::Page:
        return "page";
    case Record::Kind::Task:
        return "task";
    case Record::Kind::Attachment:
        return "attachment";
    }
    return "";
}

} // namespace quillery
