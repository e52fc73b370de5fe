#include "MirrorDevice.h"

#include "core/util/Uuid.h"

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
    m_remote = std::make_unique<PgMirrorRemote>(m_service);
    m_engine = std::make_unique<MirrorEngine>(*m_store, *m_remote, m_timing);
    QObject::connect(m_engine.get(), &MirrorEngine::eventChanged, m_engine.get(),
        [this](const SyncEvent &event) { m_events.append(event); });
}

void MirrorDevice::start()
{
    m_engine->start();
}

void MirrorDevice::close()
{
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

QString bookText(const Store &store)
{
    QStringList lines;
    const auto ms = [](const std::optional<QDateTime> &dt) {
        return dt ? QString::number(dt->toMSecsSinceEpoch()) : QStringLiteral("-");
    };
    const auto number = [](const std::optional<double> &value) {
        return value ? QString::number(*value, 'g', 17) : QStringLiteral("-");
    };
    for (const Page *page : store.pages()) {
        lines << QStringLiteral("page %1 pos=%2 title=%3 color=%4 created=%5")
                     .arg(uuidString(page->id()), number(page->position()), page->title())
                     .arg(page->colorIndex())
                     .arg(page->createdMSecs());
    }
    for (const TaskItem *task : store.tasks()) {
        lines << QStringLiteral("task %1 page=%2 text=%3 done=%4 order=%5 created=%6 due=%7 alarm=%8 notes=%9 "
                                "place=%10|%11|%12|%13 indent=%14")
                     .arg(uuidString(task->id()), task->page() ? uuidString(task->page()->id()) : QStringLiteral("-"),
                         task->text())
                     .arg(task->done())
                     .arg(number(task->order()))
                     .arg(task->createdMSecs())
                     .arg(ms(task->due()), ms(task->alarm()), task->notes(), task->placeName(), task->placeAddress(),
                         number(task->latitude()), number(task->longitude()))
                     .arg(task->indent());
    }
    for (const Attachment *attachment : store.attachments()) {
        const std::optional<QByteArray> data = attachment->data();
        lines << QStringLiteral("attachment %1 task=%2 name=%3 type=%4 created=%5 data=%6")
                     .arg(uuidString(attachment->id()),
                         attachment->task() ? uuidString(attachment->task()->id()) : QStringLiteral("-"),
                         attachment->name(), attachment->typeIdentifier())
                     .arg(attachment->createdMSecs())
                     .arg(data ? QString::fromLatin1(data->toHex().left(64)) + u'/' + QString::number(data->size())
                               : QStringLiteral("-"));
    }
    lines.sort();
    return lines.join(u'\n');
}

bool converge(const QList<MirrorDevice *> &devices, int msecs)
{
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

} // namespace quillery::test
