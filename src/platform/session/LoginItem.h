#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

namespace quillery {

// Makes Quillery start, without its window, when the user logs in, or stops
// it doing so. Unsandboxed this is an XDG autostart entry in the user's
// config folder; in a sandbox, where that folder is out of reach, the
// desktop portal's Background interface is asked instead.
class LoginItem final : public QObject
{
    Q_OBJECT
public:
    struct Options {
        QString autostartDirectory; // empty: $XDG_CONFIG_HOME/autostart
        bool sandboxed = isSandboxed();
        QDBusConnection bus = QDBusConnection::sessionBus();
    };

    static inline const QString Command = QStringLiteral("quillery --background");

    explicit LoginItem(Options options = defaultOptions(), QObject *parent = nullptr);

    static Options defaultOptions() { return {}; }
    // Whether Quillery runs in a Flatpak sandbox.
    static bool isSandboxed();

    // Writes or removes the entry, or asks the portal. False, with a reason
    // in `error`, when the entry cannot be written or removed or the portal
    // cannot be reached; the portal's own answer comes later and is only
    // reported on standard error.
    bool setEnabled(bool enabled, QString *error = nullptr);

    // Where the autostart entry lives.
    QString entryPath() const;
    // The entry's text.
    static QByteArray entryText();

private:
    bool writeEntry(QString *error) const;
    bool removeEntry(QString *error) const;
    bool askPortal(bool enabled, QString *error);

    Options m_options;
};

} // namespace quillery
