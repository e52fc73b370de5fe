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
