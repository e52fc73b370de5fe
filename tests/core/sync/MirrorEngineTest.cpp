// The engine's scheduling against a server whose answers the test writes:
// which runs are reported, and that a server turning the same change down
// again and again ends the export instead of spinning.
#include "support/TempStore.h"

#include "core/sync/MirrorEngine.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::TempStore;

namespace {

// Answers every request on the next pass of the event loop.
class ScriptedRemote final : public MirrorRemote
{
public:
    void setup(const QUuid &) override
    {
        QTimer::singleShot(0, this, [this] { Q_EMIT setupDone({ std::nullopt, mirror }); });
    }
    void importChanges(qint64 cursor) override
    {
        ++imports;
        std::optional<SyncError> error;
        if (failImports > 0) {
            --failImports;
            error = MirrorErrors::make(MirrorErrors::Unreachable, QStringLiteral("server gone"));
        }
        QTimer::singleShot(0, this, [this, cursor, error] { Q_EMIT importDone({ error, {}, cursor }); });
    }
    void exportChanges(const ExportRequest &request) override
    {
        ++exports;
        ExportReply reply;
        if (accept) {
            for (const MirrorRecord &r : request.records)
                reply.held.append({ r.kind, r.id, r.modified, r.deleted });
        }
        QTimer::singleShot(0, this, [this, reply] { Q_EMIT exportDone(reply); });
    }

    QUuid mirror = QUuid::createUuid();
    bool accept = true;
    int failImports = 0;
    int imports = 0;
    int exports = 0;
};

class MirrorEngineTest : public ::testing::Test
{
protected:
    void start(const MirrorEngine::Timing &timing)
    {
        engine.emplace(*store, remote, timing);
        QObject::connect(&*engine, &MirrorEngine::eventChanged, [this](const SyncEvent &e) { events.append(e); });
        engine->start();
    }

    // `count` events reported from `from` on, as "import", "import ok" and the like.
    QString kinds(qsizetype from = 0, qsizetype count = -1) const
    {
        QStringList out;
        for (const SyncEvent &e : events.mid(from, count))
            out << syncEventKind(e.type)
                    + (e.end ? (e.succeeded ? QStringLiteral(" ok") : QStringLiteral(" failed")) : QString());
        return out.join(QStringLiteral(", "));
    }

    TempStore store;
    ScriptedRemote remote;
    std::optional<MirrorEngine> engine;
    QList<SyncEvent> events;
};

} // namespace

TEST_F(MirrorEngineTest, periodicImportsThatFindNothingAreNotReported)
{
    MirrorEngine::Timing timing;
    timing.pollIntervalMs = 20;
    start(timing);
    ASSERT_TRUE(QTest::qWaitFor([&] { return remote.imports >= 5; }, 5'000));
    EXPECT_EQ(kinds(), QStringLiteral("setup, setup ok, import, import ok")) << "only the import at start is reported";

    engine->requestImport(); // as a push from another device
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.size() == 6; }, 5'000));
    EXPECT_EQ(kinds(4), QStringLiteral("import, import ok"));
}

TEST_F(MirrorEngineTest, theRetryAfterAFailureIsReportedEvenWhenItFindsNothing)
{
    remote.failImports = 1;
    MirrorEngine::Timing timing;
    timing.pollIntervalMs = 5; // polls pile up while the retry waits
    timing.retryMinMs = 50;
    start(timing);
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.size() >= 6; }, 5'000));
    EXPECT_EQ(kinds(2, 4), QStringLiteral("import, import failed, import, import ok"))
        << "the success that clears the failure from the status line is reported";
}

TEST_F(MirrorEngineTest, aServerThatKeepsTurningAChangeDownEndsTheExportWithAnError)
{
    remote.accept = false;
    store->insert(new Page(1, 0));
    MirrorEngine::Timing timing;
    timing.retryMinMs = 60'000;
    start(timing);
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.size() >= 6; }, 5'000));
    QTest::qWait(100);
    ASSERT_EQ(events.size(), 6);
    EXPECT_EQ(events.last().type, SyncEvent::Export);
    EXPECT_FALSE(events.last().succeeded);
    ASSERT_TRUE(events.last().error);
    EXPECT_EQ(events.last().error->code, MirrorErrors::NoProgress);
    EXPECT_EQ(remote.exports, 1) << "sent once, not again and again";
    EXPECT_TRUE(engine->ledger().hasPending()) << "the change is kept for a later try";
}
