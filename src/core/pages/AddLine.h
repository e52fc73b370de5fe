#pragma once

#include <QString>

namespace quillery {

// The rules of the line at the end of a page where new tasks are typed: a
// leading space turns the line into a subtask line (and is dropped), Return
// adds the trimmed text as a task, and Return on an empty line first steps
// back to the top level, then leaves the line. Holds the typed text and the
// level of the task being added; the page view shows them and acts on what
// `submit` decides.
class AddLine final
{
public:
    static constexpr int MaxIndent = 1;

    QString draft() const { return m_draft; }
    int indent() const { return m_indent; }

    // The user changed the text to `text`. Returns true when the rules
    // rewrote it (the field must then show `draft()`).
    bool edit(const QString &text);

    struct Submission {
        enum Action {
            Add, // add `text` as a task at level `indent`, keep typing
            ResetLevel, // back to the top level; keep the focus
            Leave, // give the focus up
        };
        Action action;
        QString text;
        int indent = 0;
    };
    // Return was pressed.
    Submission submit();

    // Back to an empty top-level line (a page appearing again).
    void reset();

private:
    QString m_draft;
    int m_indent = 0;
};

} // namespace quillery
