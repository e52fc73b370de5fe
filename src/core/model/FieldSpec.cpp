#include "FieldSpec.h"

#include "Attachment.h"
#include "Page.h"
#include "TaskItem.h"

namespace quillery {

std::span<const FieldSpec> fieldsOf(Record::Kind kind)
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
    const std::span<const FieldSpec> specs = fieldsOf(kind);
    for (size_t i = 0; i < specs.size(); ++i) {
        if (specs[i].field == field)
            return int(i);
    }
    return -1;
}

const FieldSpec *linkOf(Record::Kind kind)
{
    for (const FieldSpec &spec : fieldsOf(kind)) {
        if (spec.type == FieldType::Link)
            return &spec;
    }
    return nullptr;
}

} // namespace quillery
