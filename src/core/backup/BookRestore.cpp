#include "BookRestore.h"

#include "BookCopy.h"
#include "core/alarms/AlarmService.h"
#include "core/history/RecordState.h"
#include "core/model/Store.h"
#include "core/model/StoreSchema.h"
#include "core/model/StoredField.h"
#include "core/util/PrivateFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <SQLiteCpp/Database.h>

#include <algorithm>

namespace quillery {

namespace {

const QRegularExpression &keptName()
{
    static const QRegularExpression pattern(
        QStringLiteral("^book-(\\d{4}-\\d{2}-\\d{2})(?:-(\\d{6})-before-restore)?\\.sqlite$"));
    return pattern;
}

template <typename T> QList<Record *> records(const QList<T *> &list)
{
    return QList<Record *>(list.begin(), list.end());
}

} // namespace

BookRestore::BookRestore(Store &store)
    : m_store(store)
{ }

BookRestore::~BookRestore() = default;

QList<BookRestore::Kept> BookRestore::keptIn(const QString &folder)
{
    const QDir dir(folder);
    QList<Kept> kept;
    for (const QString &name : dir.entryList(QDir::Files)) {
        const QRegularExpressionMatch match = keptName().match(name);
        if (!match.hasMatch())
            continue;
        const QDate date = QDate::fromString(match.captured(1), Qt::ISODate);
        const bool before = match.hasCaptured(2);
        const QTime time = before ? QTime::fromString(match.captured(2), QStringLiteral("HHmmss")) : QTime(0, 0);
        if (date.isValid() && time.isValid())
            kept.append({ dir.filePath(name), QDateTime(date, time), before });
    }
    std::sort(kept.begin(), kept.end(), [](const Kept &a, const Kept &b) { return a.taken > b.taken; });
    return kept;
}

QString BookRestore::beforeRestorePath(const QString &folder, const QDateTime &now)
{
    return QDir(folder).filePath(
        QStringLiteral("book-%1-%2-before-restore.sqlite")
            .arg(now.date().toString(Qt::ISODate), now.time().toString(QStringLiteral("HHmmss"))));
}

std::optional<BookRestore::Counts> BookRestore::count(const QString &path)
{
    try {
        SQLite::Database db(QFile::encodeName(path).toStdString(), SQLite::OPEN_READONLY);
        if (StoreSchema::inspect(db) != StoreSchema::Check::Compatible)
            return std::nullopt;
        const auto rows = [&db](Record::Kind kind) {
            return db.execAndGet(std::string("SELECT count(*) FROM ") + entityName(kind)).getInt();
        };
        return Counts { rows(Record::Kind::Page), rows(Record::Kind::Task) };
    } catch (const SQLite::Exception &) {
        return std::nullopt;
    }
}

bool BookRestore::load(const QString &path, QString *error)
{
    m_copy.reset();
    const QString name = QFileInfo(path).fileName();
    const auto refuse = [error](const QString &why) {
        if (error)
            *error = why + QLatin1Char(' ') + tr("The book was not changed.");
        return false;
    };
    if (!m_dir.isValid())
        return refuse(tr("There is no room for a working copy of “%1” (%2).").arg(name, m_dir.errorString()));
    // Read from a copy of its own: opening a book may bring it up to date,
    // and the file the user chose stays exactly as it is.
    const QString work = m_dir.filePath(QStringLiteral("copy-%1.sqlite").arg(QDateTime::currentMSecsSinceEpoch()));
    const BookCopy::Result copied = BookCopy::copy(path, work);
    if (!copied.ok) {
        return refuse(copied.diskFull ? tr("“%1” can't be read: the disk is full.").arg(name)
                                      : tr("“%1” is damaged or not a book (%2).").arg(name, copied.error));
    }
    StoreSchema::Check check = StoreSchema::Check::Foreign;
    try {
        SQLite::Database db(QFile::encodeName(work).toStdString(), SQLite::OPEN_READONLY);
        check = StoreSchema::inspect(db);
    } catch (const SQLite::Exception &) { }
    // An empty database would pass for a new, empty book and wipe this one.
    if (check == StoreSchema::Check::Newer)
        return refuse(tr("“%1” was written by a newer version of Quillery.").arg(name));
    if (check != StoreSchema::Check::Compatible)
        return refuse(tr("“%1” is not a Quillery book.").arg(name));
    StoreOpenError failure;
    m_copy = Store::open(work, &failure);
    if (!m_copy)
        return refuse(tr("“%1” can't be opened (%2).").arg(name, failure.detail));
    return true;
}

BookRestore::Counts BookRestore::loaded() const
{
    return m_copy ? Counts { int(m_copy->pages().size()), int(m_copy->tasks().size()) } : Counts {};
}

bool BookRestore::keepBook(const QString &folder, const QDateTime &now, QString *error)
{
    const auto refuse = [error](const QString &why) {
        if (error)
            *error = tr("The book as it is now can't be kept as a backup (%1), so it was not replaced.").arg(why);
        return false;
    };
    QString why;
    if (!m_store.save(&why))
        return refuse(why);
    if (!PrivateFiles::makeDirectory(folder, &why))
        return refuse(why);
    const BookCopy::Result copied = BookCopy::copy(m_store.path(), beforeRestorePath(folder, now));
    if (!copied.ok)
        return refuse(copied.diskFull ? tr("the disk is full") : copied.error);
    return true;
}

void BookRestore::apply(AlarmService *alarms)
{
    if (!m_copy)
        return;
    // Not a step of the undo history: undoing it would hold every record of
    // the book, photos included, in memory. The copy kept before it is the
    // way back.
    const Store::Housekeeping restoring(m_store);
    QSet<QUuid> wanted;
    // Pages first, then tasks, then attachments: what a record belongs to
    // is always in the book before the record is linked to it.
    for (const QList<Record *> &kind :
        { records(m_copy->pages()), records(m_copy->tasks()), records(m_copy->attachments()) }) {
        for (const Record *from : kind) {
            const RecordState state = RecordState::of(*from);
            wanted.insert(state.id);
            if (Record *live = state.live(m_store)) {
                const RecordState now = RecordState::of(*live);
                for (const Field field : RecordState::fields(state.kind)) {
                    if (!state.same(now, field))
                        state.write(field, *live, m_store);
                }
                continue;
            }
            if (state.isLinked() && !state.parent(m_store))
                continue;
            // Under its old id, stamped later than any deletion of it.
            Record *record = state.make();
            if (!m_store.restore(record)) {
                delete record;
                continue;
            }
            if (const StoredField *link = linkOf(state.kind))
                state.write(link->field, *record, m_store);
        }
    }
    // What the copy lacks goes, smallest first, so a page's removal only
    // takes tasks that go anyway.
    for (const QList<Record *> &kind :
        { records(m_store.attachments()), records(m_store.tasks()), records(m_store.pages()) }) {
        for (Record *record : kind) {
            if (!record->isDeleted() && !wanted.contains(record->id()))
                m_store.remove(record);
        }
    }
    if (alarms)
        alarms->rescheduleAll(m_store.tasks());
    m_store.save();
}

} // namespace quillery
