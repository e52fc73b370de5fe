#include "BookText.h"

#include "core/model/Attachment.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "core/util/Uuid.h"

#include <QCryptographicHash>
#include <QStringList>

namespace quillery::test {

QString bookText(const Store &store)
{
    QStringList lines;
    const auto ms = [](const std::optional<QDateTime> &dt) {
        return dt ? QString::number(dt->toMSecsSinceEpoch()) : QStringLiteral("-");
    };
    const auto number = [](const std::optional<double> &value) {
        return value ? QString::number(*value, 'g', 17) : QStringLiteral("-");
    };
    for (const Page *page : store.pages()) {
        lines << QStringLiteral("page %1 pos=%2 title=%3 color=%4 created=%5")
                     .arg(uuidString(page->id()), number(page->position()), page->title())
                     .arg(page->colorIndex())
                     .arg(page->createdMSecs());
    }
    for (const TaskItem *task : store.tasks()) {
        lines << QStringLiteral("task %1 page=%2 text=%3 done=%4 order=%5 created=%6 due=%7 alarm=%8 notes=%9 "
                                "place=%10|%11|%12|%13 indent=%14")
                     .arg(uuidString(task->id()), task->page() ? uuidString(task->page()->id()) : QStringLiteral("-"),
                         task->text())
                     .arg(task->done())
                     .arg(number(task->order()))
                     .arg(task->createdMSecs())
                     .arg(ms(task->due()), ms(task->alarm()), task->notes(), task->placeName(), task->placeAddress(),
                         number(task->latitude()), number(task->longitude()))
                     .arg(task->indent());
    }
    for (const Attachment *attachment : store.attachments()) {
        const std::optional<QByteArray> data = attachment->data();
        const auto digest = [](const QByteArray &bytes) {
            return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
        };
        lines << QStringLiteral("attachment %1 task=%2 name=%3 type=%4 created=%5 data=%6")
                     .arg(uuidString(attachment->id()),
                         attachment->task() ? uuidString(attachment->task()->id()) : QStringLiteral("-"),
                         attachment->name(), attachment->typeIdentifier())
                     .arg(attachment->createdMSecs())
                     .arg(data ? digest(*data) + u'/' + QString::number(data->size()) : QStringLiteral("-"));
    }
    lines.sort();
    return lines.join(u'\n');
}

} // namespace quillery::test
