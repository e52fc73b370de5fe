#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>

namespace quillery {

class Translations;

// What the command line asks of the program, read before any window system
// is touched: --help and --version answer without a display, an option
// Quillery does not know is refused in one line, and a missing display is
// said plainly rather than left to the window system's abort. Qt's own
// options (-platform, -display, -style, ...) are let through to Qt.
class CommandLine final
{
public:
    // The exit statuses, as the manual page lists them.
    static constexpr int UsageError = 2;
    static constexpr int NoDisplay = 1;

    // Reads `arguments` (the program's name first). Texts are worded with
    // `translations` when given.
    static CommandLine parse(const QStringList &arguments, const QProcessEnvironment &environment,
        const Translations *translations = nullptr);

    // Set when the program should end at once with this status, after
    // printing `output` on standard output and `error` on standard error.
    std::optional<int> exitStatus;
    QString output;
    QString error;
    // --background: start without showing the window.
    bool background = false;

private:
    // Whether the window system Qt will pick can be reached.
    static bool displayReachable(const QString &platform, const QProcessEnvironment &environment);
};

} // namespace quillery
