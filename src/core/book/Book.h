#pragma once

#include "BookRules.h"
#include "TurnLayers.h"
#include "core/model/RecordPointer.h"

#include <QObject>
#include <QSet>
#include <QTimer>
#include <QVariantAnimation>

#include <optional>

namespace quillery {

class AlarmService;
class Editing;
class Page;
class Preferences;
class Record;
class Store;
class TaskItem;

// The book's navigation state and everything that changes it: which page is
// current (remembered in the preferences as its id text), the running page
// turn and its progress, the drag that drives a turn, the contents overlay,
// creating pages past a used last page, tearing pages out, clearing out
// empty tasks, and keeping the alarms in step with the store. The book view
// draws this state and forwards input here; nothing here knows about widgets.
class Book final : public QObject
{
    Q_OBJECT
public:
    struct Timing {
        int settleMsecs = 1200; // wait for mirrored pages before deciding the book is empty
        int automaticTurnMsecs = 320;
        int finishTurnMsecs = 280;
    };

    Book(Store &store, Preferences &preferences, AlarmService &alarms, Timing timing, QObject *parent = nullptr);
    Book(Store &store, Preferences &preferences, AlarmService &alarms, QObject *parent = nullptr);
    ~Book() override;

    Editing &editing() const { return *m_editing; }

    // Two facing pages; never on this desktop, but every rule honours it.
    bool spreadMode() const { return m_spreadMode; }
    void setSpreadMode(bool spread);

    const QList<Page *> &pages() const;
    int pageCount() const { return int(pages().size()); }
    QString currentID() const;
    int currentIndex() const;
    int leftIndex() const { return BookRules::leftIndex(currentIndex()); }
    Page *pageAt(int index) const;
    Page *currentPage() const { return pageAt(currentIndex()); }
    int nextColorIndex() const { return BookRules::nextColorIndex(pages()); }
    bool canTurn(Dir dir) const;

    std::optional<Dir> dir() const { return m_dir; }
    double progress() const { return m_progress; }
    DragMode dragMode() const { return m_dragMode; }
    // The pages of the running turn as they are drawn on a face `width` wide.
    TurnLayers turnLayers(double width) const;
    // The distance a drag travels for a whole turn.
    double span(double faceWidth) const { return m_spreadMode ? 2 * faceWidth : faceWidth; }

    bool showContents() const { return m_showContents; }
    void setShowContents(bool show);

    // The book view appeared: settle the start-up page and bring the alarms
    // in step.
    void start();

    void turn(Dir dir);
    // Turns to `page` with the same turn as to a neighbour, the pages in
    // between skipped; a turn already running is cut short first. Nothing
    // when the page is already shown or not in the book.
    void turnTo(Page *page);
    // The book position (page index, or a spread's left index) the running
    // turn ends on when it was started by turnTo.
    std::optional<int> jumpPosition() const;
    void applyTurn(Dir dir);
    Page *addPage(Page *after);
    QList<Page *> ensurePages(int through);
    void pruneEmptyTasks();
    void tearOut(int index);
    void selectPage(int index);
    // The contents overlay's "New page".
    void addPageFromContents();

    void dragChanged(double tx, double ty, double faceWidth);
    void dragEnded(double predictedEndTx, double faceWidth);
    void finishTurn(bool commit, int durationMsecs);
    void resetTurn();

    // The window became active (true) or stopped being active (false).
    void setActive(bool active);

    enum class Key { Left, Right, Escape };
    // Returns whether the key was handled (arrows always are; Escape only
    // while the contents are shown).
    bool handleKey(Key key);
    // A command posted on the CommandBus.
    void handleCommand(const QString &name);

Q_SIGNALS:
    void currentChanged();
    void pagesChanged();
    void turnChanged();
    void dragModeChanged();
    void showContentsChanged();

private:
    void setCurrentID(const QString &id);
    void settle();
    void followEditor();
    void prepareSpread();
    void upkeepAlarms();
    void setProgress(double progress);
    void runAutomaticTurn();
    void animateTurn(double to, int durationMsecs, bool commit);
    void noteBlank(TaskItem *task);
    void noteAllBlank();

    Store &m_store;
    Preferences &m_preferences;
    AlarmService &m_alarms;
    Timing m_timing;
    Editing *m_editing;
    bool m_spreadMode = false;
    std::optional<Dir> m_dir;
    double m_progress = 0;
    DragMode m_dragMode = DragMode::Undecided;
    bool m_showContents = false;
    bool m_started = false;
    qsizetype m_alarmKey = -1;
    QString m_spreadKey;
    QTimer m_settle;
    QVariantAnimation m_turnAnimation;
    Dir m_animatedDir = Dir::Forward;
    bool m_jumping = false; // the running turn was started by turnTo
    RecordPointer<Page> m_jumpTarget;
    bool m_animatedCommit = false;
    // The tasks without a title, kept up to date on every edit so that a
    // page turn clears them away without looking at the whole book.
    QSet<TaskItem *> m_blank;
    // The current page's index, until the pages or the current page change.
    mutable std::optional<int> m_currentIndex;
};

} // namespace quillery
