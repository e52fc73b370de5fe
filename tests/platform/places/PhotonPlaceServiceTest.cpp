#include "platform/places/PhotonPlaceService.h"
#include "LocalHttpServer.h"
#include "core/places/PlaceEndpoints.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::LocalHttpServer;
using Response = LocalHttpServer::Response;

namespace {

const QByteArray Answer = R"({"type":"FeatureCollection","features":[
  {"type":"Feature","geometry":{"type":"Point","coordinates":[13.3777,52.5163]},
   "properties":{"name":"Brandenburger Tor","street":"Pariser Platz","city":"Berlin","country":"Deutschland"}},
  {"type":"Feature","geometry":{"type":"Point","coordinates":[13.3888,52.5170]},
   "properties":{"name":"Berlin","country":"Deutschland","type":"city"}}]})";

Response json(const QByteArray &body)
{
    Response response;
    response.body = body;
    return response;
}

PhotonPlaceService::Options options(const LocalHttpServer &server)
{
    PhotonPlaceService::Options options;
    options.endpoint = server.url(QStringLiteral("/api/"));
    options.debounceMs = 20;
    options.timeoutMs = 1500;
    options.maxBytes = 64 * 1024;
    return options;
}

QStringList titles(const QList<PlaceSuggestion> &results)
{
    QStringList list;
    for (const PlaceSuggestion &s : results)
        list.append(s.title);
    return list;
}

} // namespace

TEST(PhotonPlaceService, asksTheServerAndReadsItsSuggestions)
{
    LocalHttpServer server([](const LocalHttpServer::Request &) { return json(Answer); });
    PhotonPlaceService service(options(server));
    const auto completer = service.makeCompleter();
    QSignalSpy updates(completer.get(), &PlaceCompleter::resultsUpdated);
    completer->setQueryFragment(QStringLiteral(" Brandenburger & Tor #1 "));
    ASSERT_TRUE(updates.wait(5000));
    EXPECT_EQ(updates.last().at(0).toString(), QStringLiteral(" Brandenburger & Tor #1 "));
    const auto results = updates.last().at(1).value<QList<PlaceSuggestion>>();
    EXPECT_EQ(titles(results), QStringList({ "Brandenburger Tor", "Berlin" }));

    ASSERT_EQ(server.requests().size(), 1);
    const LocalHttpServer::Request request = server.requests().first();
    EXPECT_EQ(request.path(), QStringLiteral("/api/"));
    // The text arrives whole, special characters and blanks included.
    EXPECT_EQ(request.query().queryItemValue(QStringLiteral("q"), QUrl::FullyDecoded),
        QStringLiteral(" Brandenburger & Tor #1 "));
    EXPECT_EQ(request.headers.value("user-agent"), PlaceEndpoints::userAgent());

    // Resolving needs no second request: the suggestion carries its answer.
    QObject context;
    std::optional<PlaceSearchResult> resolved;
    service.search(results.first(), &context, [&](const PlaceSearchResult &r) { resolved = r; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return resolved.has_value(); }));
    ASSERT_EQ(resolved->items.size(), 1);
    EXPECT_EQ(resolved->items.first().street, QStringLiteral("Pariser Platz"));
    EXPECT_EQ(server.requests().size(), 1);
}

TEST(PhotonPlaceService, quickTypingSendsOnlyTheLastTextAndALateAnswerForEarlierTextIsNeverReported)
{
    // "Bran" is answered slowly, "Brand" at once.
    LocalHttpServer server([](const LocalHttpServer::Request &request) {
        Response response = json(Answer);
        if (request.query().queryItemValue(QStringLiteral("q")) == QLatin1String("Bran"))
            response.delayMs = 400;
        return response;
    });
    PhotonPlaceService::Options settings = options(server);
    settings.debounceMs = 250;
    PhotonPlaceService service(settings);
    const auto completer = service.makeCompleter();
    QSignalSpy updates(completer.get(), &PlaceCompleter::resultsUpdated);
    QSignalSpy failures(completer.get(), &PlaceCompleter::failed);
    for (const char *typed : { "B", "Br", "Bra", "Bran" }) {
        completer->setQueryFragment(QString::fromLatin1(typed));
        QTest::qWait(40);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !server.requests().isEmpty(); }, 5000));
    completer->setQueryFragment(QStringLiteral("Brand"));
    ASSERT_TRUE(updates.wait(5000));
    QTest::qWait(700); // well past the slow answer
    ASSERT_EQ(updates.size(), 1);
    EXPECT_EQ(updates.first().at(0).toString(), QStringLiteral("Brand"));
    EXPECT_EQ(failures.size(), 0);
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_EQ(server.requests().first().query().queryItemValue(QStringLiteral("q")), QStringLiteral("Bran"));
}

