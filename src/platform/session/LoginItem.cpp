#include "LoginItem.h"

#include "core/app/AppPaths.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace quillery {

namespace {

QString configHome()
{
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    // A relative path is to be ignored, as if it were not set.
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured))
        return configured;
    return QDir::homePath() + QStringLiteral("/.config");
}

} // namespace

LoginItem::LoginItem(Options options, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
{ }

bool LoginItem::isSandboxed()
{
    return QFileInfo::exists(QStringLiteral("/.flatpak-info"));
}

QString LoginItem::entryPath() const
{
    const QString folder = m_options.autostartDirectory.isEmpty() ? configHome() + QStringLiteral("/autostart")
                                                                  : m_options.autostartDirectory;
    return folder + u'/' + QString::fromLatin1(AppPaths::BundleIdentifier) + QStringLiteral(".desktop");
}

QByteArray LoginItem::entryText()
{
    return QByteArrayLiteral("[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Quillery\n"
                             "Comment=Rings the reminders of your tasks\n"
                             "Icon=app.quillery.Quillery\n")
        + QByteArrayLiteral("Exec=") + Command.toUtf8()
        + QByteArrayLiteral("\n"
                            "Terminal=false\n"
                            "NoDisplay=true\n"
                            "X-GNOME-Autostart-enabled=true\n");
}

bool LoginItem::setEnabled(bool enabled, QString *error)
{
    if (m_options.sandboxed)
        return askPortal(enabled, error);
    return enabled ? writeEntry(error) : removeEntry(error);
}

bool LoginItem::writeEntry(QString *error) const
{
    const QString path = entryPath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        if (error)
            *error = QStringLiteral("cannot make the folder %1").arg(QFileInfo(path).absolutePath());
        return false;
    }
    // Whole or not at all: the session reads the folder at every login.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(entryText()) < 0 || !file.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool LoginItem::removeEntry(QString *error) const
{
    QFile file(entryPath());
    if (!file.exists() || file.remove())
        return true;
    if (error)
        *error = QStringLiteral("cannot remove %1: %2").arg(file.fileName(), file.errorString());
    return false;
}

bool LoginItem::askPortal(bool enabled, QString *error)
{
    if (!m_options.bus.isConnected()) {
        if (error)
            *error = QStringLiteral("no session bus to reach the desktop portal on");
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.portal.Desktop"),
        QStringLiteral("/org/freedesktop/portal/desktop"), QStringLiteral("org.freedesktop.portal.Background"),
        QStringLiteral("RequestBackground"));
    QVariantMap options;
    options.insert(
        QStringLiteral("reason"), tr("Quillery rings the reminders of your tasks while its window is closed."));
    options.insert(QStringLiteral("autostart"), enabled);
    options.insert(QStringLiteral("commandline"), Command.split(u' '));
    call << QString() << options;
    auto *watcher = new QDBusPendingCallWatcher(m_options.bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher] {
        watcher->deleteLater();
        if (watcher->isError()) {
            std::fprintf(stderr, "quillery: the desktop portal refused to start Quillery at login: %s\n",
                qPrintable(watcher->error().message()));
        }
    });
    return true;
}

} // namespace quillery
