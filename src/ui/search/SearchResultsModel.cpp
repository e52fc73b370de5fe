#include "SearchResultsModel.h"

#include "core/model/Page.h"
#include "core/model/TaskItem.h"

namespace quillery::ui {

void SearchResultsModel::setResults(const SearchResults &results, const QString &foldedQuery)
{
    beginResetModel();
    m_query = foldedQuery;
    m_rows.clear();
    for (const SearchGroup &group : results.groups) {
        m_rows.append({ Row::Kind::Page, group.page, nullptr, SearchField::Text, group.titleMatches });
        for (const SearchHit &hit : group.hits)
            m_rows.append({ Row::Kind::Task, group.page, hit.task, hit.field, false });
    }
    m_taskCount = results.taskCount;
    m_hidden = results.taskCount - results.shownTasks;
    if (m_hidden > 0)
        m_rows.append({ Row::Kind::More, nullptr, nullptr, SearchField::Text, false });
    endResetModel();
}

int SearchResultsModel::nextResult(int from, int step) const
{
    for (int i = from + step; i >= 0 && i < int(m_rows.size()); i += step) {
        if (flags(index(i)) & Qt::ItemIsSelectable)
            return i;
    }
    return -1;
}

int SearchResultsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant SearchResultsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    const Row &row = m_rows.at(index.row());
    switch (row.kind) {
    case Row::Kind::Page:
        return row.page && !row.page->title().isEmpty() ? row.page->title() : tr("Untitled");
    case Row::Kind::Task:
        if (!row.task)
            return {};
        return row.task->done() ? tr("%1, done").arg(row.task->text()) : row.task->text();
    case Row::Kind::More:
        return tr("%n more — type more to narrow the search", nullptr, m_hidden);
    }
    return {};
}

Qt::ItemFlags SearchResultsModel::flags(const QModelIndex &index) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return Qt::NoItemFlags;
    const Row &row = m_rows.at(index.row());
    const bool result = (row.kind == Row::Kind::Task && row.task) || (row.kind == Row::Kind::Page && row.titleMatches);
    return result ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::ItemIsEnabled;
}

} // namespace quillery::ui
