#include "ui/places/LocationPicker.h"
#include "core/places/FakePlaceService.h"
#include "platform/places/OfflinePlaceService.h"
#include "ui/places/SuggestionRow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using quillery::test::FakePlaceService;
using quillery::test::suggestion;

namespace {

const Place Library { QStringLiteral("Springfield Library"), QStringLiteral("12 High Street, Springfield"), 39.8,
    -89.65 };

// A picker shown on screen, as the task card shows it.
struct Shown {
    FakePlaceService service;
    LocationPicker picker;
    QSignalSpy picked { &picker, &LocationPicker::picked };

    explicit Shown(std::optional<Place> current = std::nullopt)
        : picker(std::move(current), service)
    {
        picker.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&picker));
    }

    template <typename T> T *visible(const char *name) const
    {
        T *child = picker.findChild<T *>(QLatin1String(name));
        return child && child->isVisible() ? child : nullptr;
    }

    void type(const QString &text) { QTest::keyClicks(picker.searchField(), text); }

    void answer(const QList<PlaceSuggestion> &results) { service.completer->answer(picker.query(), results); }

    std::optional<Place> lastPicked() const { return picked.last().at(0).value<std::optional<Place>>(); }
};

} // namespace

TEST(LocationPicker, showsTheCurrentPlaceWhichTypingHidesAndCancelKeeps)
{
    Shown s(Library);
    ASSERT_TRUE(s.visible<QWidget>("currentSection"));
    EXPECT_EQ(s.visible<QLabel>("currentName")->text(), Library.name);
    EXPECT_EQ(s.visible<QLabel>("currentAddress")->text(), Library.address);
    EXPECT_EQ(s.visible<QPushButton>("removeLocationButton")->text(), QStringLiteral("Remove location"));

    s.type(QStringLiteral("B"));
    EXPECT_FALSE(s.visible<QWidget>("currentSection"));
    EXPECT_FALSE(s.visible<QPushButton>("removeLocationButton"));
    s.picker.searchField()->clear();
    EXPECT_TRUE(s.visible<QWidget>("currentSection"));

    // No address, no address line.
    Shown bare(Place { QStringLiteral("Somewhere"), QString(), 1, 2 });
    EXPECT_TRUE(bare.visible<QLabel>("currentName"));
    EXPECT_FALSE(bare.visible<QLabel>("currentAddress"));
    // No current place, no section.
    Shown none;
    EXPECT_FALSE(none.visible<QWidget>("currentSection"));

    // Cancelling reports nothing ("Remove location" is the card's case).
    Shown cancelling(Library);
    QTest::mouseClick(cancelling.visible<QPushButton>("cancelButton"), Qt::LeftButton);
    EXPECT_TRUE(cancelling.picked.isEmpty());
    EXPECT_EQ(cancelling.picker.result(), QDialog::Rejected);
    EXPECT_FALSE(cancelling.picker.isVisible());

    // Escape while a picked suggestion is resolved: its answer is dropped.
    Shown resolving(Library);
    resolving.service.holdSearches = true;
    resolving.type(QStringLiteral("Ber"));
    resolving.answer({ suggestion("Berlin", "Germany", 52.5, 13.4) });
    QTest::mouseClick(resolving.picker.rows().first(), Qt::LeftButton);
    ASSERT_TRUE(resolving.picker.isResolving());
    QTest::keyClick(&resolving.picker, Qt::Key_Escape);
    EXPECT_FALSE(resolving.picker.isVisible());
    resolving.service.deliverSearches();
    QCoreApplication::processEvents();
    EXPECT_TRUE(resolving.picked.isEmpty());
}

TEST(LocationPicker, listsSuggestionsAsPlainTextInTheServicesOrder)
{
    Shown s;
    s.type(QStringLiteral("Ber"));
    EXPECT_EQ(s.service.completer->asked.last(), QStringLiteral("Ber"));
    s.answer({ suggestion("Berlin", "Berlin, Germany"), suggestion("<b>Bern</b> &amp;", "") });
    const QList<SuggestionRow *> rows = s.picker.rows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0]->titleLabel()->text(), QStringLiteral("Berlin"));
    EXPECT_EQ(rows[0]->subtitleLabel()->text(), QStringLiteral("Berlin, Germany"));
    EXPECT_TRUE(rows[0]->subtitleLabel()->isVisible());
    // Text from outside is shown as it is, never read as markup.
    EXPECT_EQ(rows[1]->titleLabel()->text(), QStringLiteral("<b>Bern</b> &amp;"));
    for (const QLabel *label : { rows[1]->titleLabel(), rows[1]->subtitleLabel() })
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_FALSE(rows[1]->subtitleLabel()->isVisible());

    s.type(QStringLiteral("x"));
    s.answer({});
    EXPECT_TRUE(s.picker.rows().isEmpty());
    EXPECT_TRUE(s.visible<QLabel>("noPlacesLabel"));
}

