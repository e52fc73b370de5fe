// The assembled program with its book on a disk that fills up: the window
// and the page menu say so, quitting asks before anything is lost, and being
// stopped from outside keeps every task for the next start, which finds them
// once there is space again.
#include "app/QuilleryApp.h"
#include "app/SafeQuit.h"
#include "core/model/Attachment.h"
#include "core/model/Page.h"
#include "core/model/RecoveryJournal.h"
#include "core/model/TaskItem.h"
#include "support/FileDigest.h"
#include "support/FullDisk.h"
#include "ui/app/BookMenu.h"
#include "ui/app/MainWindow.h"
#include "ui/book/BookView.h"
#include "ui/pages/AddTaskRow.h"
#include "ui/pages/PageOptionsMenu.h"
#include "ui/pages/PageView.h"

#include <SQLiteCpp/Database.h>

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
    return test::fileDigest(path).toHex();
}

// Everything a user could see of the book, in a comparable form.
QStringList contents(const QuilleryApp &app)
{
    QStringList lines;
    for (Page *page : app.store().pages()) {
        lines << QStringLiteral("page %1").arg(page->title());
        for (TaskItem *task : page->sortedTasks()) {
            lines << QStringLiteral("  %1%2").arg(task->text(), task->done() ? QStringLiteral(" (done)") : QString());
            for (Attachment *attachment : task->sortedAttachments())
                lines << QStringLiteral("    %1 %2").arg(attachment->name(), QString::fromLatin1(*attachment->data()));
        }
    }
    return lines;
}

// A change of every kind the journal has to carry, made while the disk is
// full: an edit, a deletion, bytes, a new page, a task gone before it was
// ever saved.
void changeEveryKind(Store &store)
{
    Page *page = store.pages().first();
    page->sortedTasks().at(1)->setDone(true);
    store.remove(page->sortedTasks().at(0));
    auto *photo = new Attachment(QStringLiteral("photo.jpg"), QStringLiteral("public.jpeg"), QByteArray("bytes"));
    store.insert(photo);
    photo->setTask(page->sortedTasks().last());
    auto *second = new Page(2, 3);
    second->setTitle(QStringLiteral("new page"));
    store.insert(second);
    addTask(QStringLiteral("on the new page"), 0, second, store);
    store.remove(addTask(QStringLiteral("gone before it was saved"), 0, second, store));
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

// The program with its book on a disk that fills up once "One" and "Two"
// are saved; "Three" and "Four" are typed after that, and the window and the
// page menu say they cannot be saved.
struct FullSession {
    FullDisk disk;
    QTemporaryDir elsewhere;
    QuilleryApp::Options options { disk.filePath(QStringLiteral("book.sqlite")),
        elsewhere.filePath(QStringLiteral("pending.json")) };
    std::unique_ptr<QuilleryApp> app;
    QByteArray full; // the book's digest once the disk is full

    void start()
    {
        app = std::make_unique<QuilleryApp>(options);
        StoreOpenError error;
        ASSERT_TRUE(app->start(&error)) << error.message().toStdString();
        app->store().setRetryDelays(20, 80);
        app->window().show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return app->bookView().currentPageView(); }, 5000));
        type(*app, { QStringLiteral("One"), QStringLiteral("Two") });
        ASSERT_TRUE(app->store().save());
        app->store().database().exec("PRAGMA wal_checkpoint(TRUNCATE)");

        disk.fill();
        full = digest(options.storePath);
        type(*app, { QStringLiteral("Three"), QStringLiteral("Four") });
        EXPECT_FALSE(app->store().save());
        EXPECT_EQ(app->window().notice(),
            QStringLiteral("Quillery can't save: the disk is full. Your changes are kept in memory and saved when "
                           "space is free."));
        ui::PageOptionsMenu *menu = app->bookView().currentPageView()->optionsMenu();
        menu->rebuild();
        EXPECT_TRUE(menu->statusLines().value(0).startsWith(QStringLiteral("Not saved: the disk is full")))
            << "the page menu says so too";
    }

    // Frees the disk and starts again: returns the tasks found.
    QStringList restart()
    {
        app.reset();
        disk.free();
        app = std::make_unique<QuilleryApp>(options);
        StoreOpenError error;
        EXPECT_TRUE(app->start(&error)) << error.message().toStdString();
        return contents(*app);
    }

    void record(const char *name, const QByteArray &after, const QStringList &typed, const QStringList &found,
        const QString &journal, int status)
    {
        using ::testing::Test;
        Test::RecordProperty("case", name);
        Test::RecordProperty("disk", disk.kind());
        Test::RecordProperty("book_sha256_full", full.toStdString());
        Test::RecordProperty("book_sha256_after_exit", after.toStdString());
        Test::RecordProperty("lines_typed", int(typed.size())); // pages, tasks and attachments
        Test::RecordProperty("lines_after_restart", int(found.size()));
        Test::RecordProperty("journal", journal.toStdString());
        Test::RecordProperty("exit_status", status);
    }
};

