#include "UndoHistory.h"

#include "core/alarms/AlarmService.h"
#include "core/model/Attachment.h"
#include "core/model/Page.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"

#include <QScopedValueRollback>
#include <QSet>

#include <algorithm>

namespace quillery {

namespace {

int rank(Record::Kind kind)
{
    return kind == Record::Kind::Page ? 0 : kind == Record::Kind::Task ? 1 : 2;
}

bool anyLiveOutside(const QList<Record *> &children, const QSet<QUuid> &leaving)
{
    return std::any_of(children.begin(), children.end(),
        [&](Record *child) { return !child->isDeleted() && !leaving.contains(child->id()); });
}

template <typename T> QList<Record *> records(const QList<T *> &list)
{
    return QList<Record *>(list.begin(), list.end());
}

} // namespace

UndoHistory::UndoHistory(Store &store, AlarmService *alarms, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_alarms(alarms)
{
    m_stack.setUndoLimit(Limit);
    connect(&store, &Store::recordAboutToChange, this, [this](Record *record, Field) {
        if (watching())
            touch(record, true);
    });
    connect(&store, &Store::recordInserted, this, [this](Record *record) {
        if (watching())
            touch(record, false);
    });
    connect(&store, &Store::recordRemoved, this, [this](Record *record) {
        if (watching())
            touch(record, true);
    });
}

UndoHistory::~UndoHistory()
{
    m_stack.clear();
}

bool UndoHistory::watching() const
{
    return !m_applying && !m_store.isHousekeeping();
}

void UndoHistory::touch(Record *record, bool existed)
{
    if (m_openIndex.contains(record))
        return;
    m_openIndex.insert(record, m_open.size());
    m_open.append({ record, existed ? std::optional(RecordState::of(*record)) : std::nullopt });
    if (!m_commitQueued) {
        m_commitQueued = true;
        QMetaObject::invokeMethod(this, &UndoHistory::commit, Qt::QueuedConnection);
    }
}

void UndoHistory::commit()
{
    m_commitQueued = false;
    if (m_open.isEmpty())
        return;
    QList<Open> open = std::exchange(m_open, {});
    m_openIndex.clear();
    QList<RecordChange> changes;
    for (Open &touched : open) {
        Record *record = touched.record.data();
        std::optional<RecordState> after;
        if (record && !record->isDeleted() && record->store() == &m_store)
            after = RecordState::of(*record);
        if (!touched.before && !after)
            continue;
        if (touched.before && after && touched.before->sameFields(*after))
            continue;
        changes.append({ std::move(touched.before), std::move(after) });
    }
    if (changes.isEmpty())
        return;
    const QString name = describe(changes);
    m_stack.push(new UndoStep(*this, name, std::move(changes), m_visit));
}

void UndoHistory::seal()
{
    commit();
    ++m_visit;
}

void UndoHistory::undo()
{
    commit();
    m_stack.undo();
}

void UndoHistory::redo()
{
    commit();
    m_stack.redo();
}

QString UndoHistory::describe(const QList<RecordChange> &changes) const
{
    int added[3] = {};
    int removed[3] = {};
    QSet<Field> edited;
    int indentBy = 0;
    bool doneAfter = false;
    for (const RecordChange &change : changes) {
        const int kind = rank(change.any().kind);
        if (!change.before) {
            ++added[kind];
            continue;
        }
        if (!change.after) {
            ++removed[kind];
            continue;
        }
        for (Field field : RecordState::fields(change.before->kind)) {
            if (change.before->same(*change.after, field))
                continue;
            edited.insert(field);
            if (field == Field::Indent)
                indentBy += change.after->value(field).toInt() - change.before->value(field).toInt();
            else if (field == Field::Done)
                doneAfter = change.after->value(field).toBool();
        }
    }
    const auto any = [&](std::initializer_list<Field> fields) {
        return std::any_of(fields.begin(), fields.end(), [&](Field field) { return edited.contains(field); });
    };
    if (removed[0])
        return tr("Tear Out Page");
    if (added[0])
        return added[1] ? tr("Import Calendar") : tr("New Page");
    if (removed[1])
        return removed[1] > 1 ? tr("Delete Tasks") : tr("Delete Task");
    if (added[1])
        return added[1] > 1 ? tr("Add Tasks") : tr("Add Task");
    if (added[2])
        return added[2] > 1 ? tr("Add Attachments") : tr("Add Attachment");
    if (removed[2])
        return removed[2] > 1 ? tr("Remove Attachments") : tr("Remove Attachment");
    if (any({ Field::Order, Field::PageLink }))
        return tr("Move Task");
    if (any({ Field::Indent }))
        return indentBy > 0 ? tr("Indent Task") : tr("Outdent Task");
    if (any({ Field::Done }))
        return doneAfter ? tr("Mark as Done") : tr("Mark as Not Done");
    if (any({ Field::Text }))
        return tr("Edit Task");
    if (any({ Field::Notes }))
        return tr("Edit Notes");
    if (any({ Field::Due }))
        return tr("Change Due Day");
    if (any({ Field::Alarm }))
        return tr("Change Reminder");
    if (any({ Field::PlaceName, Field::PlaceAddress, Field::Latitude, Field::Longitude }))
        return tr("Change Place");
    if (any({ Field::Title }))
        return tr("Rename Page");
    if (any({ Field::ColorIndex }))
        return tr("Change Page Color");
    if (any({ Field::Position }))
        return tr("Move Page");
    return tr("Change");
}

bool UndoHistory::recreate(const RecordState &state)
{
    // Back under its own id, unless that id lives again already or what it
    // belonged to was deleted meanwhile.
    if (state.live(m_store) || (state.isLinked() && !state.parent(m_store)))
        return false;
    Record *record = state.make();
    if (!m_store.restore(record)) {
        delete record;
        return false;
    }
    if (state.kind != Record::Kind::Page)
        state.write(state.kind == Record::Kind::Task ? Field::PageLink : Field::TaskLink, *record, m_store);
    return true;
}

bool UndoHistory::removeIfUnchanged(const RecordState &expected, const QSet<QUuid> &leaving)
{
    // Only what is still exactly as the step left it goes, and never with
    // tasks or attachments that joined it since.
    Record *record = expected.live(m_store);
    if (!record || !RecordState::of(*record).sameFields(expected))
        return false;
    if (auto *page = recordCast<Page>(record); page && anyLiveOutside(records(page->tasks()), leaving))
        return false;
    if (auto *task = recordCast<TaskItem>(record)) {
        if (anyLiveOutside(records(task->attachments()), leaving))
            return false;
        if (m_alarms)
            m_alarms->cancel(task);
    }
    m_store.remove(record);
    return true;
}

bool UndoHistory::apply(const UndoStep &step, bool back)
{
    const QScopedValueRollback<bool> applying(m_applying, true);
    QList<const RecordChange *> creations, edits, removals;
    QSet<QUuid> leaving;
    for (const RecordChange &change : step.changes()) {
        const auto &expected = back ? change.after : change.before;
        const auto &target = back ? change.before : change.after;
        if (!expected) {
            creations.append(&change);
        } else if (!target) {
            removals.append(&change);
            leaving.insert(change.any().id);
        } else {
            edits.append(&change);
        }
    }
    // Pages before their tasks before their attachments on the way in, the
    // other way round on the way out.
    const auto byRank
        = [](const RecordChange *a, const RecordChange *b) { return rank(a->any().kind) < rank(b->any().kind); };
    std::stable_sort(creations.begin(), creations.end(), byRank);
    std::stable_sort(removals.begin(), removals.end(), [&](auto *a, auto *b) { return byRank(b, a); });

    int applied = 0;
    int refused = 0;
    const auto count = [&](bool ok) { ++(ok ? applied : refused); };
    for (const RecordChange *change : std::as_const(creations))
        count(recreate(back ? *change->before : *change->after));
    for (const RecordChange *change : std::as_const(edits)) {
        const RecordState &expected = back ? *change->after : *change->before;
        const RecordState &target = back ? *change->before : *change->after;
        Record *record = expected.live(m_store);
        if (!record) {
            count(false);
            continue;
        }
        // Field by field: what another computer changed since stays.
        const RecordState now = RecordState::of(*record);
        bool kept = false;
        bool wrote = false;
        for (Field field : RecordState::fields(expected.kind)) {
            if (expected.same(target, field) || now.same(target, field))
                continue;
            if (now.same(expected, field) && target.write(field, *record, m_store))
                wrote = true;
            else
                kept = true;
        }
        if (kept)
            ++refused;
        if (wrote || !kept)
            ++applied;
    }
    for (const RecordChange *change : std::as_const(removals))
        count(removeIfUnchanged(back ? *change->after : *change->before, leaving));

    if (m_alarms) {
        for (const RecordChange &change : step.changes()) {
            if (TaskItem *task = m_store.task(change.any().id))
                m_alarms->schedule(task);
        }
    }
    if (refused > 0) {
        const QString name = step.text();
        if (applied == 0) {
            Q_EMIT notice(back ? tr("Can't undo “%1”: it was changed on another computer meanwhile.").arg(name)
                               : tr("Can't redo “%1”: it was changed on another computer meanwhile.").arg(name));
        } else {
            Q_EMIT notice(back
                    ? tr("Part of “%1” was not undone: it was changed on another computer meanwhile.").arg(name)
                    : tr("Part of “%1” was not redone: it was changed on another computer meanwhile.").arg(name));
        }
    }
    return applied > 0;
}

} // namespace quillery
