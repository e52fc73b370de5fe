#pragma once

#include "UndoStep.h"
#include "core/model/RecordPointer.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QUndoStack>

namespace quillery {

class AlarmService;
class Store;

// The undo history of one run of the program (never saved): the last 200
// steps the user took on the book. It watches the store rather than the
// widgets: every change made in one pass of the event loop becomes one step,
// named after what it did ("Add Task", "Tear Out Page", "Move Task"), with
// each record's state before and after. Changes the program makes by itself
// (Store::Housekeeping, the mirror) are not steps.
//
// Undo and redo write records back through their ordinary setters, deleted
// records come back under their own ids with their attachments' bytes, and
// the alarms of the tasks touched follow. A record that another computer
// changed or deleted since is left as that computer left it: the rest of
// the step is applied, notice() says what was not, and a step left with
// nothing to apply is dropped.
class UndoHistory final : public QObject
{
    Q_OBJECT
public:
    static constexpr int Limit = 200;

    // `alarms` may be null (nothing is scheduled then).
    UndoHistory(Store &store, AlarmService *alarms, QObject *parent = nullptr);
    ~UndoHistory() override;

    // Undo, redo, their names and whether there is anything to undo or redo.
    QUndoStack &stack() { return m_stack; }

    void undo();
    void redo();

    // Turns the changes gathered so far into a step now rather than at the
    // end of the pass.
    void commit();
    // A text field lost the focus: typing from here on is a step of its own.
    void seal();

    // Only UndoStep calls this: writes the step's records back (`back`) or
    // forth. False when nothing could be applied.
    bool apply(const UndoStep &step, bool back);

Q_SIGNALS:
    // A short message for the user: part or all of a step could not be
    // applied.
    void notice(const QString &text);

private:
    struct Open {
        RecordPointer<Record> record;
        std::optional<RecordState> before;
    };

    bool watching() const;
    void touch(Record *record, bool existed);
    QString describe(const QList<RecordChange> &changes) const;
    bool recreate(const RecordState &state);
    bool removeIfUnchanged(const RecordState &expected, const QSet<QUuid> &leaving);

    Store &m_store;
    AlarmService *m_alarms;
    QUndoStack m_stack;
    QList<Open> m_open; // records touched since the last step, first touch first
    QHash<Record *, qsizetype> m_openIndex;
    int m_visit = 0; // see seal()
    bool m_commitQueued = false;
    bool m_applying = false;
};

} // namespace quillery
