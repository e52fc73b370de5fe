#pragma once

#include "Field.h"
#include "Record.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <optional>
#include <span>
#include <type_traits>

namespace quillery {

// How a field's value is kept, and so how it is written in the book file, on
// the server and in the recovery journal. Values travel as QVariant.
enum class FieldType {
    Text, // QString, never null
    Flag, // bool
    Number, // double
    Whole, // int
    Time, // milliseconds since the epoch (qint64), or null
    Measure, // double, or null
    Link, // the id (QUuid) of the record this one belongs to; a null id for none
    Bytes, // QByteArray or null: an attachment's content, kept apart from its row
};

// One stored field of a record kind. Each kind lists its fields once (see
// Page::fields() and its siblings); the book file, its loader and writer,
// the recovery journal and the mirror all work from that list, so a new field
// is added to its record and to the record's list and nowhere else.
struct StoredField {
    Field field;
    FieldType type;
    const char *name; // in the recovery journal
    const char *column; // in the book file and on the server
    QVariant defaultValue; // what a missing or NULL value means; null for none
    // The value as it is now.
    QVariant (*get)(const Record &record) = nullptr;
    // Through the record's setter, so the store and views hear of it. A link
    // is looked up in the record's store (none when it is not in one).
    void (*set)(Record &record, const QVariant &value) = nullptr;
    // Straight into the record, without a signal: for the store's loader,
    // after the store adopted the record and before anybody can watch it.
    // Null for Bytes, which the store reads and writes itself.
    void (*fill)(Record &record, const QVariant &value) = nullptr;
    Record::Kind target = Record::Kind::Page; // what a link points at
};

// Every stored field of `kind` (besides its id), in the order of the columns.
std::span<const StoredField> fieldsOf(Record::Kind kind);
// The position of `field` in fieldsOf(kind), or -1.
int fieldIndex(Record::Kind kind, Field field);
// The kind's link to the record it belongs to, if it has one.
const StoredField *linkOf(Record::Kind kind);

namespace fields {

// Conversions between the values records keep (and their setters take) and
// the QVariant a field travels as.
template <typename T> struct Traits;
template <> struct Traits<QString> {
    static constexpr FieldType type = FieldType::Text;
    static QVariant to(const QString &value) { return value; }
    static QString from(const QVariant &value) { return value.toString(); }
};
template <> struct Traits<bool> {
    static constexpr FieldType type = FieldType::Flag;
    static QVariant to(bool value) { return value; }
    static bool from(const QVariant &value) { return value.toBool(); }
};
template <> struct Traits<double> {
    static constexpr FieldType type = FieldType::Number;
    static QVariant to(double value) { return value; }
    static double from(const QVariant &value) { return value.toDouble(); }
};
template <> struct Traits<int> {
    static constexpr FieldType type = FieldType::Whole;
    static QVariant to(int value) { return value; }
    static int from(const QVariant &value) { return value.toInt(); }
};
template <> struct Traits<std::optional<qint64>> {
    static constexpr FieldType type = FieldType::Time;
    static QVariant to(const std::optional<qint64> &value) { return value ? QVariant(*value) : QVariant(); }
    static std::optional<qint64> from(const QVariant &value)
    {
        return value.isNull() ? std::nullopt : std::optional(value.toLongLong());
    }
};
template <> struct Traits<std::optional<double>> {
    static constexpr FieldType type = FieldType::Measure;
    static QVariant to(const std::optional<double> &value) { return value ? QVariant(*value) : QVariant(); }
    static std::optional<double> from(const QVariant &value)
    {
        return value.isNull() ? std::nullopt : std::optional(value.toDouble());
    }
};
// Only for setters that take a time as a date.
template <> struct Traits<std::optional<QDateTime>> {
    static std::optional<QDateTime> from(const QVariant &value)
    {
        return value.isNull() ? std::nullopt
                              : std::optional(QDateTime::fromMSecsSinceEpoch(value.toLongLong(), Qt::UTC));
    }
};

template <typename M> struct MemberOf;
template <typename R, typename T> struct MemberOf<T R::*> {
    using Owner = R;
    using Type = T;
};
template <typename S> struct SetterOf;
template <typename R, typename A> struct SetterOf<void (R::*)(A)> {
    using Arg = std::decay_t<A>;
};

// A field kept in `Member` and changed through `Setter`; its type follows
// from the member's.
template <auto Member, auto Setter>
StoredField value(Field field, const char *name, const char *column,
    const typename MemberOf<decltype(Member)>::Type &defaultValue = {})
{
    using R = typename MemberOf<decltype(Member)>::Owner;
    using T = typename MemberOf<decltype(Member)>::Type;
    using A = typename SetterOf<decltype(Setter)>::Arg;
    StoredField entry { field, Traits<T>::type, name, column, Traits<T>::to(defaultValue) };
    entry.get = [](const Record &record) { return Traits<T>::to(static_cast<const R &>(record).*Member); };
    entry.set
        = [](Record &record, const QVariant &value) { (static_cast<R &>(record).*Setter)(Traits<A>::from(value)); };
    entry.fill
        = [](Record &record, const QVariant &value) { static_cast<R &>(record).*Member = Traits<T>::from(value); };
    return entry;
}

} // namespace fields
} // namespace quillery
