#include "NotificationSender.h"

#include "core/alarms/ReminderActions.h"
#include "core/app/AppPaths.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace quillery {

namespace {

constexpr int CallTimeout = 10'000;

uchar urgency(NotificationRequest::InterruptionLevel level)
{
    switch (level) {
    case NotificationRequest::InterruptionLevel::Passive:
        return 0;
    case NotificationRequest::InterruptionLevel::Active:
        return 1;
    case NotificationRequest::InterruptionLevel::TimeSensitive:
    case NotificationRequest::InterruptionLevel::Critical:
        break;
    }
    return 2;
}

} // namespace

NotificationSender::NotificationSender(QDBusConnection bus, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{ }

QVariantMap NotificationSender::hints(const NotificationRequest &request, PresentationOptions options)
{
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QString::fromLatin1(AppPaths::BundleIdentifier));
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(urgency(request.interruptionLevel)));
    if (options.testFlag(PresentationOption::Sound) && request.sound == NotificationRequest::Sound::Default)
        hints.insert(QStringLiteral("sound-name"), DefaultSoundName);
    else
        hints.insert(QStringLiteral("suppress-sound"), true);
    hints.insert(QStringLiteral("transient"), !options.testFlag(PresentationOption::List));
    return hints;
}

QString NotificationSender::bodyText(const NotificationRequest &request, bool markup)
{
    QStringList parts;
    for (const QString &part : { request.subtitle, request.body }) {
        if (!part.isEmpty())
            parts.append(markup ? part.toHtmlEscaped() : part);
    }
    return parts.join(u'\n');
}

void NotificationSender::show(const NotificationRequest &request, PresentationOptions options, uint replaces, Done done)
{
    if (!options.testAnyFlags(PresentationOption::Banner | PresentationOption::List)) {
        QMetaObject::invokeMethod(
            this, [done] { done({}, 0); }, Qt::QueuedConnection);
        return;
    }
    // Whether the server reads markup in the body decides how the text is
    // escaped, and whether it shows actions whether a reminder offers them;
    // servers may change between two alarms, so ask each time.
    const QDBusMessage call
        = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("GetCapabilities"));
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, CallTimeout), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, request, options, replaces, done] {
        watcher->deleteLater();
        const QDBusPendingReply<QStringList> reply = *watcher;
        notify(request, options, reply.isError() ? QStringList() : reply.value(), replaces, done);
    });
}

void NotificationSender::notify(const NotificationRequest &request, PresentationOptions options,
    const QStringList &capabilities, uint replaces, Done done)
{
    const bool markup = capabilities.contains(QStringLiteral("body-markup"));
    QStringList actions;
    if (capabilities.contains(QStringLiteral("actions"))) {
        for (const auto &[key, label] : ReminderActions::offeredFor(request))
            actions << key << label;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
    call << AppName << replaces << AppIcon << request.title << bodyText(request, markup) << actions
         << hints(request, options) << int(-1);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, CallTimeout), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, done] {
        watcher->deleteLater();
        const QDBusPendingReply<uint> reply = *watcher;
        if (reply.isError())
            done(reply.error().message(), 0);
        else
            done({}, reply.value());
    });
}

void NotificationSender::close(uint id)
{
    if (id == 0)
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("CloseNotification"));
    call << id;
    // Nobody waits for the answer: a notification the server already let go
    // of is gone either way.
    m_bus.asyncCall(call, CallTimeout);
}

} // namespace quillery
