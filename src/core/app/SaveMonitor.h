#pragma once

#include "StatusLine.h"

namespace quillery {

class Store;

// Tells the user when the book cannot be saved. From the first failed save
// until the next one that succeeds it offers the notice the window shows and
// the page menu's line (which counts the changes waiting in memory); both are
// empty while saving works. The store itself keeps trying.
class SaveMonitor final : public StatusLine
{
    Q_OBJECT
public:
    explicit SaveMonitor(Store &store, QObject *parent = nullptr);

    bool isFailing() const { return m_failing; }
    // The line of the page menu.
    QString text() const override;
    // The notice of the window.
    QString notice() const;

Q_SIGNALS:
    void failingChanged(bool failing);

private:
    void setFailing(bool failing);

    Store &m_store;
    bool m_failing = false;
};

} // namespace quillery