struct Ending {
    const char *name;
    int signal;
    bool whileAsking; // the signal comes while the quit question is open
    bool everyKind = false; // with changeEveryKind() before the signal
};

class DiskFull : public ::testing::TestWithParam<Ending>
{
};

} // namespace

TEST(DiskFull, spaceComingBackWhileItRunsSavesEverything)
{
    FullSession session;
    session.start();
    session.disk.free();
    EXPECT_TRUE(QTest::qWaitFor([&] { return session.app->window().notice().isEmpty(); }, 5000))
        << "saved by itself, and the notice goes";
    const QStringList typed = contents(*session.app);
    QSignalSpy finished(&session.app->safeQuit(), &SafeQuit::finished);
    session.app->window().bookMenu()->quitAction()->trigger();
    EXPECT_FALSE(session.app->safeQuit().question()) << "nothing to lose, nothing to ask";
    ASSERT_EQ(finished.size(), 1);
    EXPECT_EQ(finished.first().first().toInt(), SafeQuit::Saved);
    const QStringList found = session.restart();
    EXPECT_EQ(found, typed);
    session.record("space comes back while it runs", digest(session.options.storePath), typed, found, {}, 0);
}

TEST_P(DiskFull, quittingAsksAndBeingStoppedKeepsEveryTaskForTheNextStart)
{
    const Ending ending = GetParam();
    FullSession session;
    session.start();
    QuilleryApp &app = *session.app;
    app.window().bookMenu()->quitAction()->trigger();
    QMessageBox *question = app.safeQuit().question();
    ASSERT_TRUE(question) << "quitting with unsaved changes asks";
    EXPECT_EQ(
        question->text(), QStringLiteral("Quit and lose %1 unsaved changes?").arg(app.store().unsavedChangeCount()));
    if (!ending.whileAsking) {
        question->button(QMessageBox::Cancel)->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !app.safeQuit().question(); }, 2000));
        type(app, { QStringLiteral("Five") });
        // Closing the active window at the end saves (and fails) once more.
        app.window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&app.window()));
    }
    if (ending.everyKind)
        changeEveryKind(app.store());
    const QStringList typed = contents(app);

    ::testing::internal::CaptureStderr();
    const int status = stopWith(app, ending.signal);
    const QString said = QString::fromStdString(::testing::internal::GetCapturedStderr());
    EXPECT_EQ(status, SafeQuit::InJournal) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("for the next start to restore"))) << said.toStdString();
    session.app.reset();
    const QByteArray after = digest(session.options.storePath);
    EXPECT_EQ(after, session.full) << "failing saves leave the book as it was";
    const QStringList journals = RecoveryJournal::locations(session.options.storePath);
    const auto journal
        = std::find_if(journals.begin(), journals.end(), [](const QString &p) { return QFile::exists(p); });
    ASSERT_NE(journal, journals.end());
    EXPECT_EQ(QFile::permissions(*journal) & QFileDevice::Permissions(0x0077), 0);
    const QString copy = session.elsewhere.filePath(QStringLiteral("journal"));
    QFile::copy(*journal, copy);

    const QStringList found = session.restart();
    EXPECT_EQ(found, typed) << "every task is there";
    EXPECT_FALSE(QFile::exists(*journal)) << "replayed and saved, the journal goes";
    EXPECT_EQ(RecoveryJournal::replay(session.app->store(), copy), 0) << "replaying it again changes nothing";
    session.record(ending.name, after, typed, found, *journal, status);
}

INSTANTIATE_TEST_SUITE_P(Endings, DiskFull,
    ::testing::Values(Ending { "sigtermAfterTheQuestionWasCancelled", SIGTERM, false },
        Ending { "hangupWhileTheQuestionIsOpen", SIGHUP, true },
        Ending { "interruptAfterChangesOfEveryKind", SIGINT, false, true }),
    [](const auto &test) { return std::string(test.param.name); });
