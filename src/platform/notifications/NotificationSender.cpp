#include "NotificationSender.h"

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

void NotificationSender::show(
    const NotificationRequest &request, PresentationOptions options, std::function<void(QString)> done)
{
    if (!options.testAnyFlags(PresentationOption::Banner | PresentationOption::List)) {
        QMetaObject::invokeMethod(
            this, [done] { done({}); }, Qt::QueuedConnection);
        return;
    }
    // Whether the server reads markup in the body decides how the text is
    // escaped; servers may change between two alarms, so ask each time.
    const QDBusMessage call
        = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("GetCapabilities"));
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, CallTimeout), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, request, options, done] {
        watcher->deleteLater();
        const QDBusPendingReply<QStringList> reply = *watcher;
        const bool markup = !reply.isError() && reply.value().contains(QStringLiteral("body-markup"));
        notify(request, options, markup, done);
    });
}

void NotificationSender::notify(
    const NotificationRequest &request, PresentationOptions options, bool markup, std::function<void(QString)> done)
{
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
    call << AppName << uint(0) << AppIcon << request.title << bodyText(request, markup) << QStringList()
         << hints(request, options) << int(-1);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, CallTimeout), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, done] {
        watcher->deleteLater();
        done(watcher->isError() ? watcher->error().message() : QString());
    });
}

} // namespace quillery
