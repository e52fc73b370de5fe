#include "SearchIndex.h"

#include "core/model/Attachment.h"
#include "core/model/Page.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"

#include <algorithm>
#include <tuple>

namespace quillery {

namespace {

// Where `needle` first occurs in `haystack`. Looks for its first unit with
// the vectorised character scan and compares the rest only there, which is
// several times quicker on short texts than a general substring search.
qsizetype findIn(QStringView haystack, QStringView needle)
{
    const qsizetype last = haystack.size() - needle.size();
    const QChar first = needle.front();
    const QStringView rest = needle.sliced(1);
    for (qsizetype from = 0; from <= last;) {
        const qsizetype at = haystack.indexOf(first, from);
        if (at < 0 || at > last)
            return -1;
        if (haystack.sliced(at + 1, rest.size()) == rest)
            return at;
        from = at + 1;
    }
    return -1;
}

} // namespace

SearchIndex::SearchIndex(Store &store, const TextFolder &folder, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_folder(folder)
{
    connect(&store, &Store::recordInserted, this, &SearchIndex::recordInserted);
    connect(&store, &Store::recordRemoved, this, &SearchIndex::recordRemoved);
    connect(&store, &Store::recordChanged, this, &SearchIndex::recordChanged);
}

SearchIndex::~SearchIndex() = default;

void SearchIndex::build()
{
    m_built = true;
    m_entries.reserve(size_t(m_store.tasks().size()));
    for (TaskItem *task : m_store.tasks())
        addTask(task);
    for (Page *page : m_store.pages())
        m_titles.insert(page, m_folder.fold(page->title()));
    for (Attachment *attachment : m_store.attachments())
        m_ownerOf.insert(attachment, attachment->task());
}

void SearchIndex::fill(TaskEntry &entry)
{
    const TaskItem *task = entry.task;
    entry.page = task->page();
    entry.order = task->order();
    entry.created = task->createdMSecs();
    m_stale += entry.end - entry.start;
    // Offsets are ints: a book's text stays far below 2^31 units.
    entry.start = int(m_text.size());
    m_text += m_folder.fold(task->text());
    m_text += u'\n';
    entry.placeAt = int(m_text.size());
    m_text += m_folder.fold(task->placeName());
    m_text += u'\n';
    entry.attachmentsAt = int(m_text.size());
    for (const Attachment *attachment : task->attachments()) {
        if (attachment->isDeleted())
            continue;
        m_text += m_folder.fold(attachment->name());
        m_text += u'\n';
    }
    entry.notesAt = int(m_text.size());
    m_text += m_folder.fold(task->notes());
    entry.end = int(m_text.size());
    if (m_stale > m_text.size() / 2)
        compact();
}

void SearchIndex::compact()
{
    QString text;
    text.reserve(m_text.size() - m_stale);
    for (TaskEntry &entry : m_entries) {
        const int shift = int(text.size()) - entry.start;
        text += QStringView(m_text).sliced(entry.start, entry.end - entry.start);
        entry.start += shift;
        entry.placeAt += shift;
        entry.attachmentsAt += shift;
        entry.notesAt += shift;
        entry.end += shift;
    }
    m_text = std::move(text);
    m_stale = 0;
}

void SearchIndex::addTask(TaskItem *task)
{
    if (task->isDeleted() || m_entryOf.contains(task))
        return;
    TaskEntry entry;
    entry.task = task;
    fill(entry);
    m_entryOf.insert(task, int(m_entries.size()));
    m_entries.push_back(entry);
    invalidate();
}

void SearchIndex::removeTask(TaskItem *task)
{
    const auto found = m_entryOf.constFind(task);
    if (found == m_entryOf.constEnd())
        return;
    const int index = *found;
    m_entryOf.erase(found);
    m_stale += m_entries[size_t(index)].end - m_entries[size_t(index)].start;
    if (index != int(m_entries.size()) - 1) {
        m_entries[size_t(index)] = m_entries.back();
        m_entryOf[m_entries[size_t(index)].task] = index;
    }
    m_entries.pop_back();
    if (m_stale > m_text.size() / 2)
        compact();
    invalidate();
}

void SearchIndex::refreshTask(TaskItem *task)
{
    if (!task)
        return;
    const auto found = m_entryOf.constFind(task);
    if (found == m_entryOf.constEnd())
        return;
    fill(m_entries[size_t(*found)]);
    invalidate();
}

void SearchIndex::recordInserted(Record *record)
{
    if (!m_built)
        return;
    switch (record->kind()) {
    case Record::Kind::Task:
        addTask(static_cast<TaskItem *>(record));
        break;
    case Record::Kind::Page:
        m_titles.insert(static_cast<Page *>(record), m_folder.fold(static_cast<Page *>(record)->title()));
        break;
    case Record::Kind::Attachment: {
        auto *attachment = static_cast<Attachment *>(record);
        m_ownerOf.insert(attachment, attachment->task());
        refreshTask(attachment->task());
        break;
    }
    }
}

void SearchIndex::recordRemoved(Record *record)
{
    if (!m_built)
        return;
    switch (record->kind()) {
    case Record::Kind::Task:
        removeTask(static_cast<TaskItem *>(record));
        break;
    case Record::Kind::Page:
        m_titles.remove(static_cast<Page *>(record));
        break;
    case Record::Kind::Attachment:
        // Already marked deleted: the refreshed entry leaves its name out.
        refreshTask(m_ownerOf.take(static_cast<Attachment *>(record)));
        break;
    }
}

void SearchIndex::recordChanged(Record *record, Field field)
{
    if (!m_built || record->isDeleted())
        return;
    switch (field) {
    case Field::Title:
        m_titles.insert(static_cast<Page *>(record), m_folder.fold(static_cast<Page *>(record)->title()));
        break;
    case Field::Text:
    case Field::PlaceName:
    case Field::Notes:
        refreshTask(static_cast<TaskItem *>(record));
        break;
    case Field::Name:
        refreshTask(static_cast<Attachment *>(record)->task());
        break;
    case Field::Order:
    case Field::PageLink:
    case Field::Created:
        if (record->kind() == Record::Kind::Task) {
            auto *task = static_cast<TaskItem *>(record);
            if (const auto found = m_entryOf.constFind(task); found != m_entryOf.constEnd()) {
                TaskEntry &entry = m_entries[size_t(*found)];
                entry.page = task->page();
                entry.order = task->order();
                entry.created = task->createdMSecs();
            }
        }
        break;
    case Field::TaskLink: {
        auto *attachment = static_cast<Attachment *>(record);
        TaskItem *before = m_ownerOf.value(attachment);
        m_ownerOf.insert(attachment, attachment->task());
        refreshTask(before);
        refreshTask(attachment->task());
        break;
    }
    default:
        break;
    }
}

std::optional<SearchField> SearchIndex::matchField(const TaskEntry &entry, QStringView query) const
{
    qsizetype at = findIn(QStringView(m_text).sliced(entry.start, entry.end - entry.start), query);
    if (at < 0)
        return std::nullopt;
    at += entry.start;
    if (at < entry.placeAt)
        return SearchField::Text;
    if (at < entry.attachmentsAt)
        return SearchField::PlaceName;
    if (at < entry.notesAt)
        return SearchField::Attachment;
    return SearchField::Notes;
}

SearchResults SearchIndex::search(const QString &query, const Page *current, int limit)
{
    if (!m_built)
        build();
    const QString folded = m_folder.fold(query).trimmed();
    SearchResults results;
    if (folded.isEmpty()) {
        invalidate();
        return results;
    }

    std::vector<Candidate> found;
    if (!m_lastQuery.isEmpty() && folded.contains(m_lastQuery)) {
        for (const Candidate &candidate : m_lastCandidates) {
            if (auto field = matchField(m_entries[size_t(candidate.entry)], folded))
                found.push_back({ candidate.entry, *field });
        }
    } else {
        for (size_t i = 0; i < m_entries.size(); ++i) {
            if (auto field = matchField(m_entries[i], folded))
                found.push_back({ int(i), *field });
        }
    }
    m_lastQuery = folded;
    m_lastCandidates = found;

    // Pages are ranked by their place in the book, the current one first,
    // then by their best match (a matching title counts as a text match).
    const QList<Page *> &pages = m_store.pages();
    QHash<const Page *, int> pageIndex;
    pageIndex.reserve(pages.size());
    for (int i = 0; i < int(pages.size()); ++i)
        pageIndex.insert(pages.at(i), i);
    constexpr int NoMatch = int(SearchField::Notes) + 1;
    std::vector<int> best(size_t(pages.size()), NoMatch);
    std::vector<bool> titleMatches(size_t(pages.size()), false);
    for (auto it = m_titles.cbegin(); it != m_titles.cend(); ++it) {
        const int index = pageIndex.value(it.key(), -1);
        if (index >= 0 && it.value().contains(folded)) {
            titleMatches[size_t(index)] = true;
            best[size_t(index)] = int(SearchField::Text);
        }
    }

    struct Ranked {
        const TaskEntry *entry;
        int page;
        SearchField field;
    };
    std::vector<Ranked> ranked;
    ranked.reserve(found.size());
    for (const Candidate &candidate : found) {
        const TaskEntry &entry = m_entries[size_t(candidate.entry)];
        const int index = pageIndex.value(entry.page, -1);
        if (index < 0)
            continue; // a task on no page (or on one being removed) cannot be shown
        ranked.push_back({ &entry, index, candidate.field });
        best[size_t(index)] = std::min(best[size_t(index)], int(candidate.field));
    }
    const int currentIndex = pageIndex.value(current, -1);
    const auto groupKey = [&](int page) { return std::tuple(page != currentIndex, best[size_t(page)], page); };
    const auto before = [&](const Ranked &a, const Ranked &b) {
        return std::tuple(groupKey(a.page), int(a.field), a.entry->order, a.entry->created)
            < std::tuple(groupKey(b.page), int(b.field), b.entry->order, b.entry->created);
    };
    results.taskCount = int(ranked.size());
    const size_t shown = std::min(ranked.size(), size_t(std::max(0, limit)));
    std::partial_sort(ranked.begin(), ranked.begin() + std::ptrdiff_t(shown), ranked.end(), before);
    ranked.resize(shown);
    results.shownTasks = int(shown);

    // One group per page with a listed task or a matching title.
    std::vector<int> groupOf(size_t(pages.size()), -1);
    QList<int> order;
    for (int page = 0; page < int(pages.size()); ++page) {
        if (titleMatches[size_t(page)]) {
            groupOf[size_t(page)] = int(order.size());
            order << page;
        }
    }
    for (const Ranked &hit : ranked) {
        if (groupOf[size_t(hit.page)] < 0) {
            groupOf[size_t(hit.page)] = int(order.size());
            order << hit.page;
        }
    }
    QList<SearchGroup> groups(order.size());
    for (int page : std::as_const(order)) {
        SearchGroup &group = groups[groupOf[size_t(page)]];
        group.page = pages.at(page);
        group.titleMatches = titleMatches[size_t(page)];
    }
    for (const Ranked &hit : ranked)
        groups[groupOf[size_t(hit.page)]].hits.append({ hit.entry->task, hit.field });
    std::sort(order.begin(), order.end(), [&](int a, int b) { return groupKey(a) < groupKey(b); });
    results.groups.reserve(order.size());
    for (int page : std::as_const(order))
        results.groups.append(std::move(groups[groupOf[size_t(page)]]));
    return results;
}

} // namespace quillery
