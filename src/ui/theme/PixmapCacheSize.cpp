#include "PixmapCacheSize.h"

#include <QPixmapCache>

#include <malloc.h>

namespace quillery::ui {

void reservePixmapCache()
{
    constexpr int Kilobytes = 64 * 1024;
    QPixmapCache::setCacheLimit(Kilobytes);
}

void releaseWindowMemory()
{
    QPixmapCache::clear();
    // The allocator keeps freed pages for the next allocation; a process
    // that waits in the background for hours has no use for them.
    ::malloc_trim(0);
}

} // namespace quillery::ui