TEST(PhotonPlaceService, badAnswersAreFailuresNeverCrashesOrHangs)
{
    struct Case {
        const char *what;
        Response response;
        bool closed = false; // nothing listens at the address
    };
    Response serverError = json(R"({"message":"oops"})");
    serverError.status = 500;
    Response html = json("<html><body>Bad gateway</body></html>");
    html.contentType = "text/html";
    Response missingType = json(Answer);
    missingType.contentType.clear();
    Response hang;
    hang.hang = true;
    Response trickle = json(Answer);
    trickle.trickleMs = 30; // alive, but would take many seconds
    const QList<Case> cases = {
        { "HTTP error", serverError },
        { "HTML instead of JSON", html },
        { "no content type", missingType },
        { "oversized answer", json("{\"features\":[],\"pad\":\"" + QByteArray(200 * 1024, 'x') + "\"}") },
        { "server never answers", hang },
        { "server trickles", trickle },
        { "nothing listens", json(Answer), true },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        LocalHttpServer server([&c](const LocalHttpServer::Request &) { return c.response; });
        if (c.closed)
            server.close();
        PhotonPlaceService service(options(server));
        const auto completer = service.makeCompleter();
        QSignalSpy updates(completer.get(), &PlaceCompleter::resultsUpdated);
        QSignalSpy failures(completer.get(), &PlaceCompleter::failed);
        QElapsedTimer clock;
        clock.start();
        completer->setQueryFragment(QStringLiteral("Berlin"));
        EXPECT_TRUE(failures.wait(5000));
        EXPECT_EQ(updates.size(), 0);
        EXPECT_LT(clock.elapsed(), 4000) << "the deadline is 1.5 s";
    }
}

TEST(PhotonPlaceService, redirectsAreFollowedOnlyWithinTheSameServer)
{
    LocalHttpServer elsewhere(
        [](const LocalHttpServer::Request &) { return json(Answer); }, QHostAddress(QStringLiteral("127.0.0.2")));
    LocalHttpServer server([&elsewhere](const LocalHttpServer::Request &request) {
        Response response;
        response.status = 302;
        response.contentType = "text/plain";
        const QString target = request.path() == QLatin1String("/away/")
            ? elsewhere.url(QStringLiteral("/api/")).toString()
            : QStringLiteral("/moved/");
        if (request.path() == QLatin1String("/moved/"))
            return json(Answer);
        response.headers.append(std::pair<QByteArray, QByteArray>("Location", target.toLatin1()));
        return response;
    });

    PhotonPlaceService::Options away = options(server);
    away.endpoint = server.url(QStringLiteral("/away/"));
    PhotonPlaceService refused(away);
    const auto completer = refused.makeCompleter();
    QSignalSpy failures(completer.get(), &PlaceCompleter::failed);
    completer->setQueryFragment(QStringLiteral("Berlin"));
    EXPECT_TRUE(failures.wait(5000));
    EXPECT_TRUE(elsewhere.requests().isEmpty());

    PhotonPlaceService::Options moved = options(server);
    moved.endpoint = server.url(QStringLiteral("/here/"));
    PhotonPlaceService followed(moved);
    const auto sameServer = followed.makeCompleter();
    QSignalSpy updates(sameServer.get(), &PlaceCompleter::resultsUpdated);
    sameServer->setQueryFragment(QStringLiteral("Berlin"));
    ASSERT_TRUE(updates.wait(5000));
    EXPECT_EQ(titles(updates.last().at(1).value<QList<PlaceSuggestion>>()).size(), 2);
}
