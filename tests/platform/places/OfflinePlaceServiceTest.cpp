// The gazetteer on this machine behind the place service: quick typing.
// Ranking and narrowing are tried on a small index; finding and picking
// Berlin in the real one is tested with the place picker.
#include "platform/places/OfflinePlaceService.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;

// The first read of the gazetteer takes a moment on a busy machine.
constexpr int LoadTimeoutMs = 30000;

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
