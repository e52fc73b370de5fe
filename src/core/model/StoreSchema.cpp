#include "StoreSchema.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <QStringList>

namespace quillery::StoreSchema {

QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(Major).arg(Minor).arg(Patch);
}

Check inspect(SQLite::Database &db, QString *foundVersion)
{
    SQLite::Statement tables(db, "SELECT count(*) FROM sqlite_master");
    tables.executeStep();
    if (tables.getColumn(0).getInt() == 0)
        return Check::Empty;
    if (!db.tableExists("meta"))
        return Check::Foreign;
    SQLite::Statement version(db, "SELECT value FROM meta WHERE key = 'schema_version'");
    if (!version.executeStep() || version.getColumn(0).isNull())
        return Check::Foreign;
    const QString text = QString::fromUtf8(version.getColumn(0).getText());
    if (foundVersion)
        *foundVersion = text;
    const QStringList parts = text.split(u'.');
    bool ok = false;
    const int major = parts.value(0).toInt(&ok);
    if (!ok)
        return Check::Foreign;
    // Minor versions only add; a newer major version may have changed what
    // the columns mean, so it is not touched.
    return major > Major ? Check::Newer : Check::Compatible;
}

void create(SQLite::Database &db)
{
    SQLite::Transaction transaction(db);
    db.exec(R"sql(
        CREATE TABLE meta (
            key   TEXT PRIMARY KEY,
            value TEXT
        );
        CREATE TABLE page (
            id          TEXT UNIQUE,
            position    REAL DEFAULT 0,
            title       TEXT DEFAULT '',
            color_index INTEGER DEFAULT 0,
            created     INTEGER,
            modified    INTEGER,
            pending     INTEGER DEFAULT 1
        );
        CREATE TABLE task (
            id            TEXT UNIQUE,
            text          TEXT DEFAULT '',
            done          INTEGER DEFAULT 0,
            sort_order    REAL DEFAULT 0,
            created       INTEGER,
            due           INTEGER,
            alarm         INTEGER,
            notes         TEXT DEFAULT '',
            place_name    TEXT DEFAULT '',
            place_address TEXT DEFAULT '',
            latitude      REAL,
            longitude     REAL,
            indent        INTEGER DEFAULT 0,
            page_id       TEXT,
            modified      INTEGER,
            pending       INTEGER DEFAULT 1
        );
        CREATE INDEX task_page ON task(page_id);
        CREATE TABLE attachment (
            id              TEXT UNIQUE,
            name            TEXT DEFAULT '',
            type_identifier TEXT DEFAULT '',
            created         INTEGER,
            data_size       INTEGER,
            task_id         TEXT,
            modified        INTEGER,
            pending         INTEGER DEFAULT 1
        );
        CREATE INDEX attachment_task ON attachment(task_id);
        CREATE TABLE attachment_data (
            attachment INTEGER PRIMARY KEY,
            bytes      BLOB NOT NULL
        );
        CREATE TABLE tombstone (
            id      TEXT PRIMARY KEY,
            entity  TEXT NOT NULL,
            deleted INTEGER NOT NULL,
            pending INTEGER DEFAULT 1
        );
    )sql");
    SQLite::Statement version(db, "INSERT INTO meta (key, value) VALUES ('schema_version', ?)");
    version.bind(1, versionText().toStdString());
    version.exec();
    transaction.commit();
}

} // namespace quillery::StoreSchema
