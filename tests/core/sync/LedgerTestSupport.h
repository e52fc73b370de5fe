#pragma once

// The book's side of the mirror driven as the export does it: open the
// ledger, collect what is pending, and tell it what the server now holds.

#include "core/sync/MirrorLedger.h"

#include <gtest/gtest.h>

#include <memory>

namespace quillery::test {

inline std::unique_ptr<MirrorLedger> openLedger(Store &store)
{
    auto ledger = std::make_unique<MirrorLedger>(store);
    QString error;
    EXPECT_TRUE(ledger->open(&error)) << error.toStdString();
    return ledger;
}

inline QList<MirrorKey> keysOf(const QList<MirrorRecord> &records)
{
    QList<MirrorKey> keys;
    for (const MirrorRecord &r : records)
        keys.append({ r.kind, r.id, r.modified, r.deleted });
    return keys;
}

// Everything pending, in one unbounded chunk.
inline QList<MirrorRecord> collectAll(MirrorLedger &ledger)
{
    QString error;
    QList<MirrorRecord> records = ledger.collect(1'000'000, qint64(1) << 40, &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return records;
}

// Collects everything pending and acknowledges it, as a server that took
// every record would; returns what was sent.
inline QList<MirrorRecord> sendAll(MirrorLedger &ledger)
{
    const QList<MirrorRecord> records = collectAll(ledger);
    EXPECT_TRUE(ledger.acknowledge(keysOf(records)));
    return records;
}

} // namespace quillery::test
