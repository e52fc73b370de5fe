#include "PageScrollArea.h"

#include "TaskListView.h"

#include <QResizeEvent>
#include <QScrollBar>

namespace quillery::ui {

namespace {
constexpr int BarWidth = 8;

const char *const BarStyle = R"(
QScrollBar:vertical { background: transparent; width: 8px; margin: 0; }
QScrollBar::handle:vertical { background: rgba(142, 142, 147, 115); border-radius: 2px; min-height: 32px; margin: 2px 2px; }
QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; border: none; background: none; }
QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }
)";
} // namespace

PageScrollArea::PageScrollArea(TaskListView *list, QWidget *parent)
    : QScrollArea(parent)
    , m_list(list)
    , m_bar(new QScrollBar(Qt::Vertical, this))
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    setWidget(list);
    list->setAutoFillBackground(false);

    // The floating bar mirrors the hidden built-in one.
    m_bar->setStyleSheet(QString::fromLatin1(BarStyle));
    m_bar->setCursor(Qt::ArrowCursor);
    QScrollBar *inner = verticalScrollBar();
    connect(inner, &QScrollBar::rangeChanged, this, [this](int min, int max) {
        m_bar->setRange(min, max);
        m_bar->setPageStep(verticalScrollBar()->pageStep());
        m_bar->setVisible(max > min);
    });
    connect(inner, &QScrollBar::valueChanged, m_bar, &QScrollBar::setValue);
    connect(m_bar, &QScrollBar::valueChanged, inner, &QScrollBar::setValue);
    m_bar->hide();

    connect(list, &TaskListView::contentHeightChanged, this, &PageScrollArea::fitList);
}

void PageScrollArea::setScrollLocked(bool locked)
{
    m_locked = locked;
    m_bar->setEnabled(!locked);
}

void PageScrollArea::scrollToBottomOf(const QWidget *child)
{
    if (!child || !m_list->isAncestorOf(child))
        return;
    const int bottom = child->mapTo(m_list, QPoint(0, child->height())).y();
    QScrollBar *bar = verticalScrollBar();
    bar->setValue(std::clamp(bottom - viewport()->height(), bar->minimum(), bar->maximum()));
}

void PageScrollArea::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    fitList();
    placeBar();
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

void PageScrollArea::placeBar()
{
    m_bar->setGeometry(width() - BarWidth, 0, BarWidth, height());
    m_bar->raise();
}

} // namespace quillery::ui
