#include "core/model/Place.h"
#include "core/model/TaskItem.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <cmath>

using namespace quillery;

TEST(Place, mapsLinkEncodesEverythingThatCouldBreakTheQuery)
{
    const Place place { QStringLiteral("Tom & Jerry's #1 Café+Bar = ok"), QString(), -33.8688, 151.2093 };
    const auto url = place.mapsURL();
    ASSERT_TRUE(url);
    // Every character that could end the name early or start another item
    // or a fragment is escaped.
    EXPECT_EQ(url->query(QUrl::FullyEncoded),
        QStringLiteral("ll=-33.8688,151.2093&q=Tom%20%26%20Jerry%27s%20%231%20Caf%C3%A9%2BBar%20%3D%20ok"));
    EXPECT_TRUE(url->fragment().isEmpty());
}

TEST(Place, noMapsLinkForCoordinatesOffTheGlobe)
{
    EXPECT_FALSE((Place { QStringLiteral("x"), QString(), std::nan(""), 1 }.mapsURL()));
    EXPECT_FALSE((Place { QStringLiteral("x"), QString(), 1, INFINITY }.mapsURL()));
    EXPECT_FALSE((Place { QStringLiteral("x"), QString(), 90.5, 1 }.mapsURL()));
    EXPECT_FALSE((Place { QStringLiteral("x"), QString(), 1, -180.01 }.mapsURL()));
    EXPECT_TRUE((Place { QStringLiteral("x"), QString(), -90, 180 }.mapsURL()));
}

TEST(Place, shortestDecimalReadsBackExactly)
{
    for (double value : { 52.52, 13.405, -0.1, 0.1 + 0.2, 1e-7, 179.99999999999997, -90.0, 0.0 }) {
        const QString text = shortestDecimal(value);
        EXPECT_EQ(text.toDouble(), value) << text.toStdString();
        EXPECT_FALSE(text.contains(u' '));
    }
    EXPECT_EQ(shortestDecimal(52.52), QStringLiteral("52.52"));
    EXPECT_EQ(shortestDecimal(-90.0), QStringLiteral("-90"));
}

TEST(TaskPlace, presentOnlyWithBothCoordinatesAndAName)
{
    TaskItem task;
    EXPECT_FALSE(task.place());
    task.setLatitude(1.0);
    task.setLongitude(2.0);
    EXPECT_FALSE(task.place()) << "no name";
    task.setPlaceName(QStringLiteral("Library"));
    ASSERT_TRUE(task.place());
    EXPECT_EQ(*task.place(), (Place { QStringLiteral("Library"), QString(), 1.0, 2.0 }));
    task.setLongitude(std::nullopt);
    EXPECT_FALSE(task.place()) << "missing longitude";
}

TEST(TaskPlace, writingAndClearingAreFourSeparateChanges)
{
    TaskItem task;
    QSignalSpy changes(task.notifier(), &RecordNotifier::changed);
    const Place place { QStringLiteral("Library"), QStringLiteral("12 High Street, Springfield"), 10.0, 20.0 };
    task.setPlace(place);
    EXPECT_EQ(changes.count(), 4);
    EXPECT_EQ(task.place(), place);

    task.setPlace(place);
    EXPECT_EQ(changes.count(), 4) << "writing the same place changes nothing";

    task.setPlace(std::nullopt);
    EXPECT_EQ(changes.count(), 8);
    EXPECT_TRUE(task.placeName().isEmpty());
    EXPECT_TRUE(task.placeAddress().isEmpty());
    EXPECT_FALSE(task.latitude());
    EXPECT_FALSE(task.longitude());
}
