#include "SystemJournal.h"

#include "core/app/AppPaths.h"

#include <syslog.h>

namespace quillery {

SystemJournal::SystemJournal(QByteArray category)
    : m_category(std::move(category))
{ }

void SystemJournal::write(Level level, const QString &message)
{
    const QByteArray line = '[' + m_category + "] " + message.toUtf8();
    // Named every time, so that whatever else in the process opened the log
    // under another name, these lines carry the bundle identifier. openlog
    // keeps the pointer; the identifier is a constant of the program.
    ::openlog(AppPaths::BundleIdentifier, LOG_PID, LOG_USER);
    ::syslog(level == Level::Error ? LOG_ERR : LOG_NOTICE, "%s", line.constData());
}

} // namespace quillery
