// Answers meant to hurt: an endless body must cost no more memory than the
// answer-size cap, and headers that swamp the network thread must not hold
// up the searches after them.
#include "HostileHttpServer.h"
#include "platform/places/HttpTileSource.h"
#include "platform/places/PhotonPlaceService.h"
#include "support/PeakMemory.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::HostileHttpServer;
using quillery::test::PeakMemory;

namespace {

const QByteArray Answer = R"({"type":"FeatureCollection","features":[
  {"type":"Feature","geometry":{"type":"Point","coordinates":[13.3777,52.5163]},
   "properties":{"name":"Brandenburger Tor","city":"Berlin"}}]})";

constexpr qint64 Cap = 1024 * 1024;

PhotonPlaceService::Options options(const HostileHttpServer &server)
{
    PhotonPlaceService::Options options;
    options.endpoint = server.url(QStringLiteral("/api/"));
    options.debounceMs = 0;
    options.timeoutMs = 1500;
    options.maxBytes = Cap;
    return options;
}

// The window is busy (a page turn, a long layout): nothing takes the
// answer off the network meanwhile.
void stayBusy(int msecs)
{
    QThread::msleep(msecs);
}

TEST(HostileAnswers, anEndlessAnswerIsCutAtTheCapWithoutBeingHeldInMemory)
{
    {
        HostileHttpServer server({ HostileHttpServer::Answer::EndlessBody }, Answer);
        PhotonPlaceService service(options(server));
        const auto completer = service.makeCompleter();
        QSignalSpy failures(completer.get(), &PlaceCompleter::failed);
        completer->setQueryFragment(QStringLiteral("Berlin"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.connections() > 0; }, 5000));
        const PeakMemory memory;
        stayBusy(600);
        ASSERT_TRUE(failures.wait(5000));
        EXPECT_EQ(failures.first().at(1).toString(), QStringLiteral("the answer is too large"));
        EXPECT_LT(memory.growthBytes(), Cap + 24 * 1024 * 1024);
    }
    {
        HostileHttpServer server({ HostileHttpServer::Answer::EndlessBody }, {}, "image/png");
        HttpTileSource::Options settings;
        settings.server = TileUrlTemplate::parse(server.origin() + QStringLiteral("/{z}/{x}/{y}.png"));
        settings.maxBytes = Cap;
        HttpTileSource tiles(settings);
        QSignalSpy failed(&tiles, &MapTileSource::tileFailed);
        tiles.requestTile({ 3, 4, 2 });
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.connections() > 0; }, 5000));
        const PeakMemory memory;
        stayBusy(600);
        EXPECT_TRUE(failed.wait(5000));
        EXPECT_LT(memory.growthBytes(), Cap + 24 * 1024 * 1024);
    }
}

TEST(HostileAnswers, headersThatSwampTheNetworkThreadDoNotHoldUpTheNextSearch)
{
    using enum HostileHttpServer::Answer;
    HostileHttpServer server({ HugeHeaderLine, Sane, ManyHeaderLines, Sane }, Answer);
    PhotonPlaceService service(options(server));
    const auto completer = service.makeCompleter();
    for (const char *swamp : { "a header line of 64 MB", "200,000 header lines" }) {
        SCOPED_TRACE(swamp);
        QSignalSpy failures(completer.get(), &PlaceCompleter::failed);
        QSignalSpy updates(completer.get(), &PlaceCompleter::resultsUpdated);
        completer->setQueryFragment(QStringLiteral("Ber"));
        ASSERT_TRUE(failures.wait(5000)) << "the deadline is 1.5 s";

        // The same server, sane again: answered as promptly as ever.
        completer->setQueryFragment(QStringLiteral("Berlin"));
        ASSERT_TRUE(updates.wait(1500)) << failures.last().at(1).toString().toStdString();
        EXPECT_EQ(updates.first().at(0).toString(), QStringLiteral("Berlin"));
        EXPECT_EQ(updates.first().at(1).value<QList<PlaceSuggestion>>().size(), 1);
    }
}

} // namespace
