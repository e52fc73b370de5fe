#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

namespace quillery {

// What the user's desktop says about Quillery's notifications, and where the
// user changes it. Each desktop keeps its own per-application switch:
// - GNOME: the "enable" key of the relocatable GSettings schema
//   org.gnome.desktop.notifications.application, read with `gsettings`;
// - KDE Plasma: "ShowPopups" in the group [Applications][<desktop id>] of
//   plasmanotifyrc;
// - Xfce: the "muted_applications" list of xfce4-notifyd, read with
//   `xfconf-query`.
// Programs are run asynchronously and given a few seconds; when a desktop's
// tool is missing or fails, its switch counts as on.
namespace DesktopNotificationSettings {

enum class Desktop { Other, Gnome, Kde, Xfce };

// From XDG_CURRENT_DESKTOP ("ubuntu:GNOME", "KDE", "XFCE", …).
Desktop currentDesktop();

// The key under which GNOME Shell keeps an application's notification
// settings: the desktop id lower-cased, every other character than a-z, 0-9
// and '-' turned into '-', runs of '-' made one ("app-quillery-quillery").
QString gnomeApplicationId(const QString &desktopId);

// Whether plasmanotifyrc (its bytes) switches popups off for `desktopId`.
bool kdePopupsSwitchedOff(const QByteArray &plasmanotifyrc, const QString &desktopId);

// Whether xfconf-query's listing of muted applications names `appName`.
bool xfceMuted(const QByteArray &listing, const QString &appName);

// Finds out whether the current desktop has switched Quillery's
// notifications off; `done` runs later on the thread of `context`.
void querySwitchedOff(QObject *context, std::function<void(bool switchedOff)> done);

// Starts the current desktop's notification settings. False when none is
// known or its program is not installed.
bool open();

} // namespace DesktopNotificationSettings
} // namespace quillery
