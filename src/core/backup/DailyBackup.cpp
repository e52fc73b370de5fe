#include "DailyBackup.h"

#include "BackupRotation.h"
#include "core/app/AppPaths.h"
#include "core/model/Store.h"
#include "core/util/PrivateFiles.h"

#include <QDir>
#include <QRegularExpression>
#include <QtConcurrent>

namespace quillery {

namespace {

constexpr int CheckEveryMsecs = 60 * 60 * 1000;

const QRegularExpression &copyName()
{
    static const QRegularExpression pattern(QStringLiteral("^book-(\\d{4}-\\d{2}-\\d{2})\\.sqlite$"));
    return pattern;
}

} // namespace

DailyBackup::DailyBackup(Store &store, QString folder, CalendarContext calendar, QObject *parent)
    : StatusLine(parent)
    , m_store(store)
    , m_folder(std::move(folder))
    , m_calendar(std::move(calendar))
{
    m_timer.setInterval(CheckEveryMsecs);
    connect(&m_timer, &QTimer::timeout, this, &DailyBackup::checkNow);
    connect(&m_calendar.clock(), &Clock::moved, this, &DailyBackup::checkNow);
    connect(&m_watcher, &QFutureWatcher<BookCopy::Result>::finished, this, &DailyBackup::copied);
}

DailyBackup::~DailyBackup()
{
    m_watcher.waitForFinished();
}

QString DailyBackup::defaultFolder()
{
    return AppPaths::dataDirectory() + QStringLiteral("/backups");
}

QString DailyBackup::fileName(const QDate &date)
{
    return QStringLiteral("book-%1.sqlite").arg(date.toString(Qt::ISODate));
}

QList<QDate> DailyBackup::copies(const QString &folder)
{
    QList<QDate> dates;
    for (const QString &name : QDir(folder).entryList(QDir::Files)) {
        const QRegularExpressionMatch match = copyName().match(name);
        const QDate date = QDate::fromString(match.captured(1), Qt::ISODate);
        if (match.hasMatch() && date.isValid())
            dates << date;
    }
    std::sort(dates.begin(), dates.end(), std::greater<>());
    return dates;
}

QDate DailyBackup::today() const
{
    const CalendarContext::Components now = m_calendar.components(m_calendar.now());
    return QDate(now.year, now.month, now.day);
}

void DailyBackup::start()
{
    m_timer.start();
    checkNow();
}

void DailyBackup::checkNow()
{
    const QDate day = today();
    if (isCopying() || m_tried == day || QFileInfo::exists(QDir(m_folder).filePath(fileName(day))))
        return;
    m_tried = day;
    // What is typed but not yet on disk goes into the copy too (a book that
    // cannot be saved now is copied as it last was).
    m_store.save();
    QString error;
    if (!PrivateFiles::makeDirectory(m_folder, &error)) {
        m_failure = tr("Backup: today's copy can't be written (%1); trying again tomorrow").arg(error);
        Q_EMIT changed();
        Q_EMIT finished(false);
        return;
    }
    m_copying = true;
    m_watcher.setFuture(QtConcurrent::run(&BookCopy::copy, m_store.path(), QDir(m_folder).filePath(fileName(day))));
}

void DailyBackup::copied()
{
    const BookCopy::Result result = m_watcher.result();
    m_copying = false;
    if (!result.ok) {
        m_failure = tr("Backup: today's copy can't be written (%1); trying again tomorrow")
                        .arg(result.diskFull ? tr("the disk is full") : result.error);
        Q_EMIT changed();
        Q_EMIT finished(false);
        return;
    }
    rotate();
    if (!m_failure.isEmpty()) {
        m_failure.clear();
        Q_EMIT changed();
    }
    Q_EMIT finished(true);
}

void DailyBackup::rotate()
{
    const QDir folder(m_folder);
    const QList<QDate> all = copies(m_folder);
    const QList<QDate> kept = BackupRotation::kept(all);
    for (const QDate &date : all) {
        if (!kept.contains(date))
            QFile::remove(folder.filePath(fileName(date)));
    }
}

} // namespace quillery
