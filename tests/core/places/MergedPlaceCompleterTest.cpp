#include "core/places/MergedPlaceCompleter.h"
#include "FakePlaceService.h"
#include "core/places/MergedPlaceService.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::FakeCompleter;
using quillery::test::FakePlaceService;
using quillery::test::suggestion;

namespace {

struct Merged {
    FakeCompleter *online = new FakeCompleter;
    FakeCompleter *offline = new FakeCompleter;
    MergedPlaceCompleter completer { std::unique_ptr<PlaceCompleter>(online),
        std::unique_ptr<PlaceCompleter>(offline) };
    QSignalSpy updates { &completer, &PlaceCompleter::resultsUpdated };

    QStringList last() const
    {
        QStringList titles;
        for (const PlaceSuggestion &s : updates.last().at(1).value<QList<PlaceSuggestion>>())
            titles.append(s.title);
        return titles;
    }
};

const PlaceSuggestion BerlinOnline = suggestion("Berlin", "Deutschland", 52.517, 13.389, PlaceSources::Online);
const PlaceSuggestion Alexanderplatz = suggestion("Alexanderplatz", "Berlin", 52.5219, 13.4132, PlaceSources::Online);
const PlaceSuggestion BerlinOffline = suggestion("Berlin", "Berlin, Germany", 52.52437, 13.41053);
const PlaceSuggestion NewBerlin = suggestion("New Berlin", "Wisconsin, United States", 42.976, -88.108);

} // namespace

TEST(MergedPlaceCompleter, showsOfflineAtOnceThenTheMergedList)
{
    Merged m;
    m.completer.setQueryFragment(QStringLiteral("Berl"));
    EXPECT_EQ(m.online->asked, QStringList({ "Berl" }));
    EXPECT_EQ(m.offline->asked, QStringList({ "Berl" }));

    m.offline->answer(QStringLiteral("Berl"), { BerlinOffline, NewBerlin });
    ASSERT_EQ(m.updates.size(), 1);
    EXPECT_EQ(m.last(), QStringList({ "Berlin", "New Berlin" }));

    m.online->answer(QStringLiteral("Berl"), { BerlinOnline, Alexanderplatz });
    ASSERT_EQ(m.updates.size(), 2);
    EXPECT_EQ(m.updates.last().at(0).toString(), QStringLiteral("Berl"));
    EXPECT_EQ(m.last(), QStringList({ "Berlin", "Alexanderplatz", "New Berlin" }));
    EXPECT_EQ(m.updates.last().at(1).value<QList<PlaceSuggestion>>().first().source, PlaceSources::Online);
}

TEST(MergedPlaceCompleter, aFailingOnlineProviderLeavesTheOfflineList)
{
    Merged m;
    m.completer.setQueryFragment(QStringLiteral("Berl"));
    m.online->fail(QStringLiteral("Berl"));
    EXPECT_EQ(m.updates.size(), 0) << "nothing to show until the offline answer";
    m.offline->answer(QStringLiteral("Berl"), { BerlinOffline });
    ASSERT_EQ(m.updates.size(), 1);
    EXPECT_EQ(m.last(), QStringList({ "Berlin" }));
}

TEST(MergedPlaceCompleter, anEmptyOfflineAnswerWaitsForTheOnlineOne)
{
    Merged m;
    m.completer.setQueryFragment(QStringLiteral("12 High St"));
    m.offline->answer(QStringLiteral("12 High St"), {});
    EXPECT_EQ(m.updates.size(), 0);
    m.online->answer(QStringLiteral("12 High St"), { Alexanderplatz });
    ASSERT_EQ(m.updates.size(), 1);

    // Both empty (or online failed): the empty list is reported.
    m.completer.setQueryFragment(QStringLiteral("zzzz"));
    m.offline->answer(QStringLiteral("zzzz"), {});
    m.online->fail(QStringLiteral("zzzz"));
    ASSERT_EQ(m.updates.size(), 2);
    EXPECT_TRUE(m.last().isEmpty());
}

TEST(MergedPlaceCompleter, answersForEarlierFragmentsAreIgnored)
{
    Merged m;
    m.completer.setQueryFragment(QStringLiteral("Ber"));
    m.completer.setQueryFragment(QStringLiteral("Berl"));
    m.online->answer(QStringLiteral("Ber"), { Alexanderplatz });
    m.offline->answer(QStringLiteral("Ber"), { NewBerlin });
    EXPECT_EQ(m.updates.size(), 0);

    m.completer.cancel();
    EXPECT_EQ(m.online->cancels, 1);
    EXPECT_EQ(m.offline->cancels, 1);
    m.offline->answer(QStringLiteral("Berl"), { BerlinOffline });
    EXPECT_EQ(m.updates.size(), 0);
}

TEST(MergedPlaceCompleter, withoutAnOnlineProviderOfflineAnswersStandAlone)
{
    auto *offline = new FakeCompleter;
    MergedPlaceCompleter completer(nullptr, std::unique_ptr<PlaceCompleter>(offline));
    QSignalSpy updates(&completer, &PlaceCompleter::resultsUpdated);
    completer.setQueryFragment(QStringLiteral("qqq"));
    offline->answer(QStringLiteral("qqq"), {});
    ASSERT_EQ(updates.size(), 1);
    EXPECT_TRUE(updates.last().at(1).value<QList<PlaceSuggestion>>().isEmpty());
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

    MergedPlaceService offlineOnly(nullptr, offline);
    offlineOnly.search(BerlinOnline, &context, [&](const PlaceSearchResult &) { ++answers; });
    EXPECT_EQ(offline.searched.size(), 2);
}
