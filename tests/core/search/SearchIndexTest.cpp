#include "core/search/SearchIndex.h"
#include "core/model/Attachment.h"
#include "support/TempStore.h"

#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::TempStore;

namespace {

Page *addPage(Store &store, double position, const QString &title)
{
    auto *page = new Page(position, 0);
    page->setTitle(title);
    store.insert(page);
    return page;
}

// The results as "Page title: task text, task text" lines; a page whose
// title matched is marked with '*'.
QStringList lines(const SearchResults &results)
{
    QStringList out;
    for (const SearchGroup &group : results.groups) {
        QStringList tasks;
        for (const SearchHit &hit : group.hits)
            tasks << hit.task->text();
        out << group.page->title() + QLatin1String(group.titleMatches ? "*: " : ": ") + tasks.join(QLatin1String(", "));
    }
    return out;
}

} // namespace

TEST(SearchIndex, ranksTheCurrentPageFirstThenTextMatchesBeforeLesserOnes)
{
    TempStore store;
    Page *errands = addPage(*store, 1, QStringLiteral("Errands"));
    Page *work = addPage(*store, 2, QStringLiteral("Work"));
    Page *trip = addPage(*store, 3, QStringLiteral("Trip to the Café"));
    Page *home = addPage(*store, 4, QStringLiteral("Home"));

    addTask(QStringLiteral("Pay rent"), 0, errands, *store)->setNotes(QStringLiteral("ask at the café"));
    addTask(QStringLiteral("Slides"), 0, work, *store)->setPlaceName(QStringLiteral("Café Central"));
    addTask(QStringLiteral("Call Ana"), 0, work, *store)->setNotes(QStringLiteral("café?"));
    TaskItem *done = addTask(QStringLiteral("Café with Ana"), 0, work, *store);
    done->setDone(true);
    auto *menu = new Attachment(QStringLiteral("cafe-menu.pdf"));
    store->insert(menu);
    menu->setTask(addTask(QStringLiteral("Book table"), 0, home, *store));
    addTask(QStringLiteral("Tickets"), 0, trip, *store);

    SearchIndex index(*store);
    // Work holds a text match, so it comes before Home (an attachment name)
    // and Errands (notes); the trip's title matched, which ranks as text.
    EXPECT_EQ(lines(index.search(QStringLiteral("CAFE"), home)),
        QStringList({ "Home: Book table", "Work: Café with Ana, Slides, Call Ana",
            "Trip to the Café*: ", "Errands: Pay rent" }));
    EXPECT_EQ(lines(index.search(QStringLiteral("cafe"), nullptr)).first(),
        QStringLiteral("Work: Café with Ana, Slides, Call Ana"));

    // The limit keeps the best tasks but counts them all.
    const SearchResults limited = index.search(QStringLiteral("café"), errands, 2);
    EXPECT_EQ(limited.taskCount, 5);
    EXPECT_EQ(lines(limited), QStringList({ "Errands: Pay rent", "Work: Café with Ana", "Trip to the Café*: " }));
    EXPECT_TRUE(index.search(QStringLiteral("  "), errands).groups.isEmpty());
}

TEST(SearchIndex, followsEveryChangeOfTheStoreIncludingWhileNarrowingAQuery)
{
    TempStore store;
    Page *first = addPage(*store, 1, QStringLiteral("One"));
    Page *second = addPage(*store, 2, QStringLiteral("Two"));
    TaskItem *milk = addTask(QStringLiteral("Buy milk"), 0, first, *store);
    TaskItem *mint = addTask(QStringLiteral("Mint tea"), 0, first, *store);
    SearchIndex index(*store);

    EXPECT_EQ(lines(index.search(QStringLiteral("mi"), nullptr)), QStringList({ "One: Buy milk, Mint tea" }));
    // Typed on: the narrower query only looks at what "mi" found, so a
    // change in between must not be missed.
    mint->setText(QStringLiteral("Milk tea"));
    EXPECT_EQ(lines(index.search(QStringLiteral("mil"), nullptr)), QStringList({ "One: Buy milk, Milk tea" }));
    milk->setPage(second);
    milk->setText(QStringLiteral("Buy oat milk"));
    EXPECT_EQ(
        lines(index.search(QStringLiteral("milk"), nullptr)), QStringList({ "One: Milk tea", "Two: Buy oat milk" }));
    EXPECT_EQ(lines(index.search(QStringLiteral("oat milk"), nullptr)), QStringList({ "Two: Buy oat milk" }));

    auto *photo = new Attachment(QStringLiteral("receipt.jpg"));
    photo->setTask(mint);
    store->insert(photo);
    EXPECT_EQ(lines(index.search(QStringLiteral("receipt"), nullptr)), QStringList({ "One: Milk tea" }));
    photo->setTask(milk);
    EXPECT_EQ(lines(index.search(QStringLiteral("receipt"), nullptr)), QStringList({ "Two: Buy oat milk" }));
    photo->setName(QStringLiteral("bill.jpg"));
    EXPECT_TRUE(index.search(QStringLiteral("receipt"), nullptr).groups.isEmpty());
    store->remove(photo);
    EXPECT_TRUE(index.search(QStringLiteral("bill"), nullptr).groups.isEmpty());

    second->setTitle(QStringLiteral("Groceries"));
    EXPECT_EQ(lines(index.search(QStringLiteral("groc"), nullptr)), QStringList({ "Groceries*: " }));
    store->remove(mint);
    auto *late = new TaskItem(QStringLiteral("Milk for the cat"));
    late->setPage(first);
    store->insert(late);
    EXPECT_EQ(lines(index.search(QStringLiteral("milk"), nullptr)),
        QStringList({ "One: Milk for the cat", "Groceries: Buy oat milk" }));
    store->remove(second);
    store->processPendingChanges();
    EXPECT_EQ(lines(index.search(QStringLiteral("milk"), nullptr)), QStringList({ "One: Milk for the cat" }));
}
