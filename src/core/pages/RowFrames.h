#pragma once

#include <QHash>
#include <QRectF>
#include <QUuid>

#include <initializer_list>
#include <optional>
#include <utility>

namespace quillery {

// Where each visible task row of a page lies, by task id, in the page list's
// own coordinates (origin at the top of the list content, not the viewport).
// Rows report one entry each, in list order; combining keeps the later
// report of an id, so a row drawn twice during a transition leaves the frame
// it was drawn at last.
class RowFrames final
{
public:
    RowFrames() = default;
    RowFrames(std::initializer_list<std::pair<QUuid, QRectF>> entries);

    // Merges `next` into this map; its rectangles replace earlier ones.
    void reduce(const RowFrames &next);
    void report(const QUuid &id, const QRectF &frame);

    std::optional<QRectF> frame(const QUuid &id) const;
    bool contains(const QUuid &id) const { return m_frames.contains(id); }
    qsizetype size() const { return m_frames.size(); }
    bool isEmpty() const { return m_frames.isEmpty(); }
    const QHash<QUuid, QRectF> &frames() const { return m_frames; }

    friend bool operator==(const RowFrames &, const RowFrames &) = default;

private:
    QHash<QUuid, QRectF> m_frames;
};

} // namespace quillery
