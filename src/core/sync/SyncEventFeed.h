#pragma once

#include "SyncEvent.h"

#include <QObject>

namespace quillery {

// Where mirroring events come from: the sync monitor observes one of these.
class SyncEventFeed : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

Q_SIGNALS:
    void eventChanged(const quillery::SyncEvent &event);
};

} // namespace quillery
