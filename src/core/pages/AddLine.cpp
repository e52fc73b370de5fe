#include "AddLine.h"

namespace quillery {

bool AddLine::edit(const QString &text)
{
    if (!text.startsWith(u' ')) {
        m_draft = text;
        return false;
    }
    m_indent = MaxIndent;
    qsizetype spaces = 0;
    while (spaces < text.size() && text.at(spaces) == u' ')
        ++spaces;
    m_draft = text.mid(spaces);
    return true;
}

AddLine::Submission AddLine::submit()
{
    const QString text = m_draft.trimmed();
    if (text.isEmpty()) {
        if (m_indent >= 1) {
            m_indent = 0;
            return { Submission::ResetLevel, {}, 0 };
        }
        return { Submission::Leave, {}, 0 };
    }
    m_draft.clear();
    // The level stays: consecutive subtasks are typed one after the other.
    return { Submission::Add, text, m_indent };
}

void AddLine::reset()
{
    m_draft.clear();
    m_indent = 0;
}

} // namespace quillery
