#include "ThumbCache.h"

namespace quillery::ui {

ThumbCache::ThumbCache(int capacity)
    : m_capacity(std::max(1, capacity))
{ }

const QPixmap &ThumbCache::picture(
    const Page &page, int number, bool hideCompleted, const PageThumb::Look &look, qreal devicePixelRatio)
{
    if (look != m_look || devicePixelRatio != m_ratio || hideCompleted != m_hideCompleted) {
        m_entries.clear();
        m_look = look;
        m_ratio = devicePixelRatio;
        m_hideCompleted = hideCompleted;
    }
    ++m_clock;
    auto found = m_entries.find(&page);
    if (found != m_entries.end() && found->number == number) {
        found->used = m_clock;
        return found->pixmap;
    }
    if (found == m_entries.end() && m_entries.size() >= m_capacity) {
        auto oldest = m_entries.begin();
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->used < oldest->used)
                oldest = it;
        }
        m_entries.erase(oldest);
    }
    ++m_drawn;
    Entry &entry = m_entries[&page];
    entry.pixmap = PageThumb::picture(PageThumb::content(page, number, hideCompleted), look, devicePixelRatio);
    entry.number = number;
    entry.used = m_clock;
    return entry.pixmap;
}

void ThumbCache::drop(const Page *page)
{
    m_entries.remove(page);
}

void ThumbCache::clear()
{
    m_entries.clear();
}

} // namespace quillery::ui
