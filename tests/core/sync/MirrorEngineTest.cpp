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

QStringList kinds(const QList<SyncEvent> &events)
{
    QStringList out;
    for (const SyncEvent &e : events)
        out << syncEventKind(e.type)
                + (e.end ? (e.succeeded ? QStringLiteral(" ok") : QStringLiteral(" failed")) : QString());
    return out;
}

} // namespace

TEST(MirrorEngine, periodicImportsThatFindNothingAreNotReported)
{
    TempStore store;
    ScriptedRemote remote;
    MirrorEngine::Timing timing;
    timing.pollIntervalMs = 20;
    MirrorEngine engine(*store, remote, timing);
    QList<SyncEvent> events;
    QObject::connect(&engine, &MirrorEngine::eventChanged, [&](const SyncEvent &e) { events.append(e); });
    engine.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return remote.imports >= 5; }, 5'000));
    EXPECT_EQ(kinds(events),
        (QStringList { QStringLiteral("setup"), QStringLiteral("setup ok"), QStringLiteral("import"),
            QStringLiteral("import ok") }))
        << "only the import at start is reported";

    engine.requestImport(); // as a push from another device
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.size() == 6; }, 5'000));
    EXPECT_EQ(kinds(events).mid(4), (QStringList { QStringLiteral("import"), QStringLiteral("import ok") }));
}

TEST(MirrorEngine, theRetryAfterAFailureIsReportedEvenWhenItFindsNothing)
{
    TempStore store;
    ScriptedRemote remote;
    remote.failImports = 1;
    MirrorEngine::Timing timing;
    timing.pollIntervalMs = 5; // polls pile up while the retry waits
    timing.retryMinMs = 50;
    MirrorEngine engine(*store, remote, timing);
    QList<SyncEvent> events;
    QObject::connect(&engine, &MirrorEngine::eventChanged, [&](const SyncEvent &e) { events.append(e); });
    engine.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.size() >= 6; }, 5'000));
    EXPECT_EQ(kinds(events).mid(2, 4),
        (QStringList { QStringLiteral("import"), QStringLiteral("import failed"), QStringLiteral("import"),
            QStringLiteral("import ok") }))
        << "the success that clears the failure from the status line is reported";
}

TEST(MirrorEngine, aServerThatKeepsTurningAChangeDownEndsTheExportWithAnError)
{
    TempStore store;
    ScriptedRemote remote;
    remote.accept = false;
    MirrorEngine::Timing timing;
    timing.retryMinMs = 60'000;
    MirrorEngine engine(*store, remote, timing);
    QList<SyncEvent> events;
    QObject::connect(&engine, &MirrorEngine::eventChanged, [&](const SyncEvent &e) { events.append(e); });
    store->insert(new Page(1, 0));
    engine.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.size() >= 6; }, 5'000));
    QTest::qWait(100);
    ASSERT_EQ(events.size(), 6);
    EXPECT_EQ(events.last().type, SyncEvent::Export);
    EXPECT_FALSE(events.last().succeeded);
    ASSERT_TRUE(events.last().error);
    EXPECT_EQ(events.last().error->code, MirrorErrors::NoProgress);
    EXPECT_EQ(remote.exports, 1) << "sent once, not again and again";
    EXPECT_TRUE(engine.ledger().hasPending()) << "the change is kept for a later try";
}
