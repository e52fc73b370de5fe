#pragma once

#include <QScrollArea>

class QScrollBar;

namespace quillery::ui {

class TaskListView;

// The scrolling area of a page's list. The list always spans its full width
// and at least its height; a slim scroll bar floats over the right edge
// instead of taking room from the page, so rows never reflow when it
// appears. Scrolling can be locked (while a row is being dragged).
class PageScrollArea final : public QScrollArea
{
    Q_OBJECT
public:
    explicit PageScrollArea(TaskListView *list, QWidget *parent = nullptr);

    bool isScrollLocked() const { return m_locked; }
    void setScrollLocked(bool locked);

    // Scrolls so that `bottom` (in list coordinates) sits at the bottom of
    // the view, as far as the content allows.
    void scrollToBottom(int bottom);
    // Scrolls just enough for `bottom` to be in view (nothing when it is).
    void revealBottom(int bottom);

    QScrollBar *overlayBar() const { return m_bar; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    void fitList();

    TaskListView *m_list = nullptr;
    QScrollBar *m_bar = nullptr;
    bool m_locked = false;
};

} // namespace quillery::ui
