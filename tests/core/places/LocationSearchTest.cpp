// Typing in the place field over a scripted place service, and the two
// providers' lists merged as their answers arrive. Choosing a suggestion is
// tested through the place picker.
#include "core/places/LocationSearch.h"
#include "FakePlaceService.h"
#include "core/places/MergedPlaceCompleter.h"
#include "core/places/MergedPlaceService.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::FakeCompleter;
using quillery::test::FakePlaceService;
using quillery::test::suggestion;

namespace {

QStringList titles(const QList<PlaceSuggestion> &suggestions)
{
    QStringList result;
    for (const PlaceSuggestion &s : suggestions)
        result.append(s.title);
    return result;
}

struct Merged {
    FakeCompleter *online = new FakeCompleter;
    FakeCompleter *offline = new FakeCompleter;
    MergedPlaceCompleter completer { std::unique_ptr<PlaceCompleter>(online),
        std::unique_ptr<PlaceCompleter>(offline) };
    QSignalSpy updates { &completer, &PlaceCompleter::resultsUpdated };

    QStringList last() const { return titles(updates.last().at(1).value<QList<PlaceSuggestion>>()); }
};

const PlaceSuggestion BerlinOnline = suggestion("Berlin", "Deutschland", 52.517, 13.389, PlaceSources::Online);
const PlaceSuggestion Alexanderplatz = suggestion("Alexanderplatz", "Berlin", 52.5219, 13.4132, PlaceSources::Online);
const PlaceSuggestion BerlinOffline = suggestion("Berlin", "Berlin, Germany", 52.52437, 13.41053);
const PlaceSuggestion NewBerlin = suggestion("New Berlin", "Wisconsin, United States", 42.976, -88.108);

} // namespace

TEST(LocationSearch, onlyTheNewestTextsAnswerIsShownAndBlankTextAsksNothing)
{
    FakePlaceService service;
    LocationSearch search(service);
    search.update(QStringLiteral("B"));
    search.update(QStringLiteral("  Be "));
    service.completer->answer(QStringLiteral("  Be "), { suggestion("Berlin", "Germany"), suggestion("Bern", "") });
    // The answer for "B" comes in late: it is for text no longer typed.
    service.completer->answer(QStringLiteral("B"), { suggestion("Bangkok", "Thailand") });
    EXPECT_EQ(titles(search.results()), QStringList({ "Berlin", "Bern" }));

    QSignalSpy changed(&search, &LocationSearch::resultsChanged);
    search.update(QStringLiteral(" \t  "));
    search.update(QString());
    EXPECT_TRUE(search.results().isEmpty());
    EXPECT_EQ(changed.size(), 1) << "already empty: no second change";
    EXPECT_EQ(service.completer->cancels, 2);
    // An answer arriving after the field was cleared is dropped.
    service.completer->answer(QStringLiteral("  Be "), { suggestion("Bergen", "Norway") });
    EXPECT_TRUE(search.results().isEmpty());
    EXPECT_EQ(service.completer->asked, QStringList({ "B", "  Be " })) << "sent untrimmed, blanks never";
}

TEST(MergedPlaceCompleter, showsOfflineAtOnceThenTheMergedListAndSurvivesAFailingServer)
{
    Merged m;
    m.completer.setQueryFragment(QStringLiteral("Berl"));
    EXPECT_EQ(m.online->asked, QStringList({ "Berl" }));
    m.offline->answer(QStringLiteral("Berl"), { BerlinOffline, NewBerlin });
    ASSERT_EQ(m.updates.size(), 1);
    EXPECT_EQ(m.last(), QStringList({ "Berlin", "New Berlin" }));
    m.online->answer(QStringLiteral("Berl"), { BerlinOnline, Alexanderplatz });
    ASSERT_EQ(m.updates.size(), 2);
    EXPECT_EQ(m.last(), QStringList({ "Berlin", "Alexanderplatz", "New Berlin" }));
    EXPECT_EQ(m.updates.last().at(1).value<QList<PlaceSuggestion>>().first().source, PlaceSources::Online);

    // A failing server leaves the offline list; nothing shows before it.
    m.completer.setQueryFragment(QStringLiteral("Bern"));
    m.online->fail(QStringLiteral("Bern"));
    EXPECT_EQ(m.updates.size(), 2);
    m.offline->answer(QStringLiteral("Bern"), { BerlinOffline });
    ASSERT_EQ(m.updates.size(), 3);
    EXPECT_EQ(m.last(), QStringList({ "Berlin" }));
}

TEST(MergedPlaceCompleter, anEmptyOfflineAnswerWaitsForTheServerAndStaleAnswersAreIgnored)
{
    Merged m;
    m.completer.setQueryFragment(QStringLiteral("12 High St"));
    m.offline->answer(QStringLiteral("12 High St"), {});
    EXPECT_EQ(m.updates.size(), 0);
    m.online->answer(QStringLiteral("12 High St"), { Alexanderplatz });
    ASSERT_EQ(m.updates.size(), 1);
    // Both empty (or the server failed): the empty list is reported.
    m.completer.setQueryFragment(QStringLiteral("zzzz"));
    m.offline->answer(QStringLiteral("zzzz"), {});
    m.online->fail(QStringLiteral("zzzz"));
    ASSERT_EQ(m.updates.size(), 2);
    EXPECT_TRUE(m.last().isEmpty());

    m.completer.setQueryFragment(QStringLiteral("Berl"));
    m.online->answer(QStringLiteral("zzzz"), { Alexanderplatz });
    m.completer.cancel();
    EXPECT_EQ(m.offline->cancels, 1);
    m.offline->answer(QStringLiteral("Berl"), { BerlinOffline });
    EXPECT_EQ(m.updates.size(), 2);

    // Without a server, an empty offline answer is final.
    auto *offline = new FakeCompleter;
    MergedPlaceCompleter alone(nullptr, std::unique_ptr<PlaceCompleter>(offline));
    QSignalSpy updates(&alone, &PlaceCompleter::resultsUpdated);
    alone.setQueryFragment(QStringLiteral("qqq"));
    offline->answer(QStringLiteral("qqq"), {});
    EXPECT_EQ(updates.size(), 1);
}

TEST(MergedPlaceService, eachSuggestionIsResolvedByTheProviderThatMadeIt)
{
    FakePlaceService online;
    FakePlaceService offline;
    MergedPlaceService merged(&online, offline);
    QObject context;
    int answers = 0;
    merged.search(BerlinOnline, &context, [&](const PlaceSearchResult &) { ++answers; });
    merged.search(BerlinOffline, &context, [&](const PlaceSearchResult &) { ++answers; });
    EXPECT_EQ(online.searched, QList<PlaceSuggestion>({ BerlinOnline }));
    EXPECT_EQ(offline.searched, QList<PlaceSuggestion>({ BerlinOffline }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return answers == 2; }));

    // Without a server every suggestion goes to the gazetteer.
    MergedPlaceService offlineOnly(nullptr, offline);
    offlineOnly.search(BerlinOnline, &context, [&](const PlaceSearchResult &) { ++answers; });
    EXPECT_EQ(offline.searched.size(), 2);
}
