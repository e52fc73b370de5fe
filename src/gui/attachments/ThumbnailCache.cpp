#include "ThumbnailCache.h"

#include "ImageCodec.h"

#include <QCryptographicHash>

namespace quillery {

ThumbnailCache::ThumbnailCache(qint64 maxBytes, Decoder decoder)
    : m_decoder(decoder ? std::move(decoder) : Decoder(&decodeThumbnail))
    , m_done(qsizetype(maxBytes / 1024))
{ }

void ThumbnailCache::clear()
{
    const QMutexLocker lock(&m_mutex);
    m_done.clear();
}

std::optional<QImage> ThumbnailCache::thumbnail(const QByteArray &data, int maxPixel)
{
    const Key key { QCryptographicHash::hash(data, QCryptographicHash::Blake2b_256), maxPixel };
    std::promise<Result> promise;
    {
        QMutexLocker lock(&m_mutex);
        if (const Result *done = m_done.object(key))
            return *done;
        if (const auto running = m_running.constFind(key); running != m_running.cend()) {
            // A copy, not a reference: the entry may go once the lock is let go.
            const std::shared_future<Result> result = *running; // NOLINT(performance-unnecessary-copy-initialization)
            lock.unlock();
            return result.get();
        }
        m_running.insert(key, promise.get_future().share());
    }
    Result result = m_decoder(data, maxPixel);
    {
        QMutexLocker lock(&m_mutex);
        const qsizetype cost = 1 + (result ? result->sizeInBytes() / 1024 : 0);
        m_done.insert(key, new Result(result), cost);
        m_running.remove(key);
    }
    promise.set_value(result);
    return result;
}

} // namespace quillery
