#pragma once

// How far this process's resident memory rose above where it stood when the
// object was made: Linux keeps a high-water mark of resident memory, and
// /proc/self/clear_refs resets it.

#include <QFile>

#include <malloc.h>

namespace quillery::test {

class PeakMemory final
{
public:
    PeakMemory()
    {
        malloc_trim(0); // memory freed earlier would hide new growth
        QFile reset(QStringLiteral("/proc/self/clear_refs"));
        if (reset.open(QIODevice::WriteOnly))
            reset.write("5");
        m_start = statusKiB("VmRSS:");
    }

    qint64 growthBytes() const { return std::max<qint64>(0, statusKiB("VmHWM:") - m_start) * 1024; }

private:
    static qint64 statusKiB(const QByteArray &key)
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return 0;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith(key))
                return line.mid(key.size()).trimmed().split(' ').first().toLongLong();
        }
        return 0;
    }

    qint64 m_start = 0;
};

} // namespace quillery::test
