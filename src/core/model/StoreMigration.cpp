#include "StoreMigration.h"

#include "StoreSchema.h"

#include "core/backup/BookCopy.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <sqlite3.h>

#include <QFile>
#include <QLoggingCategory>
#include <QStringList>

namespace quillery::StoreMigration {

Q_LOGGING_CATEGORY(lcMigration, "quillery.store.migration")

namespace {

// Whether `version` ("1.0.0") is before the layout this build writes.
bool isOlder(const QString &version)
{
    const QStringList parts = version.split(u'.');
    const int major = parts.value(0).toInt();
    const int minor = parts.value(1).toInt();
    return major < StoreSchema::Major || (major == StoreSchema::Major && minor < StoreSchema::Minor);
}

} // namespace

QString asidePath(const QString &bookPath, const QString &version)
{
    return bookPath + QStringLiteral(".before-") + version;
}

void upgrade(SQLite::Database &db, const QString &bookPath)
{
    QString version;
    StoreSchema::inspect(db, &version);
    if (!isOlder(version)) {
        StoreSchema::addMissingColumns(db);
        return;
    }

    const QString aside = asidePath(bookPath, version);
    const BookCopy::Result copied = BookCopy::copy(bookPath, aside);
    if (!copied.ok) {
        throw SQLite::Exception(("cannot copy the book aside before upgrading it: " + copied.error).toStdString(),
            copied.diskFull ? SQLITE_FULL : SQLITE_CANTOPEN);
    }
    {
        SQLite::Transaction transaction(db);
        for (const std::string &sql : StoreSchema::missingColumns(db))
            db.exec(sql);
        SQLite::Statement record(db, "UPDATE meta SET value = ? WHERE key = 'schema_version'");
        record.bind(1, StoreSchema::versionText().toStdString());
        record.exec();
        transaction.commit();
    }
    qCInfo(lcMigration) << "upgraded" << bookPath << "from" << version << "to" << StoreSchema::versionText();
    if (!QFile::remove(aside))
        qCWarning(lcMigration) << "could not remove the copy" << aside;
}

} // namespace quillery::StoreMigration
