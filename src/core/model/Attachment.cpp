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
    if (m_task)
        m_task->m_attachments.removeOne(this);
}

void Attachment::setName(const QString &name)
{
    assign(m_name, name, Field::Name, &Attachment::nameChanged);
}

void Attachment::setTypeIdentifier(const QString &identifier)
{
    assign(m_typeIdentifier, identifier, Field::TypeIdentifier, &Attachment::typeIdentifierChanged);
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
    Q_EMIT dataChanged();
    Q_EMIT changed(Field::Data);
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
    Q_EMIT taskChanged();
    Q_EMIT changed(Field::TaskLink);
}

} // namespace quillery
