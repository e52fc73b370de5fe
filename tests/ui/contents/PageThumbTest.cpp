// What a thumbnail says of its page, and how the grid of them looks.
#include "ui/contents/PageThumb.h"
#include "ContentsTestKit.h"
#include "core/theme/Appearance.h"
#include "core/theme/Palette.h"
#include "core/theme/ThemeColors.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ui;
using namespace quillery::test;

namespace {

void keep(const QImage &image, const QString &name)
{
    const QString folder = qEnvironmentVariable("QUILLERY_SHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    image.save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

Page *pageOf(PageKit &kit, int tasks, int doneEvery = 0)
{
    Page *page = kit.page(QStringLiteral("Errands"));
    for (int i = 0; i < tasks; ++i) {
        TaskItem *task = addTask(QStringLiteral("Task %1").arg(i + 1), 0, page, *kit.store);
        task->setDone(doneEvery > 0 && i % doneEvery == 0);
    }
    return page;
}

} // namespace

TEST(PageThumb, showsTheFirstEightTasksAndCountsTheRest)
{
    PageKit kit;
    const PageThumb::Content eleven = PageThumb::content(*pageOf(kit, 11), 4, false);
    EXPECT_EQ(eleven.lines.size(), 8);
    EXPECT_EQ(eleven.lines.first().text, QStringLiteral("Task 1"));
    EXPECT_EQ(eleven.lines.last().text, QStringLiteral("Task 8"));
    EXPECT_EQ(eleven.more, 3);
    EXPECT_EQ(PageThumb::moreText(eleven.more), QStringLiteral("+3 more"));
    EXPECT_EQ(eleven.number, 4);

    const PageThumb::Content eight = PageThumb::content(*pageOf(kit, 8), 1, false);
    EXPECT_EQ(eight.lines.size(), 8);
    EXPECT_EQ(eight.more, 0);

    // Twelve tasks, five done (1st, 4th, 7th, 10th … every third from the
    // first, plus none): hidden, the rest fit and nothing is "more".
    Page *twelve = pageOf(kit, 12, 3);
    EXPECT_EQ(PageThumb::content(*twelve, 1, false).more, 4);
    const PageThumb::Content hiding = PageThumb::content(*twelve, 1, true);
    EXPECT_EQ(hiding.lines.size(), 8);
    EXPECT_EQ(hiding.more, 0);
    for (const PageThumb::Content::Line &line : hiding.lines)
        EXPECT_FALSE(line.done) << line.text.toStdString();
    // More tasks than lines even without the done ones: the count is of
    // what would be shown, not of the hidden tasks.
    EXPECT_EQ(PageThumb::content(*pageOf(kit, 20, 2), 1, true).more, 2);
}

TEST(PageThumb, anEmptyTitleReadsUntitledInMutedInk)
{
    PageKit kit;
    Page *page = kit.page(QString(), { "Only task" }, 4);
    const PageThumb::Content content = PageThumb::content(*page, 1, false);
    EXPECT_TRUE(content.untitled);
    EXPECT_EQ(content.title, QStringLiteral("Untitled"));
    EXPECT_EQ(content.colorIndex, 4);
    // A title of spaces is a title.
    page->setTitle(QStringLiteral("  "));
    EXPECT_FALSE(PageThumb::content(*page, 1, false).untitled);

    // Drawn: the title's pixels are the muted grey, with no ink-dark pixel.
    page->setTitle(QString());
    const PageThumb::Look look { ColorScheme::Light, Preferences::Sans };
    const QImage image = PageThumb::picture(PageThumb::content(*page, 1, false), look, 1).toImage();
    const QColor ink = themeColor(ThemeColor::Ink, ColorScheme::Light);
    bool sawInk = false;
    bool sawMuted = false;
    for (int y = 26; y < 46; ++y) {
        for (int x = 16; x < 120; ++x) {
            const QColor c = image.pixelColor(x, y);
            sawInk |= c.red() < 60 && c.green() < 60;
            sawMuted |= std::abs(c.red() - 142) < 12 && std::abs(c.blue() - 147) < 12;
        }
    }
    EXPECT_TRUE(sawMuted);
    EXPECT_FALSE(sawInk) << ink.name().toStdString();
}

TEST(PageThumb, gridLooksLikeTheBook)
{
    ContentsKit t;
    t.kit.appearance.setForcedScheme(ColorScheme::Light);
    const QList<Page *> pages = t.addPages(6);
    pages.at(0)->setTitle(QStringLiteral("Groceries"));
    for (const char *text :
        { "Milk", "Eggs", "Bread", "Apples", "Cheese", "Coffee", "Tea", "Rice", "Pasta", "Salt", "Oil" })
        addTask(QString::fromUtf8(text), 0, pages.at(0), *t.kit.store);
    pages.at(0)->sortedTasks().at(1)->setDone(true);
    pages.at(3)->setTitle(QString());
    t.showPage(1);
    auto view = t.open();
    const QImage image = t.host.grab().toImage();
    keep(image, QStringLiteral("contents-light"));
    ContentsGrid *grid = view->grid();
    const QPoint origin = grid->viewport()->mapTo(&t.host, QPoint(0, 0));

    // The current page is outlined inside its edge in its own colour; the
    // others are not.
    const QRect current = grid->cellRectInViewport(1).translated(origin);
    EXPECT_EQ(image.pixelColor(current.left() + 1, current.center().y()).rgb(), paletteColor(1).rgb());
    const QRect other = grid->cellRectInViewport(2).translated(origin);
    EXPECT_NE(image.pixelColor(other.left() + 1, other.center().y()).rgb(), paletteColor(2).rgb());

    // The bookmark strip: the page's colour 160 in and 28 down.
    const QRect first = grid->cellRectInViewport(0).translated(origin);
    EXPECT_EQ(image.pixelColor(first.topLeft() + QPoint(166, 35)).rgb(), paletteColor(0).rgb());

    // A shadow under each thumbnail: darker than the desk below its edge.
    const QColor desk = themeColor(ThemeColor::Desk, ColorScheme::Light);
    const QColor below = image.pixelColor(first.center().x(), first.bottom() + 4);
    EXPECT_LT(below.lightness(), desk.lightness());
    EXPECT_EQ(image.pixelColor(first.left() - 20, first.top() - 12).rgb(), desk.rgb());

    // The new page cell, under the fold: a dashed outline on the desk, the
    // plus in the middle.
    grid->scrollToCell(6);
    const QImage scrolled = t.host.grab().toImage();
    keep(scrolled, QStringLiteral("contents-light-end"));
    const QRect add = grid->cellRectInViewport(6).translated(origin);
    ASSERT_TRUE(scrolled.rect().contains(add));
    int dashes = 0;
    bool onDash = false;
    for (int y = add.top() + 16; y < add.bottom() - 16; ++y) {
        const bool dark = scrolled.pixelColor(add.left(), y).lightness() < desk.lightness() - 30;
        dashes += dark && !onDash;
        onDash = dark;
    }
    EXPECT_GT(dashes, 15) << "about one dash every 11 points";
    EXPECT_LT(scrolled.pixelColor(add.center()).lightness(), desk.lightness() - 30);

    // The header: the close button at the trailing end, 24 from the edge.
    const QRect close = view->closeButton()->geometry();
    EXPECT_LE(std::abs(t.host.width() - 24 - close.right() - 1), 3);
    EXPECT_EQ(view->titleLabel()->geometry().left(), 24);
}
