#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

namespace quillery {

// Starts the program afresh in the background within the same process (an
// exec of its own binary, same process id), once its window was closed: the
// process that stays for the reminders then holds none of the pages the
// window touched. What must not have a gap goes over through the
// environment: the single-instance lock and socket (their descriptors stay
// open), and the notifications on the desktop, so a choice made on one shown
// before still reaches the book. No other descriptor goes over. The caller
// has saved and closed everything else first, as for quitting.
class BackgroundRestart final
{
public:
    static inline const char HandedOverVariable[] = "QUILLERY_HANDED_OVER";
    static inline const char ShownVariable[] = "QUILLERY_SHOWN_NOTIFICATIONS";

    // Replaces the program by `arguments` (the program's name first, as it
    // was started) with --background. `handedOver` is what
    // SingleInstance::handOver() gave; `shown` the notifications on the
    // desktop by identifier. Returns only when the exec failed, with why.
    static QString exec(const QStringList &arguments, const QByteArray &handedOver, const QHash<QString, uint> &shown);

    // In the program started by exec(): what the one before handed over
    // (nothing at an ordinary start). The variables are cleared, so programs
    // started from here do not see them.
    struct Received {
        QByteArray instance; // for SingleInstance::adopt()
        QHash<QString, uint> shown;
    };
    static Received receive();

    static QByteArray encodeShown(const QHash<QString, uint> &shown);
    static QHash<QString, uint> decodeShown(const QByteArray &text);
};

} // namespace quillery
