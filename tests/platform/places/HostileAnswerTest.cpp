// Answers meant to hurt: an endless body costs no more memory than the
// answer-size cap, and headers that swamp Qt's network thread do not hold up
// the searches after them.
#include "LocalHttpServer.h"
#include "platform/places/HttpTileSource.h"
#include "platform/places/PhotonPlaceService.h"
#include "support/PeakMemory.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::LocalHttpServer;
using Response = LocalHttpServer::Response;

namespace {

const QByteArray Answer = R"({"features":[{"geometry":{"coordinates":[13.38,52.52]},"properties":{"name":"Berlin"}}]})";
constexpr qint64 Cap = 1024 * 1024;

PhotonPlaceService::Options options(const LocalHttpServer &server)
{
    PhotonPlaceService::Options options;
    options.endpoint = QUrl(server.origin() + QStringLiteral("/api/"));
    options.debounceMs = 0;
    options.timeoutMs = 1500;
    options.maxBytes = Cap;
    return options;
}

// Once the server sends its answer to the `request`th request, the window is
// busy for a while (a page turn, a long layout): nothing takes the answer off
// the network meanwhile.
qint64 peakWhileBusy(const LocalHttpServer &server, int request, QSignalSpy &outcome)
{
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.requests().size() == request; }, 5000));
    const quillery::test::PeakMemory memory;
    QThread::msleep(600);
    EXPECT_TRUE(outcome.wait(5000));
    return memory.growthBytes();
}

TEST(HostileAnswers, anEndlessAnswerIsCutAtTheCapWithoutBeingHeldInMemory)
{
    // Endless JSON for the places, an endless picture for the tiles.
    LocalHttpServer server([](const LocalHttpServer::Request &request) {
        Response response;
        response.endless = true;
        if (request.path().endsWith(QLatin1String(".png")))
            response.contentType = "image/png";
        return response;
    });
    PhotonPlaceService service(options(server));
    const auto completer = service.makeCompleter();
    QSignalSpy failures(completer.get(), &PlaceCompleter::failed);
    completer->setQueryFragment(QStringLiteral("Berlin"));
    EXPECT_LT(peakWhileBusy(server, 1, failures), Cap + 24 * 1024 * 1024);
    EXPECT_EQ(failures.first().at(1).toString(), QStringLiteral("the answer is too large"));

    HttpTileSource::Options settings;
    settings.server = TileUrlTemplate::parse(server.origin() + QStringLiteral("/{z}/{x}/{y}.png"));
    settings.maxBytes = Cap;
    HttpTileSource source(settings);
    QSignalSpy failed(&source, &MapTileSource::tileFailed);
    source.requestTile({ 3, 4, 2 });
    EXPECT_LT(peakWhileBusy(server, 2, failed), Cap + 24 * 1024 * 1024);
}

TEST(HostileAnswers, headersThatSwampTheNetworkThreadDoNotHoldUpTheNextSearch)
{
    Response sane;
    sane.body = Answer;
    Response hugeLine, manyLines;
    hugeLine.body = manyLines.body = "{}";
    hugeLine.headers.append({ "X-Pad", QByteArray(64 * 1024 * 1024, 'a') });
    for (int i = 0; i < 200'000; ++i)
        manyLines.headers.append({ "X-Line-" + QByteArray::number(i), "x" });
    const QList<Response> script { hugeLine, sane, manyLines };
    LocalHttpServer server(
        [&script, next = 0](const LocalHttpServer::Request &) mutable { return script.value(next++, script.at(1)); });
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