TEST(LocationPicker, pickingASuggestionReportsItsPlaceAndCloses)
{
    Shown s(Library);
    s.service.holdSearches = true;
    s.type(QStringLiteral("Spring"));
    PlaceSuggestion springfield = suggestion("Springfield", "Illinois, United States", 39.8017, -89.6437);
    springfield.item->name.clear();
    s.answer({ springfield });
    QTest::mouseClick(s.picker.rows().first(), Qt::LeftButton);
    EXPECT_TRUE(s.picker.isResolving());
    EXPECT_TRUE(s.visible<QWidget>("resolvingOverlay"));
    // A second click while resolving starts nothing more.
    QTest::mouseClick(s.picker.rows().first(), Qt::LeftButton);
    EXPECT_EQ(s.service.searched.size(), 1);

    s.service.deliverSearches();
    ASSERT_TRUE(QTest::qWaitFor([&] { return s.picked.size() == 1; }));
    EXPECT_EQ(s.lastPicked(), Place({ "Springfield", "Illinois, United States", 39.8017, -89.6437 }));
    EXPECT_EQ(s.picker.result(), QDialog::Accepted);
    EXPECT_FALSE(s.picker.isVisible());
}

TEST(LocationPicker, aFailedOrEmptySearchLeavesTheSheetAsItWas)
{
    Shown s;
    s.type(QStringLiteral("Ber"));
    s.answer({ suggestion("Berlin", "Germany", 52.5, 13.4), suggestion("Bern", "Switzerland", 46.9, 7.4) });
    for (const PlaceSearchResult &outcome :
        { PlaceSearchResult { {}, QStringLiteral("offline") }, PlaceSearchResult {} }) {
        s.service.answer = [outcome](const PlaceSuggestion &) { return outcome; };
        const int searched = int(s.service.searched.size());
        QTest::mouseClick(s.picker.rows().at(1), Qt::LeftButton);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return s.service.searched.size() == searched + 1 && !s.picker.isResolving(); }));
        EXPECT_TRUE(s.picker.isVisible());
        EXPECT_TRUE(s.picked.isEmpty());
        EXPECT_FALSE(s.visible<QWidget>("resolvingOverlay"));
        EXPECT_EQ(s.picker.query(), QStringLiteral("Ber"));
        ASSERT_EQ(s.picker.rows().size(), 2);
        EXPECT_EQ(s.picker.rows().at(1)->titleLabel()->text(), QStringLiteral("Bern"));
    }
}

TEST(LocationPicker, isAWindowModalSheetThatReturnDoesNotClose)
{
    QWidget window;
    window.show();
    FakePlaceService service;
    LocationPicker picker(std::nullopt, service, &window);
    picker.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
    EXPECT_TRUE(picker.searchField()->hasFocus());
    QTest::keyClicks(picker.searchField(), QStringLiteral("Ber"));
    QTest::keyClick(picker.searchField(), Qt::Key_Return);
    EXPECT_TRUE(picker.isVisible());
}

TEST(LocationPicker, findsAndPicksACityFromTheGazetteer)
{
    OfflinePlaceService service;
    LocationPicker picker(std::nullopt, service);
    QSignalSpy picked(&picker, &LocationPicker::picked);
    picker.show();
    QTest::keyClicks(picker.searchField(), QStringLiteral("Berl"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !picker.rows().isEmpty(); }, 30000));
    EXPECT_EQ(picker.rows().first()->titleLabel()->text(), QStringLiteral("Berlin"));
    // Keyboard only: down into the list, Return on the first row.
    QTest::keyClick(picker.searchField(), Qt::Key_Down);
    QTest::keyClick(picker.rows().first(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return picked.size() == 1; }));
    const auto place = picked.first().at(0).value<std::optional<Place>>();
    ASSERT_TRUE(place);
    EXPECT_EQ(place->name, QStringLiteral("Berlin"));
    EXPECT_EQ(place->address, QStringLiteral("Berlin, Germany"));
    EXPECT_NEAR(place->latitude, 52.52, 0.01);
    EXPECT_NEAR(place->longitude, 13.41, 0.01);
}
