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

// Columns after the four every version has (id, modified, device, deleted).
const char *stageColumns(Record::Kind kind)
{
    switch (kind) {
    case Record::Kind::Page:
        return "position float8, title text, color_index integer, created bigint";
    case Record::Kind::Task:
        return "text text, done boolean, sort_order float8, created bigint, due bigint, alarm bigint, notes text, "
               "place_name text, place_address text, latitude float8, longitude float8, indent integer, page_id uuid";
    case Record::Kind::Attachment:
        return "name text, type_identifier text, created bigint, data bytea, task_id uuid";
    }
    return "";
}

struct Column {
    const char *name;
    bool time; // milliseconds in the staging table, timestamptz in the table
};

QList<Column> fieldColumns(Record::Kind kind)
{
    switch (kind) {
    case Record::Kind::Page:
        return { { "position", false }, { "title", false }, { "color_index", false }, { "created", true } };
    case Record::Kind::Task:
        return { { "text", false }, { "done", false }, { "sort_order", false }, { "created", true }, { "due", true },
            { "alarm", true }, { "notes", false }, { "place_name", false }, { "place_address", false },
            { "latitude", false }, { "longitude", false }, { "indent", false }, { "page_id", false } };
    case Record::Kind::Attachment:
        return { { "name", false }, { "type_identifier", false }, { "created", true }, { "data", false },
            { "task_id", false } };
    }
    return {};
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

template <typename T, typename F> void appendOptional(QByteArray &out, const std::optional<T> &value, F append)
{
    if (value)
        append(out, *value);
    else
        out += "\\N";
}

void appendUuid(QByteArray &out, const QUuid &id)
{
    if (id.isNull())
        out += "\\N";
    else
        out += id.toByteArray(QUuid::WithoutBraces);
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

} // namespace

const char *table(Record::Kind kind)
{
    return entityName(kind);
}

QByteArray createStage(Record::Kind kind)
{
    return QByteArray("CREATE TEMP TABLE IF NOT EXISTS stage_") + table(kind)
        + " (id uuid, modified bigint, device uuid, deleted boolean, " + stageColumns(kind) + ") ON COMMIT DELETE ROWS";
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
        out += r->deleted ? "\tt\t" : "\tf\t";
        switch (r->kind) {
        case Record::Kind::Page:
            appendNumber(out, r->position);
            out += '\t';
            appendText(out, r->title);
            out += '\t';
            appendInteger(out, r->colorIndex);
            out += '\t';
            appendOptional(out, r->created, appendInteger);
            break;
        case Record::Kind::Task:
            appendText(out, r->text);
            out += r->done ? "\tt\t" : "\tf\t";
            appendNumber(out, r->order);
            out += '\t';
            appendOptional(out, r->created, appendInteger);
            out += '\t';
            appendOptional(out, r->due, appendInteger);
            out += '\t';
            appendOptional(out, r->alarm, appendInteger);
            out += '\t';
            appendText(out, r->notes);
            out += '\t';
            appendText(out, r->placeName);
            out += '\t';
            appendText(out, r->placeAddress);
            out += '\t';
            appendOptional(out, r->latitude, appendNumber);
            out += '\t';
            appendOptional(out, r->longitude, appendNumber);
            out += '\t';
            appendInteger(out, r->indent);
            out += '\t';
            appendUuid(out, r->pageId);
            break;
        case Record::Kind::Attachment:
            appendText(out, r->name);
            out += '\t';
            appendText(out, r->typeIdentifier);
            out += '\t';
            appendOptional(out, r->created, appendInteger);
            out += '\t';
            if (r->data)
                out += "\\\\x" + r->data->toHex(); // bytea hex form, its backslash escaped for COPY
            else
                out += "\\N";
            out += '\t';
            appendUuid(out, r->taskId);
            break;
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
    for (const Column &column : fieldColumns(kind)) {
        names += QByteArray(", ") + column.name;
        values += ", " + (column.time ? fromMs(column.name) : QByteArray(column.name));
        updates += QByteArray(", ") + column.name + " = excluded." + column.name;
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
    for (const Column &column : fieldColumns(kind))
        list += ", " + (column.time ? toMs(column.name) : QByteArray(column.name));
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
    constexpr int f = 5; // the first field column
    switch (kind) {
    case Record::Kind::Page:
        r.position = doubleAt(result, row, f).value_or(0);
        r.title = textAt(result, row, f + 1);
        r.colorIndex = int(integerAt(result, row, f + 2).value_or(0));
        r.created = integerAt(result, row, f + 3);
        break;
    case Record::Kind::Task:
        r.text = textAt(result, row, f);
        r.done = boolAt(result, row, f + 1);
        r.order = doubleAt(result, row, f + 2).value_or(0);
        r.created = integerAt(result, row, f + 3);
        r.due = integerAt(result, row, f + 4);
        r.alarm = integerAt(result, row, f + 5);
        r.notes = textAt(result, row, f + 6);
        r.placeName = textAt(result, row, f + 7);
        r.placeAddress = textAt(result, row, f + 8);
        r.latitude = doubleAt(result, row, f + 9);
        r.longitude = doubleAt(result, row, f + 10);
        r.indent = int(integerAt(result, row, f + 11).value_or(0));
        r.pageId = uuidAt(result, row, f + 12);
        break;
    case Record::Kind::Attachment:
        r.name = textAt(result, row, f);
        r.typeIdentifier = textAt(result, row, f + 1);
        r.created = integerAt(result, row, f + 2);
        if (!PQgetisnull(result, row, f + 3)) {
            size_t length = 0;
            unsigned char *bytes
                = PQunescapeBytea(reinterpret_cast<const unsigned char *>(PQgetvalue(result, row, f + 3)), &length);
            if (bytes) {
                r.data = QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(length));
                PQfreemem(bytes);
            }
        }
        r.taskId = uuidAt(result, row, f + 4);
        break;
    }
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
