#include "MirrorRecord.h"

#include <cstring>

namespace quillery {

bool isLater(const MirrorStamp &a, const MirrorStamp &b)
{
    if (a.modified != b.modified)
        return a.modified > b.modified;
    const QByteArray left = a.device.toRfc4122();
    const QByteArray right = b.device.toRfc4122();
    return std::memcmp(left.constData(), right.constData(), 16) > 0;
}

QVariant MirrorRecord::value(Field field) const
{
    const int index = fieldIndex(kind, field);
    if (index < 0)
        return {};
    return index < values.size() ? values.at(index) : fieldsOf(kind)[size_t(index)].defaultValue;
}

void MirrorRecord::setValue(Field field, const QVariant &value)
{
    const int index = fieldIndex(kind, field);
    if (index < 0)
        return;
    const auto entries = fieldsOf(kind);
    while (values.size() <= index)
        values.append(entries[size_t(values.size())].defaultValue);
    values[index] = value;
}

QUuid MirrorRecord::parentId() const
{
    const StoredField *link = linkOf(kind);
    return link ? value(link->field).toUuid() : QUuid();
}

qint64 MirrorRecord::contentSize() const
{
    qint64 size = 0;
    const auto entries = fieldsOf(kind);
    for (qsizetype i = 0; i < values.size() && size_t(i) < entries.size(); ++i) {
        if (entries[size_t(i)].type == FieldType::Bytes)
            size += values.at(i).toByteArray().size();
    }
    return size;
}

std::optional<Record::Kind> mirrorKind(QStringView entity)
{
    if (entity == u"page")
        return Record::Kind::Page;
    if (entity == u"task")
        return Record::Kind::Task;
    if (entity == u"attachment")
        return Record::Kind::Attachment;
    return std::nullopt;
}

} // namespace quillery
