#include "Attachment.h"

#include "Store.h"
#include "TaskItem.h"

namespace quillery {

Attachment::Attachment(const QString &name, const QString &typeIdentifier, std::optional<QByteArray> data)
    : m_name(name)
    , m_typeIdentifier(typeIdentifier)
    , m_data(std::move(data))
    , m_dataDirty(m_data.has_value())
{
    if (m_data)
        m_dataSize = m_data->size();
}

Attachment::~Attachment()
{
    if (m_task && m_task->m_extra)
        m_task->m_extra->attachments.removeOne(this);
}

std::span<const StoredField> Attachment::fields()
{
    using fields::value;
    static const StoredField table[] = {
        value<&Attachment::m_name, &Attachment::setName>(Field::Name, "name", "name"),
        value<&Attachment::m_typeIdentifier, &Attachment::setTypeIdentifier>(
            Field::TypeIdentifier, "typeIdentifier", "type_identifier"),
        createdField(),
        content(),
        taskLink(),
    };
    return table;
}

StoredField Attachment::content()
{
    StoredField entry { Field::Data, FieldType::Bytes, "data", "data", QVariant() };
    // Read from the file when not loaded, and then not kept in memory.
    entry.get = [](const Record &record) {
        const auto &attachment = static_cast<const Attachment &>(record);
        std::optional<QByteArray> bytes = attachment.m_data;
        if (!attachment.m_dataLoaded && attachment.m_dataSize && attachment.store())
            bytes = attachment.store()->loadAttachmentData(&attachment);
        return bytes ? QVariant(*bytes) : QVariant();
    };
    // Content equal to what is there already is neither rewritten nor kept
    // loaded; the sizes tell most differences without reading the file.
    entry.set = [](Record &record, const QVariant &value) {
        auto &attachment = static_cast<Attachment &>(record);
        const std::optional<QByteArray> bytes = value.isNull() ? std::nullopt : std::optional(value.toByteArray());
        const bool sameSize = bytes ? attachment.dataSize() == qint64(bytes->size()) : !attachment.hasData();
        if (!sameSize || (bytes && attachment.data() != bytes))
            attachment.setData(bytes);
        else
            attachment.unloadData();
    };
    return entry;
}

StoredField Attachment::taskLink()
{
    StoredField entry { Field::TaskLink, FieldType::Link, "task", "task_id", QVariant::fromValue(QUuid()) };
    entry.target = Kind::Task;
    entry.get = [](const Record &record) {
        const TaskItem *task = static_cast<const Attachment &>(record).m_task;
        return QVariant::fromValue(task ? task->id() : QUuid());
    };
    entry.set = [](Record &record, const QVariant &value) {
        Store *store = record.store();
        static_cast<Attachment &>(record).setTask(store ? store->task(value.toUuid()) : nullptr);
    };
    entry.fill = [](Record &record, const QVariant &value) {
        auto &attachment = static_cast<Attachment &>(record);
        if (TaskItem *task = attachment.store()->task(value.toUuid())) {
            attachment.m_task = task;
            task->extra().attachments.append(&attachment);
        }
    };
    return entry;
}

void Attachment::setName(const QString &name)
{
    assign(m_name, name, Field::Name, &AttachmentNotifier::nameChanged);
}

void Attachment::setTypeIdentifier(const QString &identifier)
{
    assign(m_typeIdentifier, identifier, Field::TypeIdentifier, &AttachmentNotifier::typeIdentifierChanged);
}

std::optional<QByteArray> Attachment::data() const
{
    if (!m_dataLoaded) {
        m_dataLoaded = true;
        if (store() && m_dataSize)
            m_data = store()->loadAttachmentData(this);
    }
    return m_data;
}

void Attachment::setData(const std::optional<QByteArray> &data)
{
    if (m_dataLoaded && m_data == data)
        return;
    willChange(Field::Data);
    m_data = data;
    m_dataLoaded = true;
    m_dataDirty = true;
    m_dataSize = data ? std::optional<qint64>(data->size()) : std::nullopt;
    didChange(Field::Data);
    notify(Field::Data, &AttachmentNotifier::dataChanged);
}

void Attachment::unloadData()
{
    if (m_dataDirty || !isInserted() || !isStored())
        return;
    m_data.reset();
    m_dataLoaded = false;
}

void Attachment::setTask(TaskItem *task)
{
    if (m_task == task)
        return;
    willChange(Field::TaskLink);
    TaskItem *old = m_task;
    m_task = task;
    if (old)
        old->detachAttachment(this);
    if (task)
        task->attachAttachment(this);
    didChange(Field::TaskLink);
    notify(Field::TaskLink, &AttachmentNotifier::taskChanged);
}

} // namespace quillery
