#pragma once

#include "BookCopy.h"
#include "core/app/StatusLine.h"
#include "core/util/CalendarContext.h"

#include <QDate>
#include <QFutureWatcher>
#include <QTimer>

namespace quillery {

class Store;

// Keeps daily copies of the book without the user doing anything: on each
// day the program runs, a consistent copy goes to
// `<folder>/book-YYYY-MM-DD.sqlite` (the user's own day), made on a worker
// thread while typing goes on. Once that copy has passed its integrity
// check, copies BackupRotation no longer keeps are deleted. A copy that
// cannot be written leaves the book and the older copies alone, shows as
// the status line until a copy works, and is tried again the next day.
class DailyBackup final : public StatusLine
{
    Q_OBJECT
public:
    DailyBackup(Store &store, QString folder, CalendarContext calendar, QObject *parent = nullptr);
    ~DailyBackup() override; // waits for a copy under way

    // $XDG_DATA_HOME/Quillery/backups.
    static QString defaultFolder();
    // The dates of the copies in `folder`, newest first.
    static QList<QDate> copies(const QString &folder);
    static QString fileName(const QDate &date);

    QString folder() const { return m_folder; }

    // Looks now, then every hour and whenever the clock is set.
    void start();
    // Starts today's copy unless there is one, one is under way, or one
    // was tried today already.
    void checkNow();
    // From the start of a copy until its outcome is known and old copies let go.
    bool isCopying() const { return m_copying; }

    // Empty, or why the last copy could not be written.
    QString text() const override { return m_failure; }

Q_SIGNALS:
    // A copy was made (and old ones let go) or could not be made.
    void finished(bool ok);

private:
    QDate today() const;
    void copied();
    void rotate();

    Store &m_store;
    QString m_folder;
    CalendarContext m_calendar;
    QTimer m_timer;
    QDate m_tried;
    QFutureWatcher<BookCopy::Result> m_watcher;
    QString m_failure;
    bool m_copying = false;
};

} // namespace quillery
