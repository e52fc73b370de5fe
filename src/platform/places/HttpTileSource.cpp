#include "HttpTileSource.h"

#include "core/attachments/ImageFormat.h"
#include "core/util/PrivateFiles.h"

#include <QBuffer>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QStandardPaths>

#include <sys/stat.h>

namespace quillery {

namespace {

QImage decodeTile(const QByteArray &bytes)
{
    // Only the formats tile servers send, known by their bytes: a reader
    // chosen by whatever the bytes claim could be handed a compressed SVG.
    const QByteArray format = imageFormatOf(bytes);
    if (format != "png" && format != "jpeg" && format != "webp")
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    const QSize size = reader.size();
    // Refuse before decoding: a hostile header can claim any size.
    if (!size.isValid() || size.width() > HttpTileSource::MaxTileSide || size.height() > HttpTileSource::MaxTileSide)
        return {};
    return reader.read();
}

} // namespace

HttpTileSource::HttpTileSource(Options options, QObject *parent)
    : MapTileSource(parent)
    , m_options(std::move(options))
    , m_network([directory = m_options.cacheDirectory, bytes = m_options.cacheBytes](QNetworkAccessManager &manager) {
        if (directory.isEmpty())
            return;
        // The disk cache lays out its folders when it is given its directory
        // (on the network thread, when the first tile is asked for), with
        // the umask's mode: they are born private here, whatever the umask,
        // rather than tightened afterwards, which left them open to others
        // for a moment and for good when the program ended meanwhile. A
        // cache left by an older version is tightened as well.
        PrivateFiles::makeDirectory(directory);
        auto *cache = new QNetworkDiskCache(&manager);
        const mode_t umask = ::umask(077);
        cache->setCacheDirectory(directory);
        ::umask(umask);
        PrivateFiles::tightenTree(directory);
        cache->setMaximumCacheSize(bytes);
        manager.setCache(cache);
    })
    , m_memory(24)
{ }

HttpTileSource::~HttpTileSource() = default;

QString HttpTileSource::defaultCacheDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/tiles");
}

void HttpTileSource::requestTile(const MapTile &tile)
{
    const int count = 1 << std::clamp(tile.z, 0, 30);
    if (!m_options.server || tile.z < 0 || tile.z > m_options.maxZoom || tile.x < 0 || tile.x >= count || tile.y < 0
        || tile.y >= count) {
        failLater(tile);
        return;
    }
    if (const QImage *image = m_memory.object(tile)) {
        const QImage copy = *image;
        QMetaObject::invokeMethod(
            this, [this, tile, copy] { Q_EMIT tileReady(tile, copy); }, Qt::QueuedConnection);
        return;
    }
    if (m_running.contains(tile) || m_queue.contains(tile))
        return;
    m_queue.append(tile);
    startMore();
}

void HttpTileSource::startMore()
{
    while (!m_queue.isEmpty() && m_running.size() < m_options.parallel)
        fetch(m_queue.takeLast(), QNetworkRequest::PreferNetwork); // the newest request is the one on screen
}

void HttpTileSource::fetch(const MapTile &tile, QNetworkRequest::CacheLoadControl cache)
{
    HttpGet::Options options;
    options.url = m_options.server->url(tile);
    options.accept = "image/png,image/jpeg;q=0.9,image/*;q=0.5";
    options.acceptsType = &HttpGet::isImage;
    options.timeoutMs = m_options.timeoutMs;
    options.maxBytes = m_options.maxBytes;
    options.cache = cache;
    m_running.insert(tile,
        std::make_shared<HttpGet>(
            m_network, options, [this, tile, cache](const HttpGet::Answer &answer) { take(tile, cache, answer); }));
}

void HttpTileSource::take(const MapTile &tile, QNetworkRequest::CacheLoadControl cache, const HttpGet::Answer &answer)
{
    // Keep the finished request alive until this call has returned.
    const std::shared_ptr<HttpGet> request = m_running.take(tile);
    QMetaObject::invokeMethod(
        this, [request] {}, Qt::QueuedConnection);

    if (answer.failed() && answer.unreachable && cache != QNetworkRequest::AlwaysCache
        && m_network.manager().cache() != nullptr) {
        // Offline: whatever the cache holds, however old, beats no map.
        fetch(tile, QNetworkRequest::AlwaysCache);
        return;
    }
    const QImage image = answer.failed() ? QImage() : decodeTile(answer.body);
    if (image.isNull())
        Q_EMIT tileFailed(tile);
    else
        deliver(tile, image);
    startMore();
}

void HttpTileSource::deliver(const MapTile &tile, const QImage &image)
{
    m_memory.insert(tile, new QImage(image));
    Q_EMIT tileReady(tile, image);
}

void HttpTileSource::failLater(const MapTile &tile)
{
    QMetaObject::invokeMethod(
        this, [this, tile] { Q_EMIT tileFailed(tile); }, Qt::QueuedConnection);
}

} // namespace quillery
