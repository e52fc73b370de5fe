#include "PixmapCacheSize.h"

#include <QPixmapCache>

namespace quillery::ui {

void reservePixmapCache()
{
    constexpr int Kilobytes = 64 * 1024;
    QPixmapCache::setCacheLimit(Kilobytes);
}

} // namespace quillery::ui
