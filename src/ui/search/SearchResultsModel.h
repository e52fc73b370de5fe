#pragma once

#include "core/model/RecordPointer.h"
#include "core/search/SearchResults.h"

#include <QAbstractListModel>
#include <QPointer>

namespace quillery::ui {

// The results of one query as the rows of the search list: for each page a
// header (its colour and title; a result itself when the title matched),
// then its matching tasks; and, when the list was cut short, a last line
// saying how many more there are.
class SearchResultsModel final : public QAbstractListModel
{
    Q_OBJECT
public:
    struct Row {
        enum class Kind { Page, Task, More };
        Kind kind = Kind::Task;
        RecordPointer<Page> page;
        RecordPointer<TaskItem> task;
        SearchField field = SearchField::Text;
        bool titleMatches = false;
    };

    using QAbstractListModel::QAbstractListModel;

    void setResults(const SearchResults &results, const QString &foldedQuery);
    void clear() { setResults({}, {}); }
    const QString &foldedQuery() const { return m_query; }
    const Row &row(int index) const { return m_rows.at(index); }
    int taskCount() const { return m_taskCount; }
    int hiddenCount() const { return m_hidden; }
    // The next row from `from` in `step` (1 or -1) that can be chosen, or
    // -1 when there is none that way.
    int nextResult(int from, int step) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QList<Row> m_rows;
    QString m_query;
    int m_taskCount = 0;
    int m_hidden = 0;
};

} // namespace quillery::ui
