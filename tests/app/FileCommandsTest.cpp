// The file commands of the assembled window, on one book in one run: the page
// menu opens the print dialog with the paper tab, the Book menu writes every
// page to a PDF in the shape picked in the file chooser, iCalendar comes in
// through the file chooser with a summary the user reads and goes out from a
// page's own menu, and "Restore from Backup…" lists a kept copy with what it
// holds and replaces the book only after the user agrees, keeping the book as
// it was. (Refused copies: tests/core/backup.)
#include "app/QuilleryApp.h"
#include "core/backup/BookCopy.h"
#include "core/backup/BookRestore.h"
#include "core/backup/DailyBackup.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "gui/history/UndoHistory.h"
#include "support/BookText.h"
#include "support/Screenshot.h"
#include "support/TestEnvironment.h"
#include "support/TopLevel.h"
#include "ui/app/BookMenu.h"
#include "ui/app/CalendarFiles.h"
#include "ui/app/MainWindow.h"
#include "ui/app/RestoreDialog.h"
#include "ui/book/BookView.h"
#include "ui/pages/PageOptionsMenu.h"
#include "ui/pages/PageView.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

// The Book menu's item as the user reads it; null if there is none.
QAction *bookMenuItem(QuilleryApp &app, const QString &text)
{
    for (QAction *action : app.window().bookMenu()->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

// The item of the menu of the page on show.
QAction *pageMenuItem(QuilleryApp &app, const QString &text)
{
    ui::PageOptionsMenu *menu = app.bookView().currentPageView()->optionsMenu();
    menu->rebuild();
    return menu->action(text);
}

// Answers the file chooser the command opened, as a user would.
void choose(const char *name, const QString &path, bool lastFilter = false)
{
    QFileDialog *dialog = waitForTopLevel<QFileDialog>(name);
    ASSERT_TRUE(dialog);
    if (lastFilter)
        dialog->selectNameFilter(dialog->nameFilters().last());
    dialog->selectFile(path);
    static_cast<QDialog *>(dialog)->accept();
}

QString summaryShown()
{
    QMessageBox *box = waitForTopLevel<QMessageBox>("calendarSummary");
    if (!box)
        return {};
    static int shown = 0;
    saveScreenshot(QStringLiteral("calendar-summary-%1").arg(++shown), *box);
    QString text = box->text();
    box->accept();
    return text;
}

} // namespace

TEST(FileCommands, printPdfICalendarAndRestoreFromTheWindowsMenus)
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
    auto *garden = new Page(store.pages().size(), 2);
    store.insert(garden);
    garden->setTitle(QStringLiteral("Garden"));
    addTask(QStringLiteral("Garden first"), 0, garden, store);
    app.history().commit();
    ASSERT_TRUE(app.history().stack().canUndo());
    app.window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&app.window()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.bookView().currentPageView(); }, 3000));

    // Print Page… opens the print dialog with the paper colour on.
    QAction *print = pageMenuItem(app, QStringLiteral("Print Page…"));
    ASSERT_TRUE(print);
    print->trigger();
    QPrintDialog *dialog = waitForTopLevel<QPrintDialog>("printDialog");
    ASSERT_TRUE(dialog);
    const QList<QCheckBox *> boxes = dialog->findChildren<QCheckBox *>();
    const auto colour = std::find_if(
        boxes.begin(), boxes.end(), [](QCheckBox *box) { return box->text() == QStringLiteral("Paper colour"); });
    ASSERT_NE(colour, boxes.end());
    EXPECT_TRUE((*colour)->isChecked());
    dialog->reject();

    // Every page to a PDF, in the book's shape: 180 × 250 mm.
    QAction *exportBook = bookMenuItem(app, QStringLiteral("Export Book as PDF…"));
    ASSERT_TRUE(exportBook);
    exportBook->trigger();
    const QString pdf = dir.filePath(QStringLiteral("book.pdf"));
    choose("pdfFileDialog", pdf, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(pdf); }, 10'000));
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), { pdf });
    ASSERT_TRUE(info.waitForFinished(30'000));
    const QString pdfInfo = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(pdfInfo.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(store.pages().size()))))
        << pdfInfo.toStdString();
    EXPECT_TRUE(pdfInfo.contains(QStringLiteral("510 x 709 pts"))) << pdfInfo.toStdString();

    // An imported file becomes the page shown, which exports from its menu.
    QAction *import = bookMenuItem(app, QStringLiteral("Import iCalendar…"));
    ASSERT_TRUE(import);
    import->trigger();
    choose("calendarFileDialog", testDataPath(QStringLiteral("ical/planner-tasks.ics")));
    EXPECT_EQ(summaryShown(), "Imported 10 tasks; skipped 3 events and 1 damaged entry");
    Page *imported = app.bookView().book().currentPage();
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported->title(), "Home and trips");
    EXPECT_EQ(imported->sortedTasks().size(), 10);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return app.bookView().currentPageView() && app.bookView().currentPageView()->page() == imported; },
        3000));
    QAction *exportPage = pageMenuItem(app, QStringLiteral("Export Page as iCalendar…"));
    ASSERT_TRUE(exportPage);
    exportPage->trigger();
    const QString ics = dir.filePath(QStringLiteral("exported.ics"));
    choose("calendarFileDialog", ics);
    EXPECT_EQ(summaryShown(), "Exported 10 tasks");
    QFile file(ics);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray exported = file.readAll();
    EXPECT_TRUE(exported.contains("X-WR-CALNAME:Home and trips"));
    EXPECT_TRUE(exported.contains("RRULE:FREQ=WEEKLY;BYDAY=TU"));

    // A file that is not iCalendar says so and adds nothing.
    const qsizetype pages = store.pages().size();
    app.calendarFiles()->chooseImport();
    choose("calendarFileDialog", dir.filePath(QStringLiteral("book.sqlite")));
    EXPECT_TRUE(summaryShown().contains("holds no iCalendar data"));
    EXPECT_EQ(store.pages().size(), pages);

    // The kept copy is listed with its page and its two tasks; nothing
    // changes before the user agrees.
    const QString now = bookText(store);
    QAction *restore = bookMenuItem(app, QStringLiteral("Restore from Backup…"));
    ASSERT_TRUE(restore);
    restore->trigger();
    auto *restoreDialog = waitForTopLevel<ui::RestoreDialog>("restoreDialog");
    ASSERT_TRUE(restoreDialog);
    const QList<QTreeWidgetItem *> rows
        = restoreDialog->copies()->findItems(QStringLiteral("3 January"), Qt::MatchContains);
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows.last()->text(1), QStringLiteral("1"));
    EXPECT_EQ(rows.last()->text(2), QStringLiteral("2"));
    restoreDialog->copies()->setCurrentItem(rows.last());
    saveScreenshot(QStringLiteral("restore-dialog"), *restoreDialog);
    restoreDialog->restoreButton()->click();
    QMessageBox *ask = waitForTopLevel<QMessageBox>("restoreConfirmation");
    ASSERT_TRUE(ask);
    EXPECT_EQ(ask->text(),
        QStringLiteral("Replace the book with the copy of 3 January? The book as it is now is kept as a backup too."));
    saveScreenshot(QStringLiteral("restore-confirmation"), *ask);
    EXPECT_EQ(bookText(store), now);
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
