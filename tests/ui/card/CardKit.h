#pragma once

// A task card on a test page: the page kit's store, clock and alarm double,
// a scripted place service, and a few ways to reach the card's controls.

#include "core/places/FakePlaceService.h"
#include "support/PageTestKit.h"

#include <QAbstractButton>
#include <QLocale>
#include <QTest>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace quillery::test {

struct CardKit : PageKit {
    FakePlaceService places;

    Services cardServices()
    {
        Services services = this->services();
        services.places.search = &places;
        return services;
    }

    // The wall-clock time of a moment in the kit's zone, "2027-01-05 10:00".
    QString wall(const QDateTime &moment)
    {
        return QLocale::c().toString(moment.toTimeZone(QTimeZone("America/New_York")), u"yyyy-MM-dd HH:mm");
    }
    QString wall(const std::optional<QDateTime> &moment) { return moment ? wall(*moment) : QStringLiteral("none"); }

    QDateTime newYork(int y, int mo, int d, int h, int mi)
    {
        return QDateTime(QDate(y, mo, d), QTime(h, mi), QTimeZone("America/New_York")).toUTC();
    }
};

inline void click(QAbstractButton *button)
{
    ASSERT_TRUE(button);
    // Layouts still pending (a taller card gains its scroll bar) first, so
    // the click lands where the button is drawn.
    settle();
    ASSERT_TRUE(button->isVisible()) << button->accessibleName().toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
    settle();
}

} // namespace quillery::test
