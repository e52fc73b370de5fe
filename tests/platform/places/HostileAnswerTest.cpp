// Answers meant to hurt: an endless body costs no more memory than the
// answer-size cap, and headers that swamp Qt's network thread do not hold up
// the searches after them.
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
using enum HostileHttpServer::Answer;

namespace {

const QByteArray Answer = R"({"features":[{"geometry":{"coordinates":[13.38,52.52]},"properties":{"name":"Berlin"}}]})";
constexpr qint64 Cap = 1024 * 1024;

PhotonPlaceService::Options options(const HostileHttpServer &server)
{
    PhotonPlaceService::Options options;
    options.endpoint = QUrl(server.origin() + QStringLiteral("/api/"));
    options.debounceMs = 0;
    options.timeoutMs = 1500;
    options.maxBytes = Cap;
    return options;
}

// Once the server sends, the window is busy for a while (a page turn, a long
// layout): nothing takes the answer off the network meanwhile.
qint64 peakWhileBusy(const HostileHttpServer &server, QSignalSpy &outcome)
{
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.connections() > 0; }, 5000));
    const quillery::test::PeakMemory memory;
    QThread::msleep(600);
    EXPECT_TRUE(outcome.wait(5000));
    return memory.growthBytes();
}

TEST(HostileAnswers, anEndlessAnswerIsCutAtTheCapWithoutBeingHeldInMemory)
{
    HostileHttpServer places({ EndlessBody }, Answer);
    PhotonPlaceService service(options(places));
    const auto completer = service.makeCompleter();
    QSignalSpy failures(completer.get(), &PlaceCompleter::failed);
    completer->setQueryFragment(QStringLiteral("Berlin"));
    EXPECT_LT(peakWhileBusy(places, failures), Cap + 24 * 1024 * 1024);
    EXPECT_EQ(failures.first().at(1).toString(), QStringLiteral("the answer is too large"));

    HostileHttpServer tiles({ EndlessBody }, {}, "image/png");
    HttpTileSource::Options settings;
    settings.server = TileUrlTemplate::parse(tiles.origin() + QStringLiteral("/{z}/{x}/{y}.png"));
    settings.maxBytes = Cap;
    HttpTileSource source(settings);
    QSignalSpy failed(&source, &MapTileSource::tileFailed);
    source.requestTile({ 3, 4, 2 });
    EXPECT_LT(peakWhileBusy(tiles, failed), Cap + 24 * 1024 * 1024);
}

TEST(HostileAnswers, headersThatSwampTheNetworkThreadDoNotHoldUpTheNextSearch)
{
    HostileHttpServer server({ HugeHeaderLine, Sane, ManyHeaderLines, Sane }, Answer);
    PhotonPlaceService service(options(server));
    const auto completer = service.makeCompleter();
    for (const char *swamp : { "a header line of 64 MB", "200,000 header lines" }) {
        SCOPED_TRACE(swamp);
        QSignalSpy failures(completer.get(), &PlaceCompleter::failed);
        QSignalSpy updates(completer.get(), &PlaceCompleter::resultsUpdated);
        completer->setQueryFragment(QStringLiteral("Ber"));
        ASSERT_TRUE(failures.wait(5000)) << "the deadline is 1.5 s";
        // The same server, sane again: answered within the usual deadline.
        completer->setQueryFragment(QStringLiteral("Berlin"));
        ASSERT_TRUE(updates.wait(1500)) << failures.last().at(1).toString().toStdString();
        EXPECT_EQ(updates.first().at(1).value<QList<PlaceSuggestion>>().size(), 1);
    }
}

} // namespace
