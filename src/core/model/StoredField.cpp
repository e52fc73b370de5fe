#include "StoredField.h"

#include "Attachment.h"
#include "Page.h"
#include "TaskItem.h"

namespace quillery {

std::span<const StoredField> fieldsOf(Record::Kind kind)
{
    switch (kind) {
    case Record::Kind::Page:
        return Page::fields();
    case Record::Kind::Task:
        return TaskItem::fields();
    case Record::Kind::Attachment:
        return Attachment::fields();
    }
    return {};
}

int fieldIndex(Record::Kind kind, Field field)
{
    const std::span<const StoredField> entries = fieldsOf(kind);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].field == field)
            return int(i);
    }
    return -1;
}

const StoredField *linkOf(Record::Kind kind)
{
    for (const StoredField &entry : fieldsOf(kind)) {
        if (entry.type == FieldType::Link)
            return &entry;
    }
    return nullptr;
}

} // namespace quillery
