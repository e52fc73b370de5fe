#include "core/places/LocationSearch.h"
#include "FakePlaceService.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::FakePlaceService;
using quillery::test::suggestion;

namespace {

QStringList titles(const LocationSearch &search)
{
    QStringList result;
    for (const PlaceSuggestion &s : search.results())
        result.append(s.title);
    return result;
}

} // namespace

TEST(LocationSearch, blankTextEmptiesResultsWithoutAskingTheService)
{
    FakePlaceService service;
    LocationSearch search(service);
    search.update(QStringLiteral("Ber"));
    service.completer->answer(QStringLiteral("Ber"), { suggestion("Berlin", "Germany") });
    ASSERT_EQ(titles(search), QStringList({ "Berlin" }));

    QSignalSpy changed(&search, &LocationSearch::resultsChanged);
    search.update(QStringLiteral(" \t  "));
    EXPECT_TRUE(search.results().isEmpty());
    EXPECT_EQ(changed.size(), 1);
    search.update(QString());
    EXPECT_EQ(changed.size(), 1); // already empty: no second change
    EXPECT_EQ(service.completer->asked, QStringList({ "Ber" }));
}

TEST(LocationSearch, textGoesToTheServiceUntrimmed)
{
    FakePlaceService service;
    LocationSearch search(service);
    search.update(QStringLiteral("  12 High St "));
    search.update(QStringLiteral("\nBer"));
    EXPECT_EQ(service.completer->asked, QStringList({ "  12 High St ", "\nBer" }));
}

TEST(LocationSearch, onlyTheNewestTextsAnswerReplacesResults)
{
    FakePlaceService service;
    LocationSearch search(service);
    search.update(QStringLiteral("B"));
    search.update(QStringLiteral("Be"));
    service.completer->answer(QStringLiteral("Be"), { suggestion("Berlin", "Germany"), suggestion("Bern", "") });
    // The answer for "B" comes in late: it is for text no longer typed.
    service.completer->answer(QStringLiteral("B"), { suggestion("Bangkok", "Thailand") });
    EXPECT_EQ(titles(search), QStringList({ "Berlin", "Bern" }));

    // Answers replace the list whole.
    service.completer->answer(QStringLiteral("Be"), { suggestion("Bergen", "Norway") });
    EXPECT_EQ(titles(search), QStringList({ "Bergen" }));
}

TEST(LocationSearch, anAnswerArrivingAfterTheFieldWasClearedIsDropped)
{
    FakePlaceService service;
    LocationSearch search(service);
    search.update(QStringLiteral("B"));
    search.update(QString());
    EXPECT_EQ(service.completer->cancels, 1);
    service.completer->answer(QStringLiteral("B"), { suggestion("Bangkok", "Thailand") });
    EXPECT_TRUE(search.results().isEmpty());
}

TEST(LocationSearch, resolveBuildsThePlaceFromTheAnswer)
{
    FakePlaceService service;
    LocationSearch search(service);
    PlaceSuggestion picked = suggestion("Springfield Library", "Springfield, Illinois", 39.8, -89.65);
    service.answer = [](const PlaceSuggestion &) {
        PlaceItem item;
        item.houseNumber = QStringLiteral("12");
        item.street = QStringLiteral("High Street");
        item.locality = QStringLiteral("Springfield");
        item.latitude = 39.8;
        item.longitude = -89.65;
        return PlaceSearchResult { { item }, {} };
    };
    std::optional<LocationSearch::Resolution> got;
    search.resolve(picked, [&](const LocationSearch::Resolution &r) { got = r; });
    EXPECT_FALSE(got) << "the answer must come through the event loop";
    ASSERT_TRUE(QTest::qWaitFor([&] { return got.has_value(); }));
    EXPECT_FALSE(got->failed());
    EXPECT_EQ(got->place, Place({ "Springfield Library", "12 High Street, Springfield", 39.8, -89.65 }));
}

TEST(LocationSearch, resolveReportsFailureAndEmptyAnswersApart)
{
    FakePlaceService service;
    LocationSearch search(service);
    service.answer = [](const PlaceSuggestion &) { return PlaceSearchResult { {}, QStringLiteral("offline") }; };
    std::optional<LocationSearch::Resolution> failed;
    search.resolve(suggestion("Berlin", "Germany"), [&](const LocationSearch::Resolution &r) { failed = r; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return failed.has_value(); }));
    EXPECT_TRUE(failed->failed());
    EXPECT_FALSE(failed->place);

    service.answer = [](const PlaceSuggestion &) { return PlaceSearchResult {}; };
    std::optional<LocationSearch::Resolution> empty;
    search.resolve(suggestion("Berlin", "Germany"), [&](const LocationSearch::Resolution &r) { empty = r; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return empty.has_value(); }));
    EXPECT_FALSE(empty->failed());
    EXPECT_FALSE(empty->place);
}
