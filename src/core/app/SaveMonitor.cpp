#include "SaveMonitor.h"

#include "core/model/Store.h"

#include <QCoreApplication>

namespace quillery {

SaveMonitor::SaveMonitor(Store &store, QObject *parent)
    : StatusLine(parent)
    , m_store(store)
    , m_failing(store.failedSaves() > 0)
{
    connect(&store, &Store::saveFailed, this, [this] {
        setFailing(true);
        Q_EMIT changed(); // the reason may be new
    });
    connect(&store, &Store::saved, this, [this] { setFailing(false); });
    // The count of waiting changes follows every edit while saving fails.
    const auto recount = [this] {
        if (m_failing)
            Q_EMIT changed();
    };
    connect(&store, &Store::recordInserted, this, recount);
    connect(&store, &Store::recordRemoved, this, recount);
    connect(&store, &Store::recordChanged, this, recount);
}

void SaveMonitor::setFailing(bool failing)
{
    if (m_failing == failing)
        return;
    m_failing = failing;
    Q_EMIT failingChanged(failing);
    Q_EMIT changed();
}

QString SaveMonitor::text() const
{
    if (!m_failing)
        return {};
    const int waiting = m_store.unsavedChangeCount();
    const QString count = QCoreApplication::translate("SaveMonitor", "%n changes waiting", nullptr, waiting);
    if (m_store.diskFull())
        return QCoreApplication::translate("SaveMonitor", "Not saved: the disk is full (%1)").arg(count);
    return QCoreApplication::translate("SaveMonitor", "Not saved: %1 (%2)").arg(m_store.saveError(), count);
}

QString SaveMonitor::notice() const
{
    if (!m_failing)
        return {};
    if (m_store.diskFull()) {
        return QCoreApplication::translate("SaveMonitor",
            "Quillery can't save: the disk is full. Your changes are kept in memory and saved when space is free.");
    }
    return QCoreApplication::translate("SaveMonitor",
        "Quillery can't save: %1. Your changes are kept in memory and saved as soon as the book can be written again.")
        .arg(m_store.saveError());
}

} // namespace quillery
