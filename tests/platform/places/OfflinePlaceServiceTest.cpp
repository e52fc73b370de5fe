// The gazetteer on this machine behind the place service: ranking, narrowing
// and quick typing. Finding and picking Berlin through the place picker is
// tested with the picker.
#include "platform/places/OfflinePlaceService.h"

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
