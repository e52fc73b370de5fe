#include "PgMirrorSchema.h"

#include "PgConnection.h"
#include "core/app/AppPaths.h"
#include "core/model/StoredField.h"

#include <libpq-fe.h>

namespace quillery::PgMirrorSchema {

namespace {

constexpr const char *Head = R"sql(CREATE TABLE IF NOT EXISTS mirror (
    id      uuid PRIMARY KEY DEFAULT gen_random_uuid(),
    created timestamptz NOT NULL DEFAULT now()
);
INSERT INTO mirror (id) SELECT gen_random_uuid() WHERE NOT EXISTS (SELECT FROM mirror);
CREATE TABLE IF NOT EXISTS account (
    owner   name PRIMARY KEY DEFAULT current_user,
    change  bigint NOT NULL DEFAULT 0,
    channel text NOT NULL DEFAULT replace(gen_random_uuid()::text, '-', '')
);
)sql";

constexpr const char *Tail = R"sql(-- Earlier versions numbered everybody's changes from one shared sequence.
ALTER TABLE page ALTER COLUMN change DROP DEFAULT;
ALTER TABLE task ALTER COLUMN change DROP DEFAULT;
ALTER TABLE attachment ALTER COLUMN change DROP DEFAULT;
DROP SEQUENCE IF EXISTS change;
CREATE INDEX IF NOT EXISTS page_change ON page (owner, change);
CREATE INDEX IF NOT EXISTS task_change ON task (owner, change);
CREATE INDEX IF NOT EXISTS attachment_change ON attachment (owner, change);
ALTER TABLE account ENABLE ROW LEVEL SECURITY;
ALTER TABLE account FORCE ROW LEVEL SECURITY;
ALTER TABLE page ENABLE ROW LEVEL SECURITY;
ALTER TABLE page FORCE ROW LEVEL SECURITY;
ALTER TABLE task ENABLE ROW LEVEL SECURITY;
ALTER TABLE task FORCE ROW LEVEL SECURITY;
ALTER TABLE attachment ENABLE ROW LEVEL SECURITY;
ALTER TABLE attachment FORCE ROW LEVEL SECURITY;
DO $$
DECLARE
    t text;
BEGIN
    FOREACH t IN ARRAY ARRAY['account', 'page', 'task', 'attachment'] LOOP
        IF NOT EXISTS (SELECT FROM pg_policies
                       WHERE schemaname = current_schema() AND tablename = t AND policyname = 'own_rows') THEN
            EXECUTE format('CREATE POLICY own_rows ON %I USING (owner = current_user) '
                           'WITH CHECK (owner = current_user)', t);
        END IF;
    END LOOP;
END
$$;
)sql";

constexpr Record::Kind Kinds[] = { Record::Kind::Page, Record::Kind::Task, Record::Kind::Attachment };

// How a field is kept on the server. Values that always exist are NOT NULL
// with their default, so a row written before the field existed reads as it.
QByteArray columnType(const StoredField &entry)
{
    const QVariant &value = entry.defaultValue;
    switch (entry.type) {
    case FieldType::Text:
        return "text NOT NULL DEFAULT '" + value.toString().replace(u'\'', QStringLiteral("''")).toUtf8() + "'";
    case FieldType::Flag:
        return QByteArray("boolean NOT NULL DEFAULT ") + (value.toBool() ? "true" : "false");
    case FieldType::Number:
        return "double precision NOT NULL DEFAULT " + QByteArray::number(value.toDouble(), 'g', 17);
    case FieldType::Whole:
        return "integer NOT NULL DEFAULT " + QByteArray::number(value.toInt());
    case FieldType::Time:
        return "timestamptz";
    case FieldType::Measure:
        return "double precision";
    case FieldType::Link:
        return "uuid";
    case FieldType::Bytes:
        break;
    }
    return "bytea";
}

QByteArray padded(const char *name, qsizetype width)
{
    return QByteArray(name).leftJustified(width);
}

// Each table with what every version has; its fields are added one by one,
// so a mirror made before a field existed gets it too.
QByteArray fieldTables()
{
    QByteArray out;
    for (Record::Kind kind : Kinds) {
        const QByteArray table = entityName(kind);
        out += "CREATE TABLE IF NOT EXISTS " + table
            + " (\n"
              "    owner    name NOT NULL DEFAULT current_user,\n"
              "    id       uuid NOT NULL,\n"
              "    change   bigint NOT NULL,\n"
              "    modified timestamptz NOT NULL,\n"
              "    device   uuid NOT NULL,\n"
              "    deleted  boolean NOT NULL DEFAULT false,\n"
              "    PRIMARY KEY (owner, id)\n"
              ");\n"
              "ALTER TABLE "
            + table;
        qsizetype width = 0;
        for (const StoredField &entry : fieldsOf(kind))
            width = std::max(width, qsizetype(qstrlen(entry.column)));
        const char *separator = "\n";
        for (const StoredField &entry : fieldsOf(kind)) {
            out += separator;
            out += "    ADD COLUMN IF NOT EXISTS " + padded(entry.column, width) + ' ' + columnType(entry);
            separator = ",\n";
        }
        out += ";\n";
    }
    return out;
}

