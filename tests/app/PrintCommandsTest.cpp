// Printing and PDF from the assembled window: the page menu opens the print
// dialog with the paper tab, and the Book menu writes every page to a PDF in
// the shape the user picked in the file chooser.
#include "ui/app/PrintCommands.h"
#include "app/QuilleryApp.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "support/TopLevel.h"
#include "ui/app/BookMenu.h"
#include "ui/book/BookView.h"
#include "ui/pages/PageOptionsMenu.h"
#include "ui/pages/PageView.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QPrintDialog>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

TEST(PrintCommands, thePageMenuPrintsAndTheBookMenuWritesEveryPageInTheBooksShape)
{
    QTemporaryDir dir;
    QuilleryApp app({ dir.filePath(QStringLiteral("book.sqlite")), dir.filePath(QStringLiteral("pending.json")) });
    StoreOpenError error;
    ASSERT_TRUE(app.start(&error)) << error.message().toStdString();
    Store &store = app.store();
    for (const char *title : { "Groceries", "Garden" }) {
        auto *page = new Page(store.pages().size(), 2);
        store.insert(page);
        page->setTitle(QString::fromLatin1(title));
        addTask(QStringLiteral("%1 first").arg(QLatin1String(title)), 0, page, store);
    }
    app.window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&app.window()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.bookView().currentPageView(); }, 3000));

    ui::PageOptionsMenu *menu = app.bookView().currentPageView()->optionsMenu();
    menu->rebuild();
    QAction *print = menu->action(QStringLiteral("Print Page…"));
    ASSERT_TRUE(print);
    print->trigger();
    QPrintDialog *dialog = waitForTopLevel<QPrintDialog>("printDialog");
    ASSERT_TRUE(dialog);
    QCheckBox *colour = nullptr;
    for (QCheckBox *box : dialog->findChildren<QCheckBox *>()) {
        if (box->text() == QStringLiteral("Paper colour"))
            colour = box;
    }
    ASSERT_TRUE(colour);
    EXPECT_TRUE(colour->isChecked());
    dialog->reject();

    QAction *exportBook = nullptr;
    for (QAction *action : app.window().bookMenu()->actions()) {
        if (action->text() == QStringLiteral("Export Book as PDF…"))
            exportBook = action;
    }
    ASSERT_TRUE(exportBook);
    exportBook->trigger();
    QFileDialog *chooser = waitForTopLevel<QFileDialog>("pdfFileDialog");
    ASSERT_TRUE(chooser);
    const QString out = dir.filePath(QStringLiteral("book.pdf"));
    chooser->selectNameFilter(chooser->nameFilters().last());
    chooser->selectFile(out);
    static_cast<QDialog *>(chooser)->accept();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(out); }, 10'000));

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), { out });
    ASSERT_TRUE(info.waitForFinished(30'000));
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(store.pages().size()))))
        << text.toStdString();
    // 180 × 250 mm.
    EXPECT_TRUE(text.contains(QStringLiteral("510 x 709 pts"))) << text.toStdString();
}
