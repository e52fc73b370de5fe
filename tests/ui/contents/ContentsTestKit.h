#pragma once

// A book over the page kit's store, and a window-sized host to lay the
// contents over, as the book view does.
#include "core/book/Book.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "core/util/Uuid.h"
#include "support/PageTestKit.h"
#include "ui/contents/ContentsGrid.h"
#include "ui/contents/ContentsView.h"

#include <memory>

namespace quillery::test {

struct ContentsKit {
    PageKit kit;
    Book book { *kit.store, kit.preferences, kit.alarms, Book::Timing { 0, 0, 0 } };
    QWidget host;

    // Pages at positions 1, 2, 3 … in palette order, titled "Page 1" …
    QList<Page *> addPages(int count)
    {
        QList<Page *> made;
        const int start = book.pageCount();
        for (int i = 0; i < count; ++i) {
            auto *page = new Page(start + i + 1, (start + i) % 7);
            kit.store->insert(page);
            page->setTitle(QStringLiteral("Page %1").arg(start + i + 1));
            made << page;
        }
        return made;
    }

    void showPage(int index) { kit.preferences.setCurrentPage(uuidString(book.pageAt(index)->id())); }

    // Opens the contents over a host of `size` and waits for them to settle.
    std::unique_ptr<ui::ContentsView> open(QSize size = QSize(600, 834))
    {
        book.setShowContents(true);
        if (!host.isVisible())
            showActive(host, size);
        auto view = std::make_unique<ui::ContentsView>(book, kit.services(), &host);
        view->show();
        EXPECT_TRUE(waitUntilStill(*view));
        return view;
    }

    static QPoint centreOf(ui::ContentsGrid *grid, int index) { return grid->cellRectInViewport(index).center(); }
};

} // namespace quillery::test
