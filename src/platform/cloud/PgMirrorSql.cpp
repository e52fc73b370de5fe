#include "PgMirrorSql.h"

#include "core/util/Uuid.h"

#include <libpq-fe.h>

#include <charconv>
#include <cmath>

namespace quillery::PgMirrorSql {

namespace {

constexpr const char *Epoch = "timestamptz 'epoch' + %1 * interval '1 millisecond'";

QByteArray fromMs(const char *column)
{
    return QByteArray(Epoch).replace("%1", column);
}

QByteArray toMs(const char *column)
{
    return QByteArray("(extract(epoch FROM ") + column + ") * 1000)::bigint";
}

// How a field's value waits in the staging table; times travel as
// milliseconds and become timestamptz when they move into the table.
const char *stageType(FieldType type)
{
    switch (type) {
    case FieldType::Text:
        return "text";
    case FieldType::Flag:
        return "boolean";
    case FieldType::Number:
    case FieldType::Measure:
        return "float8";
    case FieldType::Whole:
        return "integer";
    case FieldType::Time:
        return "bigint";
    case FieldType::Link:
        return "uuid";
    case FieldType::Bytes:
        break;
    }
    return "bytea";
}

// COPY text form: backslash escapes for the characters that separate fields
// and rows; a NUL (which a text column cannot hold) becomes U+FFFD.
void appendText(QByteArray &out, const QString &value)
{
    QString text = value;
    text.replace(QChar(0), QChar(0xFFFD));
    const QByteArray utf8 = text.toUtf8();
    out.reserve(out.size() + utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
}

void appendNumber(QByteArray &out, double value)
{
    if (std::isnan(value)) {
        out += "NaN";
    } else if (std::isinf(value)) {
        out += value > 0 ? "Infinity" : "-Infinity";
    } else {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        out.append(buffer, result.ptr - buffer);
    }
}

void appendInteger(QByteArray &out, qint64 value)
{
    out += QByteArray::number(value);
}

void appendUuid(QByteArray &out, const QUuid &id)
{
    if (id.isNull())
        out += "\\N";
    else
        out += id.toByteArray(QUuid::WithoutBraces);
}

void appendValue(QByteArray &out, const StoredField &entry, const QVariant &value)
{
    if (value.isNull()) {
        out += "\\N";
        return;
    }
    switch (entry.type) {
    case FieldType::Text:
        appendText(out, value.toString());
        return;
    case FieldType::Flag:
        out += value.toBool() ? 't' : 'f';
        return;
    case FieldType::Number:
    case FieldType::Measure:
        appendNumber(out, value.toDouble());
        return;
    case FieldType::Whole:
    case FieldType::Time:
        appendInteger(out, value.toLongLong());
        return;
    case FieldType::Link:
        appendUuid(out, value.toUuid());
        return;
    case FieldType::Bytes:
        out += "\\\\x" + value.toByteArray().toHex(); // bytea hex form, its backslash escaped for COPY
        return;
    }
}

QString textAt(const PGresult *result, int row, int column)
{
    return QString::fromUtf8(PQgetvalue(result, row, column), PQgetlength(result, row, column));
}

std::optional<qint64> integerAt(const PGresult *result, int row, int column)
{
    if (PQgetisnull(result, row, column))
        return std::nullopt;
    return QByteArray(PQgetvalue(result, row, column)).toLongLong();
}

std::optional<double> doubleAt(const PGresult *result, int row, int column)
{
    if (PQgetisnull(result, row, column))
        return std::nullopt;
    const QByteArray text(PQgetvalue(result, row, column));
    if (text == "NaN")
        return std::nan("");
    if (text == "Infinity")
        return HUGE_VAL;
    if (text == "-Infinity")
        return -HUGE_VAL;
    double value = 0;
    std::from_chars(text.constData(), text.constData() + text.size(), value);
    return value;
}

QUuid uuidAt(const PGresult *result, int row, int column)
{
    if (PQgetisnull(result, row, column))
        return {};
    return QUuid::fromString(QLatin1StringView(PQgetvalue(result, row, column)));
}

bool boolAt(const PGresult *result, int row, int column)
{
    return !PQgetisnull(result, row, column) && PQgetvalue(result, row, column)[0] == 't';
}

QVariant valueAt(const StoredField &entry, const PGresult *result, int row, int column)
{
    if (PQgetisnull(result, row, column))
        return entry.defaultValue;
    switch (entry.type) {
    case FieldType::Text:
        return textAt(result, row, column);
    case FieldType::Flag:
        return boolAt(result, row, column);
    case FieldType::Number:
    case FieldType::Measure:
        return *doubleAt(result, row, column);
    case FieldType::Whole:
        return int(*integerAt(result, row, column));
    case FieldType::Time:
        return *integerAt(result, row, column);
    case FieldType::Link:
        return QVariant::fromValue(uuidAt(result, row, column));
    case FieldType::Bytes:
        break;
    }
    size_t length = 0;
    unsigned char *bytes
        = PQunescapeBytea(reinterpret_cast<const unsigned char *>(PQgetvalue(result, row, column)), &length);
    if (!bytes)
        return {};
    QByteArray data(reinterpret_cast<const char *>(bytes), qsizetype(length));
    PQfreemem(bytes);
    return data;
}

} // namespace

const char *table(Record::Kind kind)
{
    return entityName(kind);
}

QByteArray createStage(Record::Kind kind)
{
    QByteArray columns = "id uuid, modified bigint, device uuid, deleted boolean";
    for (const StoredField &entry : fieldsOf(kind))
        columns += QByteArray(", ") + entry.column + ' ' + stageType(entry.type);
    return QByteArray("CREATE TEMP TABLE IF NOT EXISTS stage_") + table(kind) + " (" + columns
        + ") ON COMMIT DELETE ROWS";
}

QByteArray copyIntoStage(Record::Kind kind)
{
    return QByteArray("COPY stage_") + table(kind) + " FROM STDIN";
}

QByteArray copyRows(const QList<const MirrorRecord *> &records)
{
    QByteArray out;
    for (const MirrorRecord *r : records) {
        appendUuid(out, r->id);
        out += '\t';
        appendInteger(out, r->modified);
        out += '\t';
        appendUuid(out, r->device);
        out += r->deleted ? "\tt" : "\tf";
        const auto entries = fieldsOf(r->kind);
        for (size_t i = 0; i < entries.size(); ++i) {
            out += '\t';
            appendValue(
                out, entries[i], i < size_t(r->values.size()) ? r->values.at(qsizetype(i)) : entries[i].defaultValue);
        }
        out += '\n';
    }
    return out;
}

QByteArray createChangeCounter()
{
    return "CREATE TEMP SEQUENCE IF NOT EXISTS own_change";
}

QByteArray startChangeCounter()
{
    return "SELECT setval('pg_temp.own_change', $1::bigint + 1, false)";
}

QByteArray upsertLive(Record::Kind kind)
{
    QByteArray names = "id, change, modified, device, deleted";
    QByteArray values = "id, nextval('pg_temp.own_change'), " + fromMs("modified") + ", device, false";
    QByteArray updates = "change = excluded.change, modified = excluded.modified, device = excluded.device, "
                         "deleted = false";
    for (const StoredField &entry : fieldsOf(kind)) {
        names += QByteArray(", ") + entry.column;
        values += ", " + (entry.type == FieldType::Time ? fromMs(entry.column) : QByteArray(entry.column));
        updates += QByteArray(", ") + entry.column + " = excluded." + entry.column;
    }
    const QByteArray name = table(kind);
    return "INSERT INTO " + name + " AS t (" + names + ") SELECT " + values + " FROM stage_" + name
        + " WHERE NOT deleted ON CONFLICT (owner, id) DO UPDATE SET " + updates
        + " WHERE (excluded.modified, excluded.device) > (t.modified, t.device) RETURNING id, change";
}

QByteArray upsertDeleted(Record::Kind kind)
{
    const QByteArray name = table(kind);
    // A deletion keeps the last fields (a later edit brings them all back),
    // except attachment content, which nobody can see any more.
    const QByteArray dropData = kind == Record::Kind::Attachment ? ", data = NULL" : "";
    return "INSERT INTO " + name + " AS t (id, change, modified, device, deleted) SELECT id, "
        + "nextval('pg_temp.own_change'), " + fromMs("modified") + ", device, true FROM stage_" + name
        + " WHERE deleted ON CONFLICT (owner, id) DO UPDATE SET change = excluded.change, "
          "modified = excluded.modified, device = excluded.device, deleted = true"
        + dropData + " WHERE (excluded.modified, excluded.device) > (t.modified, t.device) RETURNING id, change";
}

namespace {
QByteArray selectList(Record::Kind kind)
{
    QByteArray list = "id, change, " + toMs("modified") + ", device, deleted";
    for (const StoredField &entry : fieldsOf(kind))
        list += ", " + (entry.type == FieldType::Time ? toMs(entry.column) : QByteArray(entry.column));
    return list;
}
} // namespace

QByteArray selectChangedSince(Record::Kind kind)
{
    return "SELECT " + selectList(kind) + " FROM " + table(kind)
        + " WHERE owner = current_user AND change > $1 ORDER BY change";
}

QByteArray selectByIds(Record::Kind kind)
{
    return "SELECT " + selectList(kind) + " FROM " + table(kind) + " WHERE owner = current_user AND id = ANY($1)";
}

MirrorRecord decodeRow(Record::Kind kind, const PGresult *result, int row)
{
    MirrorRecord r;
    r.kind = kind;
    r.id = uuidAt(result, row, 0);
    r.modified = integerAt(result, row, 2).value_or(0);
    r.device = uuidAt(result, row, 3);
    r.deleted = boolAt(result, row, 4);
    constexpr int first = 5; // the first field column
    const auto entries = fieldsOf(kind);
    r.values.reserve(qsizetype(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i)
        r.values.append(valueAt(entries[i], result, row, first + int(i)));
    return r;
}

qint64 maxChange(const PGresult *result, qint64 floor)
{
    for (int row = 0; row < PQntuples(result); ++row)
        floor = std::max(floor, integerAt(result, row, 1).value_or(0));
    return floor;
}

QByteArray uuidArray(const QList<QUuid> &ids)
{
    QByteArray out = "{";
    for (const QUuid &id : ids) {
        if (out.size() > 1)
            out += ',';
        out += id.toByteArray(QUuid::WithoutBraces);
    }
    return out + '}';
}

} // namespace quillery::PgMirrorSql
