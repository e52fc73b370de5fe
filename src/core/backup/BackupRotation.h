#pragma once

#include <QDate>
#include <QList>

namespace quillery {

// Which daily copies of the book are kept: the newest seven, and of the
// older ones the newest of each of the four latest weeks (Monday to Sunday)
// that no kept copy stands for yet.
class BackupRotation final
{
public:
    static constexpr int Daily = 7;
    static constexpr int Weekly = 4;

    // The dates kept out of `dates` (any order, no repeats), newest first.
    static QList<QDate> kept(QList<QDate> dates);
};

} // namespace quillery