// Every field's column as "table.column", as a text[] literal.
QByteArray fieldColumns()
{
    QByteArray out = "{";
    for (Record::Kind kind : Kinds) {
        for (const StoredField &entry : fieldsOf(kind)) {
            if (out.size() > 1)
                out += ',';
            out += QByteArray(entityName(kind)) + '.' + entry.column;
        }
    }
    return out + '}';
}

} // namespace

QByteArray quotedName()
{
    return quoteIdentifier(AppPaths::containerIdentifier());
}

QByteArray tablesScript()
{
    return Head + fieldTables() + Tail;
}

QByteArray setupScript()
{
    return "CREATE SCHEMA IF NOT EXISTS " + quotedName() + ";\nSET LOCAL search_path TO " + quotedName() + ";\n"
        + tablesScript();
}

bool use(PgConnection &connection, PgFailure *failure)
{
    return bool(connection.exec("SET search_path TO " + quotedName(), failure));
}

std::optional<QUuid> ensure(PgConnection &connection, PgFailure *failure)
{
    // Everything in place (the usual case, and the only one for roles that
    // may not create anything): nothing to change.
    const QByteArray schema = AppPaths::containerIdentifier().toUtf8();
    const auto complete = connection.exec(
        "SELECT to_regclass(format('%I.mirror', $1::text)) IS NOT NULL"
        " AND to_regclass(format('%I.page', $1::text)) IS NOT NULL"
        " AND to_regclass(format('%I.task', $1::text)) IS NOT NULL"
        " AND to_regclass(format('%I.attachment', $1::text)) IS NOT NULL"
        " AND to_regclass(format('%I.account', $1::text)) IS NOT NULL"
        " AND to_regclass(format('%I.change', $1::text)) IS NULL"
        " AND (SELECT count(*) FROM pg_policies WHERE schemaname = $1 AND policyname = 'own_rows') = 4"
        " AND (SELECT count(*) FROM pg_attribute a JOIN pg_class c ON c.oid = a.attrelid"
        "      JOIN pg_namespace n ON n.oid = c.relnamespace"
        "      WHERE n.nspname = $1 AND a.attnum > 0 AND NOT a.attisdropped"
        "      AND c.relname || '.' || a.attname = ANY($2::text[])) = cardinality($2::text[])",
        { schema, fieldColumns() }, failure);
    if (!complete)
        return std::nullopt;
    if (PQgetvalue(complete.get(), 0, 0)[0] != 't') {
        // Two devices setting up at once wait for each other here.
        if (!connection.exec("BEGIN", failure))
            return std::nullopt;
        const bool created = connection.exec("SELECT pg_advisory_xact_lock(hashtext($1))", { schema }, failure)
            && connection.exec(setupScript(), failure) && connection.exec("COMMIT", failure);
        if (!created) {
            connection.exec("ROLLBACK", nullptr);
            if (failure && failure->kind == PgFailure::Kind::Denied) {
                failure->kind = PgFailure::Kind::Outdated;
                failure->message = QStringLiteral("the mirror's tables on the server are missing or were made by an "
                                                  "earlier version, and this user may not change them; the "
                                                  "administrator must run the set-up statements (README) again: ")
                    + failure->message;
            }
            return std::nullopt;
        }
    }
    const auto id = connection.exec("SELECT id FROM " + quotedName() + ".mirror ORDER BY created LIMIT 1", failure);
    if (!id)
        return std::nullopt;
    if (PQntuples(id.get()) == 0) {
        if (failure)
            *failure = PgFailure { PgFailure::Kind::Server, {}, QStringLiteral("the mirror has no identity row"),
                connection.server() };
        return std::nullopt;
    }
    return QUuid::fromString(QLatin1StringView(PQgetvalue(id.get(), 0, 0)));
}

std::optional<QByteArray> enroll(PgConnection &connection, PgFailure *failure)
{
    // Other roles cannot see this row, so only the owner learns the channel.
    // Change numbers of a mirror made before there were such rows continue
    // after the owner's own highest, so every device's cursor stays valid.
    if (!connection.exec("INSERT INTO account (change) SELECT coalesce(greatest("
                         "(SELECT max(change) FROM page WHERE owner = current_user),"
                         " (SELECT max(change) FROM task WHERE owner = current_user),"
                         " (SELECT max(change) FROM attachment WHERE owner = current_user)), 0)"
                         " ON CONFLICT (owner) DO NOTHING",
            failure))
        return std::nullopt;
    const auto channel = connection.exec("SELECT channel FROM account WHERE owner = current_user", failure);
    if (!channel)
        return std::nullopt;
    if (PQntuples(channel.get()) == 0) {
        if (failure)
            *failure = PgFailure { PgFailure::Kind::Server, {}, QStringLiteral("no account row for this user"), {} };
        return std::nullopt;
    }
    return "quillery_" + QByteArray(PQgetvalue(channel.get(), 0, 0));
}

} // namespace quillery::PgMirrorSchema
