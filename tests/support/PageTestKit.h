#pragma once

// Doubles and a ready-made set of services for widget tests of pages and
// task rows: a real store in a temporary folder, real preferences in a
// temporary settings file, a gmock alarm service and a plain status line.

#include "core/alarms/AlarmService.h"
#include "core/alarms/AlarmStatus.h"
#include "core/app/Preferences.h"
#include "core/app/Services.h"
#include "core/app/StatusLine.h"
#include "core/model/Editing.h"
#include "core/model/TypeRegistry.h"
#include "core/util/CalendarContext.h"
#include "gui/attachments/ThumbnailCache.h"
#include "gui/theme/Appearance.h"
#include "support/MockAlarmService.h"
#include "support/TempStore.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gmock/gmock.h>

#include <algorithm>
#include <memory>

namespace quillery::test {

class FakeStatusLine final : public StatusLine
{
public:
    explicit FakeStatusLine(QString text)
        : m_text(std::move(text))
    { }
    QString text() const override { return m_text; }
    void set(const QString &text)
    {
        m_text = text;
        Q_EMIT changed();
    }

private:
    QString m_text;
};

// Tuesday 5 January 2027, 10:00 in New York.
inline QDateTime kitNow()
{
    return QDateTime(QDate(2027, 1, 5), QTime(15, 0), Qt::UTC);
}

struct PageKit {
    TempStore store;
    QTemporaryDir settingsDir;
    Preferences preferences { std::make_unique<QSettings>(
        settingsDir.filePath(QStringLiteral("Quillery.conf")), QSettings::IniFormat) };
    ::testing::NiceMock<MockAlarmService> alarms;
    FakeStatusLine sync { QStringLiteral("Sync: off (local only)") };
    ManualClock clock { kitNow() };
    Appearance appearance;
    TypeRegistry types;
    std::shared_ptr<ThumbnailCache> thumbnails = std::make_shared<ThumbnailCache>(ThumbnailCache::ProgramBytes);
    Editing editing;

    Services services()
    {
        Services services;
        services.store = store.get();
        services.preferences = &preferences;
        services.alarms = &alarms;
        services.syncStatus = &sync;
        services.appearance = &appearance;
        services.types = &types;
        services.thumbnails = thumbnails;
        services.calendar = CalendarContext(clock, "America/New_York", "en_US");
        return services;
    }

    // A page of tasks; a leading '>' makes a subtask, a trailing '*' a done
    // task.
    Page *page(const QString &title, std::initializer_list<const char *> tasks = {}, int colorIndex = 0)
    {
        auto *page = new Page(1, colorIndex);
        store->insert(page);
        page->setTitle(title);
        for (const char *raw : tasks) {
            QString text = QString::fromUtf8(raw);
            const int indent = text.startsWith(u'>') ? 1 : 0;
            const bool done = text.endsWith(u'*');
            text.remove(u'>').remove(u'*');
            TaskItem *task = addTask(text, indent, page, *store);
            task->setDone(done);
        }
        return page;
    }
};

// Shows a top-level widget and makes it the active window, so that focus
// behaves as it does for the user.
inline bool showActive(QWidget &widget, QSize size = QSize(600, 834))
{
    widget.resize(size);
    widget.show();
    widget.activateWindow();
    QApplication::setActiveWindow(&widget);
    return QTest::qWaitForWindowActive(&widget);
}

// Lets queued work (deferred refreshes, queued actions) run.
inline void settle(int msecs = 0)
{
    QCoreApplication::processEvents();
    if (msecs > 0)
        QTest::qWait(msecs);
    QCoreApplication::processEvents();
}

// Waits until no animation of `widget` or its children runs any more, so
// that what is checked next is where it comes to rest, and lets what went
// with the animations be deleted.
inline bool waitUntilStill(const QWidget &widget, int msecs = 5000)
{
    const bool still = QTest::qWaitFor(
        [&] {
            QCoreApplication::processEvents();
            const QList<QAbstractAnimation *> animations = widget.findChildren<QAbstractAnimation *>();
            return std::none_of(animations.cbegin(), animations.cend(),
                [](const QAbstractAnimation *a) { return a->state() == QAbstractAnimation::Running; });
        },
        msecs);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return still;
}

} // namespace quillery::test
