// The window in German, from the catalogue the build compiles: CTest runs
// this as test_app_german under LANG=de_DE.UTF-8; under another language it
// is skipped.
#include "app/QuilleryApp.h"
#include "core/book/Book.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "support/Screenshot.h"
#include "ui/app/BookMenu.h"
#include "ui/app/MainWindow.h"
#include "ui/book/BookView.h"
#include "ui/card/TaskCard.h"
#include "ui/card/TaskCardHost.h"
#include "ui/pages/PageOptionsMenu.h"
#include "ui/pages/PageView.h"
#include "ui/tasks/TaskRow.h"

#include <QAbstractButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;

namespace {

QStringList texts(QWidget *root)
{
    QStringList found { root->accessibleName() };
    for (QWidget *w : root->findChildren<QWidget *>()) {
        found << w->accessibleName();
        if (const QString text = w->property("text").toString(); !text.isEmpty())
            found << text;
    }
    return found;
}

} // namespace

TEST(GermanWindow, thePageMenuTheCardAndASummaryLineSpeakGerman)
{
    if (QLocale().language() != QLocale::German)
        GTEST_SKIP() << "runs under LANG=de_DE.UTF-8 (ctest -R test_app_german)";
    ManualClock clock(QDateTime(QDate(2031, 5, 14), QTime(10, 0)));
    QTemporaryDir dir;
    QuilleryApp app(
        { dir.filePath(QStringLiteral("book.sqlite")), dir.filePath(QStringLiteral("pending.json")), &clock });
    StoreOpenError error;
    ASSERT_TRUE(app.start(&error)) << error.message().toStdString();
    ui::MainWindow &window = app.window();
    window.show();
    ui::BookView &bookView = app.bookView();
    Book &book = bookView.book();
    ASSERT_TRUE(QTest::qWaitFor([&] { return book.pageCount() == 1 && bookView.currentPageView(); }, 5000));
    ui::PageView *view = bookView.currentPageView();

    EXPECT_EQ(window.bookMenu()->title(), QStringLiteral("&Buch"));
    auto *pageMenu = view->findChild<ui::PageOptionsMenu *>();
    ASSERT_TRUE(pageMenu);
    EXPECT_TRUE(pageMenu->action(QStringLiteral("Seite herausreißen")));

    // A task due tomorrow with a reminder and a note: the line under it is
    // German from end to end, the glue between its parts included.
    TaskItem *task = addTask(QStringLiteral("Briefmarken kaufen"), 0, book.pageAt(0), app.store());
    const QDateTime tomorrow(QDate(2031, 5, 15), QTime(9, 0));
    task->setDue(tomorrow);
    task->setAlarm(tomorrow);
    task->setNotes(QStringLiteral("Zweite Klasse"));
    ui::TaskRow *row = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (ui::TaskRow *candidate : view->findChildren<ui::TaskRow *>())
                if (candidate->task() == task && !candidate->summaryText().isEmpty())
                    row = candidate;
            return row;
        },
        3000));
    EXPECT_EQ(row->summaryText(), QStringLiteral("Morgen um 09:00  \u00B7  Notiz"));

    app.cards().open(task, &window);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.cards().current(); }, 2000));
    const QStringList card = texts(app.cards().current());
    for (const char *german : { "Aufgabenkarte", "Morgen", "Erinnern", "Notizen", "Aufgabe löschen", "Fertig" })
        EXPECT_TRUE(card.contains(QString::fromUtf8(german))) << german;
    test::saveScreenshot(QStringLiteral("desk-german-card"), window);
}
