#pragma once

#include <QString>

namespace quillery {

// The system log the sync monitor writes to (the journal in the program).
class SystemLog
{
public:
    enum class Level { Default, Error };

    virtual ~SystemLog() = default;
    virtual void write(Level level, const QString &message) = 0;
};

} // namespace quillery
