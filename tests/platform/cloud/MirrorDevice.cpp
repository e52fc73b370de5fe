#include "MirrorDevice.h"

#include "platform/cloud/MirrorBackend.h"

#include <QTest>
#include <gtest/gtest.h>

namespace quillery::test {

MirrorEngine::Timing MirrorDevice::fast()
{
    MirrorEngine::Timing timing;
    timing.exportDelayMs = 20;
    timing.pollIntervalMs = 3'000;
    timing.retryMinMs = 100;
    timing.retryMaxMs = 1'000;
    return timing;
}

MirrorDevice::MirrorDevice(const QString &service, MirrorEngine::Timing timing, const QString &bookPath)
    : m_service(service)
    , m_timing(timing)
    , m_bookPath(bookPath.isEmpty() ? m_dir.filePath(QStringLiteral("book.sqlite")) : bookPath)
{
    open();
}

MirrorDevice::~MirrorDevice()
{
    close();
}

void MirrorDevice::open()
{
    StoreOpenError error;
    m_store = Store::open(bookPath(), &error);
    EXPECT_TRUE(m_store) << error.message().toStdString();
    m_store->setAutosaveDelay(10);
    QString why;
    MirrorBackend *backend = MirrorBackend::load(&why);
    if (!backend)
        qFatal("%s", qPrintable(why));
    m_remote = backend->makeRemote(m_service);
    m_engine = std::make_unique<MirrorEngine>(*m_store, *m_remote, m_timing);
    QObject::connect(m_engine.get(), &MirrorEngine::eventChanged, m_engine.get(),
        [this](const SyncEvent &event) { m_events.append(event); });
}

void MirrorDevice::start()
{
    m_engine->start();
    m_started = true;
}

void MirrorDevice::close()
{
    m_started = false;
    m_engine.reset();
    m_remote.reset();
    m_store.reset();
}

void MirrorDevice::restart()
{
    if (m_store)
        m_store->save();
    close();
    open();
    start();
}

bool converge(const QList<MirrorDevice *> &devices, int msecs)
{
    for (MirrorDevice *device : devices) {
        if (!device->started())
            device->start();
    }
    return QTest::qWaitFor(
        [&] {
            for (MirrorDevice *device : devices) {
                if (!device->engine().isSettled())
                    return false;
            }
            const QString first = bookText(devices.first()->store());
            for (MirrorDevice *device : devices) {
                if (bookText(device->store()) != first)
                    return false;
            }
            return true;
        },
        msecs);
}

Page *addPage(Store &store, const QString &title, double position)
{
    auto *page = new Page(position, 3);
    page->setTitle(title);
    store.insert(page);
    return page;
}

TaskItem *taskNamed(const Store &store, const QString &text)
{
    for (TaskItem *task : store.tasks()) {
        if (task->text() == text)
            return task;
    }
    return nullptr;
}

} // namespace quillery::test
