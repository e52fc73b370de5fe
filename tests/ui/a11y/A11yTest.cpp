// Every control a user can reach has a name a screen reader can announce:
// the page with its rows, footer, swatches and menu, the place picker in each
// of its states, the map preview and the about dialog.
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "core/places/FakePlaceService.h"
#include "support/A11yAudit.h"
#include "support/PageTestKit.h"
#include "ui/app/AboutDialog.h"
#include "ui/pages/AddTaskRow.h"
#include "ui/pages/PageOptionsMenu.h"
#include "ui/pages/PageView.h"
#include "ui/places/LocationPicker.h"
#include "ui/places/MapPreview.h"
#include "ui/places/SuggestionRow.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;

namespace {

const Place Library { QStringLiteral("Springfield Library"), QStringLiteral("12 High Street, Springfield"), 39.8,
    -89.65 };

} // namespace

TEST(Accessibility, pageWithTasksFooterSwatchesAndMenu)
{
    PageKit kit;
    Page *page = kit.page(QStringLiteral("Week"), { "Dentist", ">Bring the card", "Bills*", "Call Sam" }, 3);
    TaskItem *dentist = page->sortedTasks().first();
    dentist->setDue(kitNow().addDays(1));
    dentist->setAlarm(kitNow().addDays(1));
    dentist->setPlace(Library);
    dentist->setNotes(QStringLiteral("Ask about the filling"));

    PageView view(page, 2, 5, PageActions {}, kit.services(), &kit.editing);
    ASSERT_TRUE(showActive(view));
    settle();
    // The audit reaches into the list: a tick per row at least, the add line
    // and the footer's buttons.
    EXPECT_GE(visibleControls(&view).size(), view.rows().size() + 4)
        << describeControls(visibleControls(&view)).toStdString();
    EXPECT_TRUE(everyControlNamed(view));

    // With the swatch column open, each swatch is a control of its own.
    view.setColorsShown(true);
    ASSERT_TRUE(waitUntilStill(view));
    EXPECT_TRUE(everyControlNamed(view));

    // While a task is being written, and with completed tasks hidden (the
    // "completed hidden" button shows).
    QTest::mouseClick(view.addRow()->field(), Qt::LeftButton);
    QTest::keyClicks(view.addRow()->field(), QStringLiteral("New task"));
    kit.preferences.setHideCompleted(true);
    ASSERT_TRUE(waitUntilStill(view));
    EXPECT_TRUE(everyControlNamed(view));

    // The options menu with its status lines, and the item denied
    // notifications add.
    kit.alarms.status().setAuthorization(AlarmStatus::Denied);
    PageOptionsMenu *menu = view.optionsMenu();
    menu->rebuild();
    menu->popup(view.mapToGlobal(QPoint(20, 20)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    const QStringList items = unlabelledMenuItems(menu);
    EXPECT_TRUE(items.isEmpty()) << "menu items without text:\n" << items.join(u'\n').toStdString();
    EXPECT_TRUE(everyControlNamed(*menu));
    menu->close();
}

TEST(Accessibility, locationPickerInEachStateMapPreviewAndAboutDialog)
{
    FakePlaceService service;
    LocationPicker picker(Library, service);
    picker.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
    EXPECT_TRUE(everyControlNamed(picker)) << "with the current place";

    QTest::keyClicks(picker.searchField(), QStringLiteral("Spr"));
    service.completer->answer(picker.query(),
        { suggestion(QStringLiteral("Springfield"), QStringLiteral("Illinois, United States")),
            suggestion(QStringLiteral("Springfield Library"), QString()) });
    settle();
    ASSERT_EQ(picker.rows().size(), 2);
    EXPECT_TRUE(everyControlNamed(picker)) << "with suggestions";

    service.holdSearches = true;
    picker.pick(picker.rows().first()->suggestion());
    ASSERT_TRUE(picker.isResolving());
    EXPECT_TRUE(everyControlNamed(picker)) << "while a place is resolved";

    service.deliverSearches();
    settle();

    LocationPicker empty(std::nullopt, service);
    empty.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&empty));
    QTest::keyClicks(empty.searchField(), QStringLiteral("zzzz"));
    service.completer->answer(empty.query(), {});
    settle();
    EXPECT_TRUE(everyControlNamed(empty)) << "with nothing found";

    MapPreview preview(nullptr);
    preview.setPlace(Library);
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    EXPECT_TRUE(everyControlNamed(preview));

    AboutDialog about;
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_TRUE(everyControlNamed(about));
}
