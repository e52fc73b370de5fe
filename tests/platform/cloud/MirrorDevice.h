#pragma once

#include "core/model/Store.h"
#include "core/sync/MirrorEngine.h"
#include "support/BookText.h"

#include <QTemporaryDir>

#include <memory>

namespace quillery::test {

// One of the user's computers: a book in a temporary folder mirrored through
// a connection service by the program's own mirror module, with short delays
// so tests run quickly.
class MirrorDevice
{
public:
    // `bookPath` empty: a new book in a temporary folder.
    explicit MirrorDevice(const QString &service = QStringLiteral("quillery"), MirrorEngine::Timing timing = fast(),
        const QString &bookPath = QString());
    ~MirrorDevice();

    static MirrorEngine::Timing fast();

    Store &store() const { return *m_store; }
    MirrorEngine &engine() const { return *m_engine; }
    MirrorRemote &remote() const { return *m_remote; }
    QString bookPath() const { return m_bookPath; }
    const QList<SyncEvent> &events() const { return m_events; }
    bool started() const { return m_started; }

    void start();
    // Closes the book and its mirror, then opens them again (records held
    // before are gone).
    void restart();
    // Closes everything without saving what is unsaved.
    void close();

private:
    void open();

    QString m_service;
    MirrorEngine::Timing m_timing;
    QTemporaryDir m_dir;
    QString m_bookPath;
    std::unique_ptr<Store> m_store;
    std::unique_ptr<MirrorRemote> m_remote;
    std::unique_ptr<MirrorEngine> m_engine;
    QList<SyncEvent> m_events;
    bool m_started = false;
};

// Starts the devices not started yet, then waits, running the event loop,
// until every one has nothing left to do and all their books hold the same
// records. False after `msecs`.
bool converge(const QList<MirrorDevice *> &devices, int msecs = 20'000);

Page *addPage(Store &store, const QString &title, double position = 1);
TaskItem *taskNamed(const Store &store, const QString &text);

} // namespace quillery::test
