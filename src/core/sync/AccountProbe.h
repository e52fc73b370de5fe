#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace quillery {

// Asks whether the mirror's account can be used, without waiting for the
// answer. The statuses are those the sync monitor names.
class AccountProbe
{
public:
    enum Status {
        CouldNotDetermine = 0,
        Available = 1,
        Restricted = 2,
        NoAccount = 3,
        TemporarilyUnavailable = 4,
    };

    struct Result {
        std::optional<int> status; // none when the check itself failed
        QString failure; // why it failed
        QString server; // the server's name as the user knows it, where known
    };

    virtual ~AccountProbe() = default;
    // Calls `done` on `context`'s thread, unless `context` is gone by then.
    virtual void check(QObject *context, std::function<void(const Result &)> done) = 0;
};

} // namespace quillery
