// "Restore from Backup…" in the assembled window: a kept copy is listed with
// what it holds, the user is asked before the book is replaced, and the book
// as it was is kept. (Refused copies: tests/core/backup.)
#include "ui/app/RestoreCommands.h"
#include "app/QuilleryApp.h"
#include "core/backup/BookCopy.h"
#include "core/backup/BookRestore.h"
#include "core/backup/DailyBackup.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "gui/history/UndoHistory.h"
#include "support/BookText.h"
#include "support/Screenshot.h"
#include "support/TopLevel.h"
#include "ui/app/BookMenu.h"
#include "ui/app/MainWindow.h"
#include "ui/app/RestoreDialog.h"

#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

TEST(RestoreCommands, aKeptCopyReplacesTheBookOnlyAfterTheUserAgrees)
{
    QTemporaryDir dir;
    QuilleryApp app({ dir.filePath(QStringLiteral("book.sqlite")), dir.filePath(QStringLiteral("pending.json")) });
    StoreOpenError error;
    ASSERT_TRUE(app.start(&error)) << error.message().toStdString();
    Store &store = app.store();
    auto *page = new Page(store.pages().size(), 2);
    store.insert(page);
    page->setTitle(QStringLiteral("Groceries"));
    addTask(QStringLiteral("Milk"), 0, page, store);
    addTask(QStringLiteral("Bread"), 0, page, store);
    ASSERT_TRUE(store.save());
    const QString folder = app.backup().folder();
    ASSERT_TRUE(QDir().mkpath(folder));
    const QDate day(QDate::currentDate().year(), 1, 3);
    ASSERT_TRUE(BookCopy::copy(store.path(), QDir(folder).filePath(DailyBackup::fileName(day))).ok);
    const QString then = bookText(store);

    page->setTitle(QStringLiteral("Shopping"));
    addTask(QStringLiteral("Eggs"), 0, page, store);
    app.history().commit();
    ASSERT_TRUE(app.history().stack().canUndo());
    const QString now = bookText(store);
    app.window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&app.window()));

    for (QAction *action : app.window().bookMenu()->actions()) {
        if (action->text() == QStringLiteral("Restore from Backup…"))
            action->trigger();
    }
    auto *dialog = waitForTopLevel<ui::RestoreDialog>("restoreDialog");
    ASSERT_TRUE(dialog);
    QTreeWidgetItem *row = nullptr;
    for (int i = 0; i < dialog->copies()->topLevelItemCount(); ++i) {
        if (dialog->copies()->topLevelItem(i)->text(0).contains(QStringLiteral("3 January")))
            row = dialog->copies()->topLevelItem(i);
    }
    ASSERT_TRUE(row);
    EXPECT_EQ(row->text(1), QStringLiteral("1"));
    EXPECT_EQ(row->text(2), QStringLiteral("2"));
    dialog->copies()->setCurrentItem(row);
    saveScreenshot(QStringLiteral("restore-dialog"), *dialog);
    dialog->restoreButton()->click();

    QMessageBox *ask = waitForTopLevel<QMessageBox>("restoreConfirmation");
    ASSERT_TRUE(ask);
    EXPECT_EQ(ask->text(),
        QStringLiteral("Replace the book with the copy of 3 January? The book as it is now is kept as a backup too."));
    saveScreenshot(QStringLiteral("restore-confirmation"), *ask);
    EXPECT_EQ(bookText(store), now) << "nothing changes before the answer";
    for (QAbstractButton *button : ask->buttons()) {
        if (button->text() == QStringLiteral("Replace"))
            button->click();
    }
    EXPECT_EQ(bookText(store), then);
    EXPECT_FALSE(app.history().stack().canUndo());
    EXPECT_EQ(app.window().notice(), QStringLiteral("The book was restored from the copy of 3 January."));
    const QList<BookRestore::Kept> kept = BookRestore::keptIn(folder);
    EXPECT_TRUE(std::any_of(kept.begin(), kept.end(), [](const BookRestore::Kept &k) { return k.beforeRestore; }));
    saveScreenshot(QStringLiteral("restore-done"), app.window());
}
