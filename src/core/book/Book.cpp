#include "Book.h"

#include "TurnDrag.h"
#include "core/alarms/AlarmService.h"
#include "core/app/CommandBus.h"
#include "core/app/Preferences.h"
#include "core/model/Editing.h"
#include "core/model/Store.h"
#include "core/pages/PageTasks.h"
#include "core/tasks/TaskActions.h"
#include "core/util/Uuid.h"

#include "core/book/Easing.h"

namespace quillery {

Book::Book(Store &store, Preferences &preferences, AlarmService &alarms, QObject *parent)
    : Book(store, preferences, alarms, Timing {}, parent)
{ }

Book::Book(Store &store, Preferences &preferences, AlarmService &alarms, Timing timing, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_preferences(preferences)
    , m_alarms(alarms)
    , m_timing(timing)
    , m_editing(new Editing(this))
{
    m_settle.setSingleShot(true);
    connect(&m_settle, &QTimer::timeout, this, &Book::settle);
    m_turnAnimation.setEasingCurve(easeOutCurve());
    connect(&m_turnAnimation, &QVariantAnimation::valueChanged, this,
        [this](const QVariant &value) { setProgress(value.toDouble()); });
    connect(&m_turnAnimation, &QAbstractAnimation::finished, this, [this] {
        // The direction captured when the animation began, even if the drag
        // state moved on meanwhile.
        if (m_animatedCommit) {
            if (!m_jumping)
                applyTurn(m_animatedDir);
            else if (m_jumpTarget && !m_jumpTarget->isDeleted())
                setCurrentID(uuidString(m_jumpTarget->id()));
        }
        resetTurn();
    });

    connect(&m_store, &Store::pagesChanged, this, [this] {
        m_currentIndex.reset();
        Q_EMIT pagesChanged();
        prepareSpread();
    });
    connect(&m_store, &Store::recordInserted, this, [this](Record *record) {
        if (record->kind() == Record::Kind::Task)
            noteBlank(static_cast<TaskItem *>(record));
    });
    connect(&m_store, &Store::recordChanged, this, [this](Record *record, Field field) {
        if (field == Field::Text && record->kind() == Record::Kind::Task)
            noteBlank(static_cast<TaskItem *>(record));
    });
    connect(&m_store, &Store::recordRemoved, this, [this](Record *record) {
        if (record->kind() == Record::Kind::Task)
            m_blank.remove(static_cast<TaskItem *>(record));
    });
    // A book still being read is looked through once it is all there.
    if (m_store.isLoading())
        connect(&m_store, &Store::loaded, this, &Book::noteAllBlank);
    else
        noteAllBlank();
    connect(&m_store, &Store::tasksChanged, this, [this] {
        if (m_started)
            upkeepAlarms();
    });
    connect(&m_preferences, &Preferences::currentPageChanged, this, [this] {
        m_currentIndex.reset();
        Q_EMIT currentChanged();
        prepareSpread();
    });
    connect(m_editing, &Editing::focusedPageChanged, this, &Book::followEditor);
}

Book::~Book() = default;

void Book::setSpreadMode(bool spread)
{
    if (m_spreadMode == spread)
        return;
    m_spreadMode = spread;
    prepareSpread();
    Q_EMIT currentChanged();
}

const QList<Page *> &Book::pages() const
{
    return m_store.pages();
}

QString Book::currentID() const
{
    return m_preferences.currentPage();
}

int Book::currentIndex() const
{
    if (!m_currentIndex)
        m_currentIndex = BookRules::currentIndex(pages(), currentID());
    return *m_currentIndex;
}

Page *Book::pageAt(int index) const
{
    return index >= 0 && index < pageCount() ? pages().at(index) : nullptr;
}

bool Book::canTurn(Dir dir) const
{
    return BookRules::canTurn(dir, pages(), currentID(), m_spreadMode);
}

TurnLayers Book::turnLayers(double width) const
{
    return TurnLayers::compute(m_dir.value_or(Dir::Forward), m_progress, currentIndex(), width);
}

void Book::setShowContents(bool show)
{
    if (m_showContents == show)
        return;
    if (show)
        pruneEmptyTasks();
    m_showContents = show;
    Q_EMIT showContentsChanged();
}

void Book::setCurrentID(const QString &id)
{
    m_preferences.setCurrentPage(id);
}

void Book::start()
{
    if (m_started)
        return;
    m_started = true;
    m_settle.start(m_timing.settleMsecs);
    upkeepAlarms();
    prepareSpread();
}

void Book::settle()
{
    const QList<Page *> &all = pages();
    if (all.isEmpty()) {
        const Store::Housekeeping upkeep(m_store);
        addPage(nullptr);
        return;
    }
    const QString current = currentID();
    const bool known
        = std::any_of(all.begin(), all.end(), [&](Page *page) { return uuidString(page->id()) == current; });
    if (!known)
        setCurrentID(uuidString(all.first()->id()));
}

void Book::turn(Dir dir)
{
    if (m_dir || !canTurn(dir))
        return;
    if (m_spreadMode && dir == Dir::Forward)
        ensurePages(leftIndex() + 3);
    pruneEmptyTasks();
    m_dir = dir;
    setProgress(0);
    Q_EMIT turnChanged();
    QMetaObject::invokeMethod(this, &Book::runAutomaticTurn, Qt::QueuedConnection);
}

void Book::turnTo(Page *page)
{
    const int index = int(pages().indexOf(page));
    if (index < 0)
        return;
    setShowContents(false);
    const int current = currentIndex();
    if (BookRules::visibleIndices(pages(), currentID(), m_spreadMode).contains(index))
        return;
    if (m_dir) {
        m_turnAnimation.stop();
        resetTurn();
    }
    pruneEmptyTasks();
    m_jumping = true;
    m_jumpTarget = page;
    m_dir = index > current ? Dir::Forward : Dir::Backward;
    setProgress(0);
    Q_EMIT turnChanged();
    QMetaObject::invokeMethod(this, &Book::runAutomaticTurn, Qt::QueuedConnection);
}

std::optional<int> Book::jumpPosition() const
{
    if (!m_dir || !m_jumping || !m_jumpTarget)
        return std::nullopt;
    const int index = int(pages().indexOf(m_jumpTarget.data()));
    if (index < 0)
        return std::nullopt;
    return m_spreadMode ? BookRules::leftIndex(index) : index;
}

void Book::runAutomaticTurn()
{
    if (!m_dir)
        return;
    animateTurn(1.0, m_timing.automaticTurnMsecs, true);
}

void Book::applyTurn(Dir dir)
{
    const int current = currentIndex();
    if (!m_spreadMode) {
        if (dir == Dir::Forward) {
            if (pageCount() <= current + 1)
                addPage(pages().isEmpty() ? nullptr : pages().last());
            else
                setCurrentID(uuidString(pages().at(current + 1)->id()));
        } else if (current >= 1) {
            setCurrentID(uuidString(pages().at(current - 1)->id()));
        }
        return;
    }
    const int left = BookRules::leftIndex(current);
    if (dir == Dir::Backward) {
        if (left >= 2)
            setCurrentID(uuidString(pages().at(left - 2)->id()));
        return;
    }
    const QList<Page *> list = ensurePages(left + 3);
    setCurrentID(uuidString(list.at(left + 2)->id()));
}

Page *Book::addPage(Page *after)
{
    auto *page = new Page(after ? after->position() + 1.0 : 1.0, nextColorIndex());
    m_store.insert(page);
    setCurrentID(uuidString(page->id()));
    return page;
}

QList<Page *> Book::ensurePages(int through)
{
    const Store::Housekeeping upkeep(m_store);
    QList<Page *> list = pages();
    double position = list.isEmpty() ? 0.0 : list.last()->position();
    int color = list.isEmpty() ? -1 : list.last()->colorIndex();
    while (list.size() <= through) {
        position += 1.0;
        color = ((color + 1) % BookRules::PaletteSize + BookRules::PaletteSize) % BookRules::PaletteSize;
        auto *page = new Page(position, color);
        m_store.insert(page);
        list.append(page);
    }
    return list;
}

void Book::pruneEmptyTasks()
{
    const Store::Housekeeping upkeep(m_store);
    const TaskActions actions(&m_alarms);
    const QList<TaskItem *> blank = m_blank.values();
    for (TaskItem *task : blank) {
        // A task whose card is open is still being written; the card removes
        // it itself if it is closed blank.
        if (task != m_editing->openTask())
            actions.discardIfBlank(task);
    }
    m_store.save(); // a failure stays unsaved and is retried by the store
}

void Book::tearOut(int index)
{
    if (index < 0 || index >= pageCount())
        return;
    Page *page = pages().at(index);
    Page *successor = pageAt(index + 1);
    if (!successor)
        successor = pageAt(index - 1);
    for (TaskItem *task : page->sortedTasks())
        m_alarms.cancel(task);
    m_store.remove(page);
    if (successor)
        setCurrentID(uuidString(successor->id()));
    else
        addPage(nullptr);
}

void Book::selectPage(int index)
{
    if (Page *page = pageAt(index))
        setCurrentID(uuidString(page->id()));
    setShowContents(false);
}

void Book::addPageFromContents()
{
    addPage(pages().isEmpty() ? nullptr : pages().last());
    setShowContents(false);
}

void Book::followEditor()
{
    Page *focused = m_editing->focusedPage();
    if (!focused)
        return;
    const int index = int(pages().indexOf(focused));
    if (index < 0)
        return;
    if (!BookRules::visibleIndices(pages(), currentID(), m_spreadMode).contains(index))
        setCurrentID(uuidString(focused->id()));
}

void Book::prepareSpread()
{
    // One page at a time needs nothing prepared, nor the next page's tasks.
    if (!m_spreadMode) {
        m_spreadKey.clear();
        return;
    }
    const QString key = BookRules::spreadKey(pages(), currentID(), m_spreadMode);
    if (key == m_spreadKey)
        return;
    m_spreadKey = key;
    if (pages().isEmpty())
        return;
    const int left = leftIndex();
    ensurePages(left + 1);
    Page *right = pageAt(left + 1);
    if (right && !isBlank(*right))
        ensurePages(left + 3);
}

void Book::noteBlank(TaskItem *task)
{
    if (!task->isDeleted() && TaskActions::isBlankTitle(task->text()))
        m_blank.insert(task);
    else
        m_blank.remove(task);
}

void Book::noteAllBlank()
{
    for (TaskItem *task : m_store.tasks())
        noteBlank(task);
}

void Book::upkeepAlarms()
{
    // The alarms of a book still being read are brought in step once it is
    // all there (Store::loaded announces a change in the number of tasks).
    if (m_store.isLoading())
        return;
    const qsizetype count = m_store.tasks().size();
    if (count == m_alarmKey)
        return;
    m_alarmKey = count;
    m_alarms.rescheduleAll(m_store.tasks());
}

void Book::setActive(bool active)
{
    if (active) {
        if (!m_store.isLoading())
            m_alarms.rescheduleAll(m_store.tasks());
        m_alarms.refreshStatus();
    } else {
        pruneEmptyTasks();
    }
}

void Book::setProgress(double progress)
{
    if (m_progress == progress)
        return;
    m_progress = progress;
    Q_EMIT turnChanged();
}

void Book::dragChanged(double tx, double ty, double faceWidth)
{
    if (m_editing->lifted())
        return;
    if (m_dragMode == DragMode::Undecided) {
        const TurnDrag::Step step
            = TurnDrag::change(m_dragMode, tx, ty, false, m_dir.has_value(), [this](Dir dir) { return canTurn(dir); });
        if (step.mode != m_dragMode) {
            m_dragMode = step.mode;
            Q_EMIT dragModeChanged();
        }
        if (step.start) {
            pruneEmptyTasks();
            if (m_spreadMode && tx < 0)
                ensurePages(leftIndex() + 3);
            m_dir = step.start;
            Q_EMIT turnChanged();
        }
    }
    if (m_dragMode == DragMode::Flipping && m_dir)
        setProgress(TurnDrag::progress(*m_dir, tx, span(faceWidth)));
}

void Book::dragEnded(double predictedEndTx, double faceWidth)
{
    if (m_dragMode == DragMode::Flipping && m_dir)
        finishTurn(TurnDrag::commits(*m_dir, m_progress, predictedEndTx, span(faceWidth)), m_timing.finishTurnMsecs);
    if (m_dragMode != DragMode::Undecided) {
        m_dragMode = DragMode::Undecided;
        Q_EMIT dragModeChanged();
    }
}

void Book::finishTurn(bool commit, int durationMsecs)
{
    if (!m_dir)
        return;
    animateTurn(commit ? 1.0 : 0.0, durationMsecs, commit);
}

void Book::animateTurn(double to, int durationMsecs, bool commit)
{
    m_turnAnimation.stop();
    m_animatedDir = *m_dir;
    m_animatedCommit = commit;
    m_turnAnimation.setStartValue(m_progress);
    m_turnAnimation.setEndValue(to);
    m_turnAnimation.setDuration(std::max(0, durationMsecs));
    m_turnAnimation.start();
}

void Book::resetTurn()
{
    m_jumping = false;
    m_jumpTarget.clear();
    if (!m_dir && m_progress == 0)
        return;
    m_dir.reset();
    m_progress = 0;
    Q_EMIT turnChanged();
}

bool Book::handleKey(Key key)
{
    switch (key) {
    case Key::Left:
        turn(Dir::Backward);
        return true;
    case Key::Right:
        turn(Dir::Forward);
        return true;
    case Key::Escape:
        if (!m_showContents)
            return false;
        setShowContents(false);
        return true;
    }
    return false;
}

void Book::handleCommand(const QString &name)
{
    if (name == CommandBus::Next)
        turn(Dir::Forward);
    else if (name == CommandBus::Previous)
        turn(Dir::Backward);
    else if (name == CommandBus::Contents)
        setShowContents(!m_showContents);
}

} // namespace quillery
