// The assembled program with its book on a disk that fills up: the window
// and the page menu say so, quitting asks before anything is lost, and being
// stopped from outside keeps every task for the next start, which finds them
// once there is space again.
#include "app/QuilleryApp.h"
#include "app/SafeQuit.h"
#include "core/model/Page.h"
#include "core/model/RecoveryJournal.h"
#include "core/model/TaskItem.h"
#include "support/FullDisk.h"
#include "ui/app/BookMenu.h"
#include "ui/app/MainWindow.h"
#include "ui/book/BookView.h"
#include "ui/pages/AddTaskRow.h"
#include "ui/pages/PageOptionsMenu.h"
#include "ui/pages/PageView.h"

#include <SQLiteCpp/Database.h>

#include <QCryptographicHash>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

using namespace quillery;
using quillery::test::FullDisk;

namespace {

QByteArray digest(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()
                                          : QByteArray();
}

QStringList taskTexts(const QuilleryApp &app)
{
    QStringList texts;
    for (Page *page : app.store().pages()) {
        for (TaskItem *task : page->sortedTasks())
            texts << task->text();
    }
    return texts;
}

void type(QuilleryApp &app, const QStringList &lines)
{
    auto *add = app.bookView().currentPageView()->findChild<ui::AddTaskRow *>();
    ASSERT_TRUE(add);
    for (const QString &line : lines) {
        add->field()->setFocus();
        QTest::keyClicks(add->field(), line);
        QTest::keyClick(add->field(), Qt::Key_Return);
    }
}

// Sends this process `signal` and waits until the program has decided how
// it ends; returns the exit status it chose.
int stopWith(const QuilleryApp &app, int signal)
{
    QSignalSpy finished(&app.safeQuit(), &SafeQuit::finished);
    ::kill(::getpid(), signal);
    if (!QTest::qWaitFor([&] { return !finished.isEmpty(); }, 10'000))
        return -1;
    return finished.first().first().toInt();
}

struct Ending {
    const char *name;
    int signal;
    bool whileAsking; // the signal comes while the quit question is open
};

class DiskFull : public ::testing::TestWithParam<Ending>
{
};

} // namespace

TEST_P(DiskFull, theWindowWarnsQuittingAsksAndBeingStoppedKeepsEveryTask)
{
    const Ending ending = GetParam();
    FullDisk disk;
    QTemporaryDir elsewhere;
    const QuilleryApp::Options options { disk.filePath(QStringLiteral("book.sqlite")),
        elsewhere.filePath(QStringLiteral("pending.json")) };
    QByteArray full;
    QStringList typed;
    QString stderrText;
    int status = 0;
    {
        QuilleryApp app(options);
        StoreOpenError error;
        ASSERT_TRUE(app.start(&error)) << error.message().toStdString();
        app.window().show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return app.bookView().currentPageView(); }, 5000));
        type(app, { QStringLiteral("One"), QStringLiteral("Two") });
        ASSERT_TRUE(app.store().save());
        app.store().database().exec("PRAGMA wal_checkpoint(TRUNCATE)");

        disk.fill();
        full = digest(options.storePath);
        type(app, { QStringLiteral("Three"), QStringLiteral("Four") });
        EXPECT_FALSE(app.store().save());
        EXPECT_EQ(app.window().notice(),
            QStringLiteral("Quillery can't save: the disk is full. Your changes are kept in memory and saved when "
                           "space is free."));
        ui::PageOptionsMenu *menu = app.bookView().currentPageView()->optionsMenu();
        menu->rebuild();
        EXPECT_TRUE(menu->statusLines().value(0).startsWith(QStringLiteral("Not saved: the disk is full")))
            << "the page menu says so too";

        app.window().bookMenu()->quitAction()->trigger();
        QMessageBox *question = app.safeQuit().question();
        ASSERT_TRUE(question) << "quitting with unsaved changes asks";
        EXPECT_EQ(question->text(),
            QStringLiteral("Quit and lose %1 unsaved changes?").arg(app.store().unsavedChangeCount()));
        if (!ending.whileAsking) {
            question->button(QMessageBox::Cancel)->click();
            ASSERT_TRUE(QTest::qWaitFor([&] { return !app.safeQuit().question(); }, 2000));
            type(app, { QStringLiteral("Five") });
            // Closing the active window at the end saves (and fails) once more.
            app.window().activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&app.window()));
        }
        typed = taskTexts(app);

        ::testing::internal::CaptureStderr();
        status = stopWith(app, ending.signal);
        stderrText = QString::fromStdString(::testing::internal::GetCapturedStderr());
    }
    EXPECT_EQ(status, SafeQuit::InJournal) << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains(QStringLiteral("for the next start to restore"))) << stderrText.toStdString();
    const QByteArray after = digest(options.storePath);
    EXPECT_EQ(after, full) << "failing saves leave the book as it was";

    QString journal;
    for (const QString &location : RecoveryJournal::locations(options.storePath)) {
        if (journal.isEmpty() && QFile::exists(location))
            journal = location;
    }

    disk.free();
    QuilleryApp again(options);
    StoreOpenError error;
    ASSERT_TRUE(again.start(&error)) << error.message().toStdString();
    EXPECT_EQ(taskTexts(again), typed) << "every task is there";
    for (const QString &journal : RecoveryJournal::locations(options.storePath))
        EXPECT_FALSE(QFile::exists(journal)) << "replayed and saved, the journal goes";

    RecordProperty("case", ending.name);
    RecordProperty("disk", disk.kind());
    RecordProperty("journal", journal.toStdString());
    RecordProperty("book_sha256_full", full.toStdString());
    RecordProperty("book_sha256_after_exit", after.toStdString());
    RecordProperty("tasks_typed", typed.join(u' ').toStdString());
    RecordProperty("tasks_after_restart", taskTexts(again).join(u' ').toStdString());
    RecordProperty("exit_status", status);
}

INSTANTIATE_TEST_SUITE_P(Endings, DiskFull,
    ::testing::Values(Ending { "sigtermAfterTheQuestionWasCancelled", SIGTERM, false },
        Ending { "hangupWhileTheQuestionIsOpen", SIGHUP, true }),
    [](const auto &info) { return std::string(info.param.name); });
