#include "UndoStep.h"

#include "UndoHistory.h"

namespace quillery {

namespace {

// The field a step of typing changed: one record, still there, and nothing
// changed but one of its text fields.
std::optional<Field> typedField(const QList<RecordChange> &changes)
{
    if (changes.size() != 1 || !changes.first().before || !changes.first().after)
        return std::nullopt;
    const RecordState &before = *changes.first().before;
    const RecordState &after = *changes.first().after;
    std::optional<Field> typed;
    for (Field field : RecordState::fields(before.kind)) {
        if (before.same(after, field))
            continue;
        if (typed || (field != Field::Text && field != Field::Notes && field != Field::Title))
            return std::nullopt;
        typed = field;
    }
    return typed;
}

} // namespace

UndoStep::UndoStep(UndoHistory &history, const QString &name, QList<RecordChange> changes, int visit)
    : QUndoCommand(name)
    , m_history(history)
    , m_changes(std::move(changes))
    , m_typing(typedField(m_changes))
    , m_visit(visit)
{ }

void UndoStep::undo()
{
    if (!m_history.apply(*this, true))
        setObsolete(true);
}

void UndoStep::redo()
{
    if (!m_pushed) {
        m_pushed = true;
        return;
    }
    if (!m_history.apply(*this, false))
        setObsolete(true);
}

bool UndoStep::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const UndoStep *>(other);
    if (!m_typing || next->m_visit != m_visit || next->m_typing != m_typing
        || next->m_changes.first().any().id != m_changes.first().any().id)
        return false;
    m_changes.first().after = next->m_changes.first().after;
    // Typing that ends where it began leaves nothing to undo.
    if (m_changes.first().before->sameFields(*m_changes.first().after))
        setObsolete(true);
    return true;
}

} // namespace quillery
