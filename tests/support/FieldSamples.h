#pragma once

#include "core/model/StoredField.h"

#include <QStringList>
#include <QVariantList>

namespace quillery::test {

// For every type of field a value unlike its default (and awkward to store),
// so a test can give a record such a value in each field, send it somewhere
// and see that every one of them came back.
inline QVariant sampleValue(const StoredField &entry, const QUuid &linked)
{
    switch (entry.type) {
    case FieldType::Text:
        return QStringLiteral("it's \"page\"\t2 – ✓\r\nline \\N");
    case FieldType::Flag:
        return !entry.defaultValue.toBool();
    case FieldType::Number:
        return 4.25;
    case FieldType::Whole:
        return 3;
    case FieldType::Time:
        return qint64(1'800'000'123'456);
    case FieldType::Measure:
        return -13.405;
    case FieldType::Link:
        return QVariant::fromValue(linked);
    case FieldType::Bytes:
        return QByteArray::fromHex("00ff5c0a0d0922").repeated(10'000);
    }
    return {};
}

// Sets every field of `record` (in a store, for its link) to its sample.
inline void giveSamples(Record &record, const QUuid &linked = {})
{
    for (const StoredField &entry : fieldsOf(record.kind()))
        entry.set(record, sampleValue(entry, linked));
}

inline QVariantList fieldValues(const Record &record)
{
    QVariantList values;
    for (const StoredField &entry : fieldsOf(record.kind()))
        values.append(entry.get(record));
    return values;
}

// The names of the fields of `record` whose values differ from `expected`
// (as fieldValues gave them).
inline QStringList differingFields(const Record &record, const QVariantList &expected)
{
    QStringList names;
    const QVariantList actual = fieldValues(record);
    for (qsizetype i = 0; i < actual.size(); ++i) {
        if (actual.at(i) != expected.value(i))
            names << QLatin1String(fieldsOf(record.kind())[size_t(i)].name);
    }
    return names;
}

} // namespace quillery::test
