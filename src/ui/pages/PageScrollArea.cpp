#include "PageScrollArea.h"

#include "TaskListView.h"

#include "ui/theme/FloatingScrollBar.h"

#include <QResizeEvent>
#include <QScrollBar>

namespace quillery::ui {

PageScrollArea::PageScrollArea(TaskListView *list, QWidget *parent)
    : QScrollArea(parent)
    , m_list(list)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    setWidget(list);
    list->setAutoFillBackground(false);
    m_bar = new FloatingScrollBar(Qt::Vertical, this, this);

    connect(list, &TaskListView::contentHeightChanged, this, &PageScrollArea::fitList);
}

void PageScrollArea::setScrollLocked(bool locked)
{
    m_locked = locked;
    m_bar->setEnabled(!locked);
}

void PageScrollArea::scrollToBottom(int bottom)
{
    QScrollBar *bar = verticalScrollBar();
    bar->setValue(std::clamp(bottom - viewport()->height(), bar->minimum(), bar->maximum()));
}

void PageScrollArea::revealBottom(int bottom)
{
    if (bottom > verticalScrollBar()->value() + viewport()->height())
        scrollToBottom(bottom);
}

void PageScrollArea::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    fitList();
}

void PageScrollArea::wheelEvent(QWheelEvent *event)
{
    if (m_locked) {
        event->accept();
        return;
    }
    QScrollArea::wheelEvent(event);
}

bool PageScrollArea::viewportEvent(QEvent *event)
{
    if (m_locked && event->type() == QEvent::Wheel) {
        event->accept();
        return true;
    }
    return QScrollArea::viewportEvent(event);
}

void PageScrollArea::fitList()
{
    const QSize area = viewport()->size();
    m_list->setMinimumContentHeight(area.height());
    const QSize wanted(area.width(), std::max(m_list->contentHeight(), area.height()));
    if (m_list->size() != wanted)
        m_list->resize(wanted);
}

} // namespace quillery::ui
