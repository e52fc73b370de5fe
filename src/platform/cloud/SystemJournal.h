#pragma once

#include "core/sync/SystemLog.h"

#include <QByteArray>

namespace quillery {

// The system journal, reached through syslog(3) with the bundle identifier as
// identifier. The category leads the message in brackets ("[sync] …") since
// syslog has no field of its own for it.
class SystemJournal final : public SystemLog
{
public:
    explicit SystemJournal(QByteArray category = QByteArrayLiteral("sync"));

    void write(Level level, const QString &message) override;

private:
    QByteArray m_category;
};

} // namespace quillery
