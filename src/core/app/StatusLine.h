#pragma once

#include <QObject>
#include <QString>

namespace quillery {

// A one-line status text that can change at any time (the alarm status and
// the sync status shown in the page menu). `changed` is emitted whenever the
// text may have changed.
class StatusLine : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    virtual QString text() const = 0;

Q_SIGNALS:
    void changed();
};

} // namespace quillery
