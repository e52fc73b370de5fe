#pragma once

#include "core/history/RecordState.h"

#include <QList>
#include <QUndoCommand>

#include <optional>

namespace quillery {

class UndoHistory;

// What one step did to one record: its state before and after, none where
// the record did not exist (added, or deleted).
struct RecordChange {
    std::optional<RecordState> before;
    std::optional<RecordState> after;

    const RecordState &any() const { return before ? *before : *after; }
};

// One step of the undo history: the records it changed, each before and
// after. Undoing and redoing are left to the history, which checks each
// record against what the step left before writing it back. A step that
// finds nothing it can apply any more is dropped.
//
// The steps of typing into one field merge into one until the field loses
// the focus.
class UndoStep final : public QUndoCommand
{
public:
    // `visit` counts the times a text field lost the focus: typing merges
    // only within one visit.
    UndoStep(UndoHistory &history, const QString &name, QList<RecordChange> changes, int visit);

    const QList<RecordChange> &changes() const { return m_changes; }

    void undo() override;
    void redo() override;
    int id() const override { return m_typing ? 1 : -1; }
    bool mergeWith(const QUndoCommand *other) override;

private:
    UndoHistory &m_history;
    QList<RecordChange> m_changes;
    std::optional<Field> m_typing; // the one text field the step changed
    int m_visit;
    bool m_pushed = false; // the change was made before the step was pushed
};

} // namespace quillery
