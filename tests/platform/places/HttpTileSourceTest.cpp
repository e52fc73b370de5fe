#include "platform/places/HttpTileSource.h"
#include "LocalHttpServer.h"
#include "core/places/PlaceEndpoints.h"

#include <QBuffer>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::LocalHttpServer;
using Response = LocalHttpServer::Response;

namespace {

QByteArray png(const QColor &color, int side = 256)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

Response tile(const QByteArray &bytes, const QByteArray &type = "image/png")
{
    Response response;
    response.contentType = type;
    response.body = bytes;
    response.headers.append(std::pair<QByteArray, QByteArray>("Cache-Control", "max-age=86400"));
    return response;
}

HttpTileSource::Options options(const LocalHttpServer &server, const QString &cache = {})
{
    HttpTileSource::Options options;
    options.server = TileUrlTemplate::parse(server.origin() + QStringLiteral("/{z}/{x}/{y}.png"));
    EXPECT_TRUE(options.server);
    options.cacheDirectory = cache;
    options.timeoutMs = 1500;
    return options;
}

struct Outcome {
    std::optional<QImage> image;
    bool failed = false;
};

Outcome fetch(HttpTileSource &source, const MapTile &tile)
{
    Outcome outcome;
    QObject guard;
    QObject::connect(&source, &MapTileSource::tileReady, &guard, [&](const MapTile &t, const QImage &image) {
        if (t == tile)
            outcome.image = image;
    });
    QObject::connect(&source, &MapTileSource::tileFailed, &guard, [&](const MapTile &t) {
        if (t == tile)
            outcome.failed = true;
    });
    source.requestTile(tile);
    EXPECT_TRUE(QTest::qWaitFor([&] { return outcome.image || outcome.failed; }, 8000)) << "no answer in time";
    return outcome;
}

} // namespace

TEST(HttpTileSource, fetchesTilesWithItsUserAgentAndAsksOnceForTheSameTile)
{
    LocalHttpServer server([](const LocalHttpServer::Request &) { return tile(png(Qt::blue)); });
    HttpTileSource source(options(server));
    QSignalSpy ready(&source, &MapTileSource::tileReady);
    source.requestTile({ 15, 17602, 10746 });
    source.requestTile({ 15, 17602, 10746 });
    ASSERT_TRUE(QTest::qWaitFor([&] { return ready.size() == 1; }, 8000));
    QTest::qWait(50);
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().first().path(), QStringLiteral("/15/17602/10746.png"));
    EXPECT_EQ(server.requests().first().headers.value("user-agent"), PlaceEndpoints::userAgent());
    const QImage image = ready.first().at(1).value<QImage>();
    EXPECT_EQ(image.size(), QSize(256, 256));
    EXPECT_EQ(QColor(image.pixel(128, 128)), QColor(Qt::blue));
}

TEST(HttpTileSource, keepsTilesOnDiskAndShowsThemOffline)
{
    QTemporaryDir cache;
    // Tile 3/4/2 may be kept a day; tile 3/4/3 only a second.
    auto server = std::make_unique<LocalHttpServer>([](const LocalHttpServer::Request &request) {
        Response response = tile(png(Qt::darkGreen));
        if (request.path().endsWith(QLatin1String("/3.png")))
            response.headers = { { "Cache-Control", "max-age=1" } };
        return response;
    });
    const HttpTileSource::Options settings = options(*server, cache.path());
    {
        HttpTileSource online(settings);
        ASSERT_TRUE(fetch(online, { 3, 4, 2 }).image);
        ASSERT_TRUE(fetch(online, { 3, 4, 3 }).image);
    }
    // A fresh source, as after a restart: the day-long tile comes from disk.
    {
        HttpTileSource again(settings);
        ASSERT_TRUE(fetch(again, { 3, 4, 2 }).image);
        EXPECT_EQ(server->requests().size(), 2);
    }
    QTest::qWait(2100);
    server->close();
    // With the network gone even the outdated tile is shown.
    HttpTileSource offline(settings);
    const Outcome stale = fetch(offline, { 3, 4, 3 });
    ASSERT_TRUE(stale.image);
    EXPECT_EQ(QColor(stale.image->pixel(5, 5)), QColor(Qt::darkGreen));
    EXPECT_TRUE(fetch(offline, { 3, 4, 1 }).failed) << "never fetched, so not on disk";
}

TEST(HttpTileSource, refusesWhatIsNotATile)
{
    struct Case {
        const char *what;
        Response response;
    };
    const QList<Case> cases = {
        { "damaged image", tile(png(Qt::red).left(60)) },
        { "not an image at all", tile(QByteArray(300, 'x')) },
        { "image far too large", tile(png(Qt::red, 1200)) },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        LocalHttpServer server([&c](const LocalHttpServer::Request &) { return c.response; });
        HttpTileSource source(options(server));
        EXPECT_TRUE(fetch(source, { 1, 0, 0 }).failed);
    }
}

TEST(HttpTileSource, withoutAServerEveryTileFailsAtOnce)
{
    HttpTileSource source(HttpTileSource::Options {});
    EXPECT_TRUE(fetch(source, { 15, 1, 1 }).failed);

    LocalHttpServer server([](const LocalHttpServer::Request &) { return tile(png(Qt::blue)); });
    HttpTileSource bounded(options(server));
    for (const MapTile &outside :
        { MapTile { 2, 4, 0 }, MapTile { 2, 0, -1 }, MapTile { 25, 0, 0 }, MapTile { -1, 0, 0 } })
        EXPECT_TRUE(fetch(bounded, outside).failed);
    EXPECT_TRUE(server.requests().isEmpty());
}
