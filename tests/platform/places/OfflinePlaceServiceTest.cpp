#include "platform/places/OfflinePlaceService.h"
#include "core/places/LocationSearch.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;

namespace {

// The first read of the gazetteer takes a moment on a busy machine.
constexpr int LoadTimeoutMs = 30000;

QList<PlaceSuggestion> complete(PlaceCompleter &completer, const QString &fragment)
{
    QSignalSpy updates(&completer, &PlaceCompleter::resultsUpdated);
    completer.setQueryFragment(fragment);
    EXPECT_EQ(updates.size(), 0) << "answers must come through the event loop";
    if (!updates.wait(LoadTimeoutMs))
        return {};
    EXPECT_EQ(updates.last().at(0).toString(), fragment);
    return updates.last().at(1).value<QList<PlaceSuggestion>>();
}

} // namespace

TEST(OfflinePlaceService, berlFindsBerlinGermanyFirst)
{
    OfflinePlaceService service;
    const auto completer = service.makeCompleter();
    const QList<PlaceSuggestion> results = complete(*completer, QStringLiteral("Berl"));
    ASSERT_FALSE(results.isEmpty());
    const PlaceSuggestion &berlin = results.first();
    EXPECT_EQ(berlin.title, QStringLiteral("Berlin"));
    EXPECT_EQ(berlin.subtitle, QStringLiteral("Berlin, Germany"));
    ASSERT_TRUE(berlin.item);
    EXPECT_NEAR(berlin.item->latitude, 52.524, 0.01);
    EXPECT_NEAR(berlin.item->longitude, 13.411, 0.01);
    EXPECT_LE(results.size(), OfflinePlaceService::MaxSuggestions);
    for (const PlaceSuggestion &s : results)
        EXPECT_TRUE(s.title.contains(QStringLiteral("Berl"), Qt::CaseInsensitive)) << s.title.toStdString();
}

TEST(OfflinePlaceService, largerCitiesComeFirstAndFurtherWordsNarrow)
{
    OfflinePlaceService service;
    const auto completer = service.makeCompleter();
    QList<PlaceSuggestion> results = complete(*completer, QStringLiteral("new y"));
    ASSERT_FALSE(results.isEmpty());
    EXPECT_EQ(results.first().title, QStringLiteral("New York"));

    results = complete(*completer, QStringLiteral("springfield illinois"));
    ASSERT_EQ(results.size(), 1);
    EXPECT_EQ(results.first().subtitle, QStringLiteral("Illinois, United States of America"));

    EXPECT_TRUE(complete(*completer, QStringLiteral("qqqqzzz")).isEmpty());
}

TEST(OfflinePlaceService, quickTypingIsAnsweredOnceForTheNewestText)
{
    OfflinePlaceService service;
    const auto completer = service.makeCompleter();
    QSignalSpy updates(completer.get(), &PlaceCompleter::resultsUpdated);
    for (const char *typed : { "P", "Pa", "Par", "Pari" })
        completer->setQueryFragment(QString::fromLatin1(typed));
    ASSERT_TRUE(updates.wait(LoadTimeoutMs));
    QTest::qWait(50);
    ASSERT_EQ(updates.size(), 1);
    EXPECT_EQ(updates.first().at(0).toString(), QStringLiteral("Pari"));
    EXPECT_EQ(updates.first().at(1).value<QList<PlaceSuggestion>>().first().title, QStringLiteral("Paris"));

    // Cancelled: nothing more comes.
    completer->setQueryFragment(QStringLiteral("Lond"));
    completer->cancel();
    QTest::qWait(50);
    EXPECT_EQ(updates.size(), 1);
}

TEST(OfflinePlaceService, aPickedCityResolvesToItsPlace)
{
    OfflinePlaceService service;
    LocationSearch search(service);
    QSignalSpy changed(&search, &LocationSearch::resultsChanged);
    search.update(QStringLiteral("Berl"));
    ASSERT_TRUE(changed.wait(LoadTimeoutMs));

    std::optional<LocationSearch::Resolution> resolution;
    search.resolve(search.results().first(), [&](const LocationSearch::Resolution &r) { resolution = r; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return resolution.has_value(); }));
    ASSERT_TRUE(resolution->place);
    EXPECT_EQ(resolution->place->name, QStringLiteral("Berlin"));
    // A city's place is named after it; the address says where it lies.
    EXPECT_EQ(resolution->place->address, QStringLiteral("Berlin, Germany"));
    EXPECT_NEAR(resolution->place->latitude, 52.524, 0.01);
}
