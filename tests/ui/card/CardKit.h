#pragma once

// A task card on a test page: the page kit's store, clock and alarm double,
// a scripted place service, and a few ways to reach the card's controls.

#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "core/places/FakePlaceService.h"
#include "support/PageTestKit.h"
#include "ui/card/TaskCard.h"

#include <QAbstractButton>
#include <QLocale>
#include <QTest>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <memory>

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

    // A card for `task`, shown at the size the sheet gives it.
    std::unique_ptr<ui::TaskCard> showCard(TaskItem *task)
    {
        auto card = std::make_unique<ui::TaskCard>(task, cardServices());
        EXPECT_TRUE(showActive(*card, QSize(ui::TaskCard::Width, ui::TaskCard::Height)));
        return card;
    }
};

// The card of the only task on a page called "Week".
struct ShownCard {
    CardKit kit;
    TaskItem *task;
    std::unique_ptr<ui::TaskCard> card;

    explicit ShownCard(const char *title)
        : task(kit.page(QStringLiteral("Week"), { title })->sortedTasks().first())
        , card(kit.showCard(task))
    { }
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
