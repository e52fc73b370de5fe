#include "RowFrames.h"

namespace quillery {

RowFrames::RowFrames(std::initializer_list<std::pair<QUuid, QRectF>> entries)
{
    for (const auto &[id, frame] : entries)
        report(id, frame);
}

void RowFrames::reduce(const RowFrames &next)
{
    for (auto it = next.m_frames.cbegin(); it != next.m_frames.cend(); ++it)
        m_frames.insert(it.key(), it.value());
}

void RowFrames::report(const QUuid &id, const QRectF &frame)
{
    m_frames.insert(id, frame);
}

std::optional<QRectF> RowFrames::frame(const QUuid &id) const
{
    const auto found = m_frames.constFind(id);
    if (found == m_frames.constEnd())
        return std::nullopt;
    return *found;
}

} // namespace quillery
