#include "TaskItem.h"

#include "Attachment.h"
#include "Page.h"
#include "Store.h"

#include <algorithm>

namespace quillery {

TaskItem::TaskItem(const QString &text, double order)
    : m_text(text)
    , m_order(order)
{ }

TaskItem::~TaskItem()
{
    if (m_page)
        m_page->m_tasks.removeOne(this);
    for (Attachment *attachment : attachments())
        attachment->m_task = nullptr;
}

TaskItem::Extra &TaskItem::extra()
{
    if (!m_extra)
        m_extra = std::make_unique<Extra>();
    return *m_extra;
}

const QList<Attachment *> &TaskItem::attachments() const
{
    static const QList<Attachment *> none;
    return m_extra ? m_extra->attachments : none;
}

template <typename T, typename Signal>
void TaskItem::assignExtra(T Extra::*member, const T &value, Field field, Signal signal)
{
    if (!m_extra && value == T())
        return;
    assign(extra().*member, value, field, signal);
}

template <auto Member, auto Setter> StoredField TaskItem::extraField(Field field, const char *name, const char *column)
{
    using T = typename fields::MemberOf<decltype(Member)>::Type;
    using A = typename fields::SetterOf<decltype(Setter)>::Arg;
    using Traits = fields::Traits<T>;
    StoredField entry { field, Traits::type, name, column, Traits::to(T()) };
    entry.get = [](const Record &record) {
        const Extra *extra = static_cast<const TaskItem &>(record).m_extra.get();
        return Traits::to(extra ? extra->*Member : T());
    };
    entry.set = [](Record &record, const QVariant &value) {
        (static_cast<TaskItem &>(record).*Setter)(fields::Traits<A>::from(value));
    };
    entry.fill = [](Record &record, const QVariant &value) {
        auto &task = static_cast<TaskItem &>(record);
        const T filled = Traits::from(value);
        if (task.m_extra || !(filled == T()))
            task.extra().*Member = filled;
    };
    return entry;
}

std::span<const StoredField> TaskItem::fields()
{
    using fields::value;
    static const StoredField table[] = {
        value<&TaskItem::m_text, &TaskItem::setText>(Field::Text, "text", "text"),
        value<&TaskItem::m_done, &TaskItem::setDone>(Field::Done, "done", "done", false),
        value<&TaskItem::m_order, &TaskItem::setOrder>(Field::Order, "order", "sort_order", 0),
        createdField(),
        value<&TaskItem::m_due, &TaskItem::setDue>(Field::Due, "due", "due"),
        extraField<&Extra::alarm, &TaskItem::setAlarm>(Field::Alarm, "alarm", "alarm"),
        extraField<&Extra::notes, &TaskItem::setNotes>(Field::Notes, "notes", "notes"),
        extraField<&Extra::placeName, &TaskItem::setPlaceName>(Field::PlaceName, "placeName", "place_name"),
        extraField<&Extra::placeAddress, &TaskItem::setPlaceAddress>(
            Field::PlaceAddress, "placeAddress", "place_address"),
        extraField<&Extra::latitude, &TaskItem::setLatitude>(Field::Latitude, "latitude", "latitude"),
        extraField<&Extra::longitude, &TaskItem::setLongitude>(Field::Longitude, "longitude", "longitude"),
        value<&TaskItem::m_indent, &TaskItem::setIndent>(Field::Indent, "indent", "indent", 0),
        pageLink(),
        extraField<&Extra::repeat, &TaskItem::setRepeat>(Field::Repeat, "repeat", "repeat_rule"),
    };
    return table;
}

StoredField TaskItem::pageLink()
{
    StoredField entry { Field::PageLink, FieldType::Link, "page", "page_id", QVariant::fromValue(QUuid()) };
    entry.target = Kind::Page;
    entry.get = [](const Record &record) {
        const Page *page = static_cast<const TaskItem &>(record).m_page;
        return QVariant::fromValue(page ? page->id() : QUuid());
    };
    entry.set = [](Record &record, const QVariant &value) {
        Store *store = record.store();
        static_cast<TaskItem &>(record).setPage(store ? store->page(value.toUuid()) : nullptr);
    };
    entry.fill = [](Record &record, const QVariant &value) {
        auto &task = static_cast<TaskItem &>(record);
        if (Page *page = task.store()->page(value.toUuid())) {
            task.m_page = page;
            page->m_tasks.append(&task);
        }
    };
    return entry;
}

void TaskItem::setText(const QString &text)
{
    assign(m_text, text, Field::Text, &TaskNotifier::textChanged);
}
void TaskItem::setDone(bool done)
{
    assign(m_done, done, Field::Done, &TaskNotifier::doneChanged);
}
void TaskItem::setOrder(double order)
{
    assign(m_order, order, Field::Order, &TaskNotifier::orderChanged);
}
void TaskItem::setNotes(const QString &notes)
{
    assignExtra(&Extra::notes, notes, Field::Notes, &TaskNotifier::notesChanged);
}
void TaskItem::setIndent(int indent)
{
    assign(m_indent, indent, Field::Indent, &TaskNotifier::indentChanged);
}
void TaskItem::setRepeat(const QString &rule)
{
    assignExtra(&Extra::repeat, rule, Field::Repeat, &TaskNotifier::repeatChanged);
}

void TaskItem::setDue(const std::optional<QDateTime> &due)
{
    assign(m_due, toMSecs(due), Field::Due, &TaskNotifier::dueChanged);
}

void TaskItem::setAlarm(const std::optional<QDateTime> &alarm)
{
    assignExtra(&Extra::alarm, toMSecs(alarm), Field::Alarm, &TaskNotifier::alarmChanged);
}

void TaskItem::setPlaceName(const QString &name)
{
    assignExtra(&Extra::placeName, name, Field::PlaceName, &TaskNotifier::placeNameChanged);
}

void TaskItem::setPlaceAddress(const QString &address)
{
    assignExtra(&Extra::placeAddress, address, Field::PlaceAddress, &TaskNotifier::placeAddressChanged);
}

void TaskItem::setLatitude(std::optional<double> latitude)
{
    assignExtra(&Extra::latitude, latitude, Field::Latitude, &TaskNotifier::latitudeChanged);
}

void TaskItem::setLongitude(std::optional<double> longitude)
{
    assignExtra(&Extra::longitude, longitude, Field::Longitude, &TaskNotifier::longitudeChanged);
}

void TaskItem::setPage(Page *page)
{
    if (m_page == page)
        return;
    willChange(Field::PageLink);
    Page *old = m_page;
    m_page = page;
    if (old)
        old->detachTask(this);
    if (page)
        page->attachTask(this);
    didChange(Field::PageLink);
    notify(Field::PageLink, &TaskNotifier::pageChanged);
}

QList<Attachment *> TaskItem::sortedAttachments() const
{
    QList<Attachment *> live;
    live.reserve(attachments().size());
    for (Attachment *attachment : attachments()) {
        if (!attachment->isDeleted())
            live.append(attachment);
    }
    std::stable_sort(live.begin(), live.end(),
        [](const Attachment *a, const Attachment *b) { return a->createdMSecs() < b->createdMSecs(); });
    return live;
}

std::optional<Place> TaskItem::place() const
{
    if (!m_extra || !m_extra->latitude || !m_extra->longitude || m_extra->placeName.isEmpty())
        return std::nullopt;
    return Place { m_extra->placeName, m_extra->placeAddress, *m_extra->latitude, *m_extra->longitude };
}

void TaskItem::setPlace(const std::optional<Place> &place)
{
    if (place) {
        setPlaceName(place->name);
        setPlaceAddress(place->address);
        setLatitude(place->latitude);
        setLongitude(place->longitude);
    } else {
        setPlaceName(QString());
        setPlaceAddress(QString());
        setLatitude(std::nullopt);
        setLongitude(std::nullopt);
    }
}

void TaskItem::attachAttachment(Attachment *attachment)
{
    extra().attachments.append(attachment);
    notify(&TaskNotifier::attachmentsChanged);
}

void TaskItem::detachAttachment(Attachment *attachment)
{
    if (m_extra && m_extra->attachments.removeOne(attachment))
        notify(&TaskNotifier::attachmentsChanged);
}

TaskItem *addTask(const QString &text, int indent, Page *page, Store &store)
{
    std::optional<double> largest;
    if (page) {
        for (const TaskItem *task : page->tasks())
            largest = largest ? std::max(*largest, task->order()) : task->order();
    }
    auto *task = new TaskItem(text, largest ? *largest + 1 : 1);
    store.insert(task);
    task->setIndent(indent);
    task->setPage(page);
    return task;
}

} // namespace quillery
