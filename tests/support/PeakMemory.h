#pragma once

// How far this process's resident memory rose above where it stood when the
// object was made: the kernel's high-water mark, reset through
// /proc/self/clear_refs (Linux).

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
        status.open(QIODevice::ReadOnly);
        const QByteArray text = status.readAll();
        const qsizetype at = text.indexOf(key);
        return at < 0 ? 0 : text.mid(at + key.size(), 32).trimmed().split(' ').first().toLongLong();
    }

    qint64 m_start = 0;
};

} // namespace quillery::test
