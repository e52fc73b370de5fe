#pragma once

#include "core/alarms/NotificationCenter.h"

#include <QCoreApplication>
#include <QHash>
#include <QThread>

// A notification centre in memory that answers like the platform's: later,
// and from a thread of its own, so callers must bring every answer back to
// their thread before touching state. Its state changes at the moment of the
// call; only the answers are delayed.
class FakeNotificationCenter final : public quillery::NotificationCenter
{
public:
    using Authorization = quillery::AlarmStatus::Authorization;

    FakeNotificationCenter()
    {
        m_worker.moveToThread(&m_thread);
        m_thread.start();
    }
    ~FakeNotificationCenter() override { stop(); }

    // Stops answering. Called before the objects its answers go to are
    // destroyed, so that no answer is on its way to them meanwhile.
    void stop()
    {
        m_thread.quit();
        m_thread.wait();
    }

    // What the centre holds and says.
    QList<quillery::NotificationRequest> pending;
    Authorization authorization = Authorization::Authorized;
    // The status after the user answered the question.
    Authorization answer = Authorization::Authorized;
    // Identifiers whose add is refused, with the error text.
    QHash<QString, QString> refusals;

    // What was asked of it.
    QList<QStringList> removals;
    QStringList withdrawn;
    QList<quillery::AuthorizationOptions> authorizationRequests;

    QStringList pendingIdentifiers() const
    {
        QStringList ids;
        for (const auto &request : pending)
            ids.append(request.identifier);
        return ids;
    }

    void add(const quillery::NotificationRequest &request, AddCompletion completion) override
    {
        if (refusals.contains(request.identifier)) {
            answerLater([completion, text = refusals.value(request.identifier)] {
                completion(quillery::NotificationError { text });
            });
            return;
        }
        pending.removeIf([&](const auto &old) { return old.identifier == request.identifier; });
        pending.append(request);
        answerLater([completion] { completion(std::nullopt); });
    }

    void removePendingRequests(const QStringList &identifiers) override
    {
        removals.append(identifiers);
        pending.removeIf([&](const auto &request) { return identifiers.contains(request.identifier); });
    }

    void removeDeliveredNotifications(const QStringList &identifiers) override { withdrawn.append(identifiers); }

    void pendingRequests(PendingCompletion completion) override
    {
        answerLater([completion, snapshot = pending] { completion(snapshot); });
    }

    void notificationSettings(SettingsCompletion completion) override
    {
        answerLater([completion, status = authorization] { completion({ status }); });
    }

    void requestAuthorization(quillery::AuthorizationOptions options, AuthorizationCompletion completion) override
    {
        authorizationRequests.append(options);
        authorization = answer;
        const bool granted = answer == Authorization::Authorized;
        answerLater([completion, granted] {
            completion(granted, quillery::NotificationError { QStringLiteral("ignored by callers") });
        });
    }

    void setDelegate(const quillery::NotificationCenterDelegate *) override { }
    bool openSettings() override { return true; }

    // Lets every answer in flight arrive, and whatever those answers set off
    // in turn, until nothing is left to do.
    void settle()
    {
        for (int round = 0; round < 20; ++round) {
            QMetaObject::invokeMethod(
                &m_worker, [] {}, Qt::BlockingQueuedConnection);
            QCoreApplication::processEvents();
        }
    }

private:
    template <typename F> void answerLater(F f)
    {
        QMetaObject::invokeMethod(&m_worker, std::move(f), Qt::QueuedConnection);
    }

    QThread m_thread;
    QObject m_worker;
};
