#pragma once

#include <QByteArray>
#include <QCache>
#include <QHash>
#include <QImage>
#include <QMutex>

#include <functional>
#include <future>
#include <optional>

namespace quillery {

// Decoded attachment pictures shared by every view that shows them: each
// picture is decoded once per size and kept while there is room, so that
// reopening a card or scrolling a strip back never decodes again, and a
// picture that could not be decoded (refused by the budget, say) is not tried
// again either. Pictures are known by a digest of their bytes, so the same
// bytes in two attachments are one picture. Safe from any thread; threads
// asking for the same picture at once wait for one decode.
class ThumbnailCache final
{
public:
    using Decoder = std::function<std::optional<QImage>(const QByteArray &data, int maxPixel)>;

    // What the program keeps for its views: room for a few hundred tiles, or
    // the viewer's picture and many tiles.
    static constexpr qint64 ProgramBytes = 64 * 1024 * 1024;

    // `decoder` defaults to decodeThumbnail.
    explicit ThumbnailCache(qint64 maxBytes, Decoder decoder = {});

    // decodeThumbnail(data, maxPixel), from the cache when it is there.
    std::optional<QImage> thumbnail(const QByteArray &data, int maxPixel);

    // Lets go of every picture kept (those being decoded finish as asked).
    void clear();

private:
    using Key = std::pair<QByteArray, int>; // digest, size
    using Result = std::optional<QImage>;

    Decoder m_decoder;
    QMutex m_mutex;
    QCache<Key, Result> m_done; // cost in kilobytes
    QHash<Key, std::shared_future<Result>> m_running;
};

} // namespace quillery
