#pragma once

#include "PageThumb.h"

#include <QHash>
#include <QPixmap>

namespace quillery {
class Page;
}

namespace quillery::ui {

// The pictures of the page thumbnails drawn lately, so that scrolling back
// and repainting cost a copy each. Holds a few screens' worth, forgetting the
// least recently used; forgets everything when the look changes, and a page
// whenever the caller says the page changed.
class ThumbCache final
{
public:
    explicit ThumbCache(int capacity = 48);

    // The picture of `page` as page `number`, drawn now unless kept.
    const QPixmap &picture(
        const Page &page, int number, bool hideCompleted, const PageThumb::Look &look, qreal devicePixelRatio);

    void drop(const Page *page);
    void clear();

    int size() const { return int(m_entries.size()); }
    int capacity() const { return m_capacity; }
    // How many pictures were drawn (not found kept) so far.
    int drawn() const { return m_drawn; }

private:
    struct Entry {
        QPixmap pixmap;
        int number = 0;
        quint64 used = 0;
    };

    int m_capacity;
    QHash<const Page *, Entry> m_entries;
    PageThumb::Look m_look;
    qreal m_ratio = 0;
    bool m_hideCompleted = false;
    quint64 m_clock = 0;
    int m_drawn = 0;
};

} // namespace quillery::ui
