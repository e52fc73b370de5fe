#include "core/book/BookRules.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "core/pages/PageTasks.h"
#include "core/util/Uuid.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace quillery;

namespace {
struct Pages {
    std::vector<std::unique_ptr<Page>> owned;
    QList<Page *> list;
    Page *add(int color = 0, const QString &title = QStringLiteral("t"))
    {
        owned.push_back(std::make_unique<Page>(double(owned.size() + 1), color));
        owned.back()->setTitle(title);
        list.append(owned.back().get());
        return owned.back().get();
    }
};
} // namespace

TEST(BookRules, currentIndexFindsTheRememberedPageOrFallsBackToTheFirst)
{
    Pages pages;
    EXPECT_EQ(BookRules::currentIndex(pages.list, QString()), 0) << "no pages";
    pages.add();
    Page *second = pages.add();
    EXPECT_EQ(BookRules::currentIndex(pages.list, uuidString(second->id())), 1);
    EXPECT_EQ(BookRules::currentIndex(pages.list, uuidString(second->id()).toLower()), 0)
        << "the id text is compared exactly as stored";
    EXPECT_EQ(BookRules::currentIndex(pages.list, QStringLiteral("stale")), 0);
    EXPECT_EQ(BookRules::leftIndex(5), 4);
    EXPECT_EQ(BookRules::leftIndex(4), 4);
}

TEST(BookRules, aPageIsBlankWithoutTitleAndLiveTasks)
{
    Page page;
    EXPECT_TRUE(isBlank(page));
    TaskItem task;
    task.setPage(&page);
    EXPECT_FALSE(isBlank(page));
    task.setPage(nullptr);
    page.setTitle(QStringLiteral("Titled"));
    EXPECT_FALSE(isBlank(page));
}

TEST(BookRules, theNextColourFollowsTheLastPageAndWraps)
{
    Pages pages;
    EXPECT_EQ(BookRules::nextColorIndex(pages.list), 0);
    pages.add(3);
    EXPECT_EQ(BookRules::nextColorIndex(pages.list), 4);
    pages.add(6);
    EXPECT_EQ(BookRules::nextColorIndex(pages.list), 0);
    pages.add(-1); // a stored colour out of range still gives a palette index
    EXPECT_EQ(BookRules::nextColorIndex(pages.list), 0);
    pages.add(13);
    EXPECT_EQ(BookRules::nextColorIndex(pages.list), 0);
}

TEST(BookRules, turningForwardStopsAtOneBlankPagePastTheEnd)
{
    Pages pages;
    EXPECT_FALSE(BookRules::canTurn(Dir::Forward, pages.list, QString(), false));
    Page *a = pages.add();
    EXPECT_TRUE(BookRules::canTurn(Dir::Forward, pages.list, uuidString(a->id()), false));
    Page *blank = pages.add(0, QString());
    EXPECT_TRUE(BookRules::canTurn(Dir::Forward, pages.list, uuidString(a->id()), false));
    EXPECT_FALSE(BookRules::canTurn(Dir::Forward, pages.list, uuidString(blank->id()), false));
    EXPECT_TRUE(BookRules::canTurn(Dir::Backward, pages.list, uuidString(blank->id()), false));
    EXPECT_FALSE(BookRules::canTurn(Dir::Backward, pages.list, uuidString(a->id()), false));
}

TEST(BookRules, spreadsTurnWhenTheRightPageIsUsed)
{
    Pages pages;
    Page *a = pages.add();
    Page *b = pages.add(0, QString());
    const QString current = uuidString(a->id());
    EXPECT_FALSE(BookRules::canTurn(Dir::Forward, pages.list, current, true));
    EXPECT_EQ(BookRules::spreadKey(pages.list, current, true), QStringLiteral("true-0-2-true"));
    b->setTitle(QStringLiteral("used"));
    EXPECT_TRUE(BookRules::canTurn(Dir::Forward, pages.list, current, true));
    EXPECT_EQ(BookRules::spreadKey(pages.list, current, false), QStringLiteral("false-0-2-false"));
    EXPECT_EQ(BookRules::visibleIndices(pages.list, uuidString(b->id()), true), (QList<int> { 0, 1 }));
    EXPECT_EQ(BookRules::visibleIndices(pages.list, uuidString(b->id()), false), (QList<int> { 1 }));
}
