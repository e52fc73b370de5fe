#include "StoreSchema.h"

#include "StoredField.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <QStringList>

#include <vector>

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

std::string column(const StoredField &entry)
{
    // The bytes have a table of their own; the row says how many there are.
    return entry.type == FieldType::Bytes ? std::string(entry.column) + "_size" : entry.column;
}

namespace {

const char *typeOf(FieldType type)
{
    switch (type) {
    case FieldType::Text:
    case FieldType::Link:
        return "TEXT";
    case FieldType::Number:
    case FieldType::Measure:
        return "REAL";
    case FieldType::Flag:
    case FieldType::Whole:
    case FieldType::Time:
    case FieldType::Bytes:
        break;
    }
    return "INTEGER";
}

std::string definition(const StoredField &entry)
{
    std::string out = column(entry) + ' ' + typeOf(entry.type);
    const QVariant &value = entry.defaultValue;
    if (value.isNull())
        return out;
    switch (entry.type) {
    case FieldType::Text:
        return out + " DEFAULT '" + value.toString().replace(u'\'', QStringLiteral("''")).toStdString() + '\'';
    case FieldType::Flag:
        return out + (value.toBool() ? " DEFAULT 1" : " DEFAULT 0");
    case FieldType::Number:
    case FieldType::Measure:
        return out + " DEFAULT " + QString::number(value.toDouble(), 'g', 17).toStdString();
    case FieldType::Whole:
    case FieldType::Time:
        return out + " DEFAULT " + std::to_string(value.toLongLong());
    case FieldType::Link:
    case FieldType::Bytes:
        break;
    }
    return out;
}

constexpr Record::Kind Kinds[] = { Record::Kind::Page, Record::Kind::Task, Record::Kind::Attachment };

} // namespace

std::set<std::string> columnsOf(SQLite::Database &db, const char *table)
{
    std::set<std::string> names;
    SQLite::Statement info(db, std::string("PRAGMA table_info(") + table + ")");
    while (info.executeStep())
        names.insert(info.getColumn(1).getString());
    return names;
}

void create(SQLite::Database &db)
{
    SQLite::Transaction transaction(db);
    db.exec("CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT)");
    for (Record::Kind kind : Kinds) {
        const std::string table = entityName(kind);
        std::string sql = "CREATE TABLE " + table + " (id TEXT UNIQUE";
        for (const StoredField &entry : fieldsOf(kind))
            sql += ", " + definition(entry);
        db.exec(sql + ", modified INTEGER, pending INTEGER DEFAULT 1)");
        for (const StoredField &entry : fieldsOf(kind)) {
            if (entry.type == FieldType::Link) {
                db.exec("CREATE INDEX " + table + '_' + entityName(entry.target) + " ON " + table + '(' + column(entry)
                    + ')');
            }
        }
    }
    db.exec(R"sql(
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

std::vector<std::string> missingColumns(SQLite::Database &db)
{
    std::vector<std::string> added;
    for (Record::Kind kind : Kinds) {
        const char *table = entityName(kind);
        const std::set<std::string> present = columnsOf(db, table);
        for (const StoredField &entry : fieldsOf(kind)) {
            if (!present.count(column(entry)))
                added.push_back(std::string("ALTER TABLE ") + table + " ADD COLUMN " + definition(entry));
        }
    }
    return added;
}

void addMissingColumns(SQLite::Database &db)
{
    const std::vector<std::string> added = missingColumns(db);
    if (added.empty())
        return;
    SQLite::Transaction transaction(db);
    for (const std::string &sql : added)
        db.exec(sql);
    transaction.commit();
}

} // namespace quillery::StoreSchema
