// iCalendar files from the assembled window: the Book menu's import through
// the file chooser, the summary the user reads, and a page exported from its
// own menu.
#include "ui/app/CalendarFiles.h"
#include "app/QuilleryApp.h"
#include "core/model/Page.h"
#include "support/TestEnvironment.h"
#include "support/TopLevel.h"
#include "ui/app/BookMenu.h"
#include "ui/book/BookView.h"
#include "ui/pages/PageOptionsMenu.h"
#include "ui/pages/PageView.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

// Answers the file chooser the command opened, as a user would.
void choose(const QString &path)
{
    QFileDialog *dialog = waitForTopLevel<QFileDialog>("calendarFileDialog");
    ASSERT_TRUE(dialog);
    dialog->selectFile(path);
    static_cast<QDialog *>(dialog)->accept();
}

QString summaryShown()
{
    QMessageBox *box = waitForTopLevel<QMessageBox>("calendarSummary");
    if (!box)
        return {};
    QString text = box->text();
    // Under a real display, QUILLERY_SHOT names a file for a picture of the
    // window with the summary over it.
    static bool shotTaken = false;
    if (const QString shot = qEnvironmentVariable("QUILLERY_SHOT"); !shot.isEmpty() && !shotTaken) {
        shotTaken = true;
        QTest::qWait(500);
        QGuiApplication::primaryScreen()->grabWindow(0).save(shot);
    }
    box->accept();
    return text;
}

} // namespace

TEST(CalendarFiles, anImportedFileBecomesThePageShownAndAPageExportsFromItsMenu)
{
    QTemporaryDir dir;
    QuilleryApp app({ dir.filePath(QStringLiteral("book.sqlite")), dir.filePath(QStringLiteral("pending.json")) });
    StoreOpenError error;
    ASSERT_TRUE(app.start(&error)) << error.message().toStdString();
    app.window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&app.window()));

    QAction *import = nullptr;
    for (QAction *action : app.window().bookMenu()->actions()) {
        if (action->text() == QStringLiteral("Import iCalendar…"))
            import = action;
    }
    ASSERT_TRUE(import);
    import->trigger();
    choose(test::testDataPath(QStringLiteral("ical/planner-tasks.ics")));
    EXPECT_EQ(summaryShown(), "Imported 10 tasks; skipped 3 events and 1 damaged entry");

    Book &book = app.bookView().book();
    Page *imported = book.currentPage();
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported->title(), "Home and trips");
    EXPECT_EQ(imported->sortedTasks().size(), 10);

    // The page on show exports from its own menu.
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.bookView().currentPageView(); }, 3000));
    ui::PageOptionsMenu *menu = app.bookView().currentPageView()->optionsMenu();
    menu->rebuild();
    QAction *exportPage = menu->action(QStringLiteral("Export Page as iCalendar…"));
    ASSERT_TRUE(exportPage);
    exportPage->trigger();
    const QString out = dir.filePath(QStringLiteral("exported.ics"));
    choose(out);
    EXPECT_EQ(summaryShown(), "Exported 10 tasks");
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("X-WR-CALNAME:Home and trips"));
    EXPECT_TRUE(text.contains("RRULE:FREQ=WEEKLY;BYDAY=TU"));

    // A file that is not iCalendar says so and adds nothing.
    const qsizetype pages = app.store().pages().size();
    app.calendarFiles()->chooseImport();
    choose(dir.filePath(QStringLiteral("book.sqlite")));
    EXPECT_TRUE(summaryShown().contains("holds no iCalendar data"));
    EXPECT_EQ(app.store().pages().size(), pages);
}
