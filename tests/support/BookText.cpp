#include "BookText.h"

#include "core/model/Attachment.h"
#include "core/model/Page.h"
#include "core/model/StoredField.h"
#include "core/model/TaskItem.h"
#include "core/util/Uuid.h"

#include <QCryptographicHash>
#include <QStringList>

namespace quillery::test {

QString bookText(const Store &store)
{
    QStringList lines;
    const auto add = [&lines](const Record *record) {
        QString line = QLatin1String(entityName(record->kind())) + u' ' + uuidString(record->id());
        for (const StoredField &entry : fieldsOf(record->kind())) {
            const QVariant value = entry.get(*record);
            QString text = value.isNull() ? QStringLiteral("-") : value.toString();
            if (entry.type == FieldType::Bytes && !value.isNull()) {
                const QByteArray bytes = value.toByteArray();
                text = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()) + u'/'
                    + QString::number(bytes.size());
            } else if ((entry.type == FieldType::Number || entry.type == FieldType::Measure) && !value.isNull()) {
                text = QString::number(value.toDouble(), 'g', 17);
            }
            line += u' ' + QLatin1String(entry.name) + u'=' + text;
        }
        lines << line;
    };
    for (const Page *page : store.pages())
        add(page);
    for (const TaskItem *task : store.tasks())
        add(task);
    for (const Attachment *attachment : store.attachments())
        add(attachment);
    lines.sort();
    return lines.join(u'\n');
}

} // namespace quillery::test
