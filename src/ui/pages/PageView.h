#pragma once

#include "core/app/Services.h"
#include "core/model/RecordPointer.h"
#include "core/pages/PageActions.h"
#include "core/pages/PageSide.h"
#include "core/pages/RowFrames.h"
#include "core/theme/PageInsets.h"

#include <QColor>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

class QVariantAnimation;

namespace quillery {
class Editing;
class Page;
class TaskItem;
} // namespace quillery

namespace quillery::ui {

class AddTaskRow;
class PageColorPicker;
class PageFooter;
class PageHeader;
class PageOptionsMenu;
class PageScrollArea;
class TaskListView;
class TaskRow;

// One page of the book: tinted, grained paper with the page's title, its
// tasks in order, the line for adding tasks, and a footer with the page
// turners, the page number and the page menu; the colour button sits in the
// top trailing corner. The page writes the store directly (title, colour,
// new tasks, done marks), tells the shared Editing state when a task is
// being typed, and asks the book for everything else through PageActions.
//
// The book also tells a page where it sits (side), what to keep clear of
// (insets) and whether it is only a picture (snapshot: plain title, no
// input, no motion). A page or task removed under the view (by the book, by
// the mirror) simply disappears from it.
class PageView final : public QWidget
{
    Q_OBJECT
public:
    static constexpr double IndentStep = 30.0;

    PageView(Page *page, int number, int count, PageActions actions, const Services &services, Editing *editing,
        QWidget *parent = nullptr);
    ~PageView() override;

    // The page shown; null once it was removed.
    Page *page() const;

    int number() const { return m_number; }
    int count() const { return m_count; }
    void setNumbers(int number, int count);
    void setActions(PageActions actions);

    bool isSnapshot() const { return m_snapshot; }
    void setSnapshot(bool snapshot);
    PageSide side() const { return m_side; }
    void setSide(PageSide side);
    PageInsets insets() const { return m_insets; }
    void setInsets(const PageInsets &insets);

    // The swatch column is open.
    bool colorsShown() const;
    void setColorsShown(bool shown);

    // "Tear Out Page": at once for a blank page, after confirmation
    // otherwise.
    void requestTearOut();
    bool isConfirmingTearOut() const { return m_confirm != nullptr; }
    QMessageBox *tearOutConfirmation() const { return m_confirm; }

    // Frames of the visible rows, by task id, in list coordinates.
    const RowFrames &rowFrames() const;
    // Stops the list scrolling (while a row is dragged).
    void setScrollLocked(bool locked);
    // A task row is lifted for moving (the list holds still meanwhile).
    bool isLifted() const;

    // Parts, for the book and for tests.
    PageHeader *header() const { return m_header; }
    TaskListView *list() const { return m_list; }
    PageScrollArea *scrollArea() const { return m_scroll; }
    AddTaskRow *addRow() const;
    PageFooter *footer() const { return m_footer; }
    PageOptionsMenu *optionsMenu() const { return m_menu; }
    PageColorPicker *colorPicker() const { return m_picker; }
    QList<TaskRow *> rows() const;

    // The page's palette colour as currently drawn (mid-change while the
    // colour springs to a new one).
    QColor accentColor() const { return m_accent; }

Q_SIGNALS:
    // The user asked for a task's card.
    void taskOpenRequested(quillery::TaskItem *task);
    void rowFramesChanged();
    // The page was removed from the store; the view now shows an empty sheet.
    void pageRemoved();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void layoutParts();
    void applyTypeface();
    void applyColors(bool animated);
    void setDrawnColors(const QColor &tint, const QColor &accent);
    void pageGone();
    void addRequested(const QString &text, int indent);
    void addFocusChanged(bool focused);
    void showOptionsMenu();
    void runAction(std::function<void()> PageActions::*action);
    void tearOutConfirmed();
    void liftedChanged(bool lifted);
    void keepRowInSight(TaskRow *row);

    RecordPointer<Page> m_page;
    int m_number;
    int m_count;
    PageActions m_actions;
    Services m_services;
    QPointer<Editing> m_editing;

    bool m_snapshot = false;
    PageSide m_side = PageSide::Single;
    PageInsets m_insets;
    int m_colorIndex = 0;
    QColor m_tint;
    QColor m_accent;
    QPointer<QVariantAnimation> m_colorMotion;

    PageHeader *m_header = nullptr;
    TaskListView *m_list = nullptr;
    PageScrollArea *m_scroll = nullptr;
    PageFooter *m_footer = nullptr;
    PageOptionsMenu *m_menu = nullptr;
    QWidget *m_dismissLayer = nullptr;
    PageColorPicker *m_picker = nullptr;
    QPointer<QMessageBox> m_confirm;
};

} // namespace quillery::ui
