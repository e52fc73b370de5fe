#pragma once

#include "core/model/RecordPointer.h"
#include <QList>
#include <QPointer>

namespace quillery {

class Page;
class TaskItem;

// Where a task matched, best first: the order results are ranked in.
enum class SearchField { Text, PlaceName, Attachment, Notes };

struct SearchHit {
    RecordPointer<TaskItem> task;
    SearchField field = SearchField::Text;
};

// The matches of one page: its title matched, some of its tasks did, or both.
struct SearchGroup {
    RecordPointer<Page> page;
    bool titleMatches = false;
    QList<SearchHit> hits;
};

// The answer to one query, in the order it is shown: the current page
// first, then pages whose title or a task's text matched before pages with
// lesser matches only, each in book order; inside a page, text matches
// before place names, attachment names and notes, each in page order.
struct SearchResults {
    QList<SearchGroup> groups;
    int taskCount = 0; // every matching task, also those left out for the limit
    int shownTasks = 0;
};

} // namespace quillery
