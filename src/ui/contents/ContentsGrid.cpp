#include "ContentsGrid.h"

#include "ContentsAccessible.h"
#include "core/app/Preferences.h"
#include "core/app/Services.h"
#include "core/book/Book.h"
#include "core/model/Field.h"
#include "core/model/Page.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/PageShape.h"
#include "gui/theme/PaletteColor.h"
#include "gui/theme/ThemeColors.h"
#include "ui/theme/SoftShadow.h"
#include "ui/theme/Symbols.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <cmath>

namespace quillery::ui {

namespace {

constexpr double ShadowRadius = 8;
const QPointF ShadowOffset(0, 4);
constexpr double OutlineWidth = 3;
constexpr double DashWidth = 1.5;
constexpr int PlusSize = 26;
constexpr double PressedOpacity = 0.6;
constexpr int ScrollStep = 48;

// Cells start on whole pixels: a thumbnail picture copied to a fractional
// position would come out blurred.
QRectF snapped(const QRectF &rect)
{
    return QRectF(QPointF(std::round(rect.x()), std::round(rect.y())), rect.size());
}

} // namespace

ContentsGrid::ContentsGrid(Book &book, const Services &services, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_book(book)
    , m_appearance(*services.appearance)
    , m_store(services.store)
    , m_preferences(services.preferences)
{
    installContentsAccessibility();
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Pages"));
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    verticalScrollBar()->setSingleStep(ScrollStep);
    m_cursor = std::clamp(m_book.currentIndex(), 0, newPageCell());

    connect(&m_book, &Book::pagesChanged, this, &ContentsGrid::pagesChanged);
    connect(&m_book, &Book::currentChanged, viewport(), qOverload<>(&QWidget::update));
    connect(&m_appearance, &Appearance::schemeChanged, viewport(), qOverload<>(&QWidget::update));
    if (m_store) {
        connect(m_store, &Store::recordChanged, this, &ContentsGrid::recordChanged);
        const auto taskCameOrWent = [this](Record *record) {
            if (auto *task = recordCast<TaskItem>(record))
                dropPicture(task->page());
        };
        connect(m_store, &Store::recordInserted, this, taskCameOrWent);
        connect(m_store, &Store::recordRemoved, this, taskCameOrWent);
    }
    if (m_preferences) {
        connect(m_preferences, &Preferences::hideCompletedChanged, viewport(), qOverload<>(&QWidget::update));
        connect(m_preferences, &Preferences::typefaceChanged, viewport(), qOverload<>(&QWidget::update));
    }
    updateScrollBars();
}

ContentsGrid::~ContentsGrid()
{
    dropAccessibleCells();
}

ContentsLayout ContentsGrid::cellLayout() const
{
    return ContentsLayout(viewport()->width(), cellCount());
}

int ContentsGrid::pageCount() const
{
    return m_book.pageCount();
}

int ContentsGrid::currentPageCell() const
{
    return pageCount() > 0 ? m_book.currentIndex() : -1;
}

void ContentsGrid::setCursorCell(int index)
{
    index = std::clamp(index, 0, newPageCell());
    if (index == m_cursor)
        return;
    const int old = m_cursor;
    m_cursor = index;
    updateCell(old);
    updateCell(index);
    scrollToCell(index);
    announceCursor();
    Q_EMIT cursorMoved(index);
}

QRect ContentsGrid::cellRectInViewport(int index) const
{
    const QRectF rect = cellLayout().cellRect(index);
    if (rect.isNull())
        return {};
    return snapped(rect.translated(-horizontalScrollBar()->value(), -verticalScrollBar()->value())).toRect();
}

int ContentsGrid::cellAtViewport(const QPoint &point) const
{
    return cellLayout().cellAt(QPointF(point) + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value()));
}

void ContentsGrid::scrollToCell(int index)
{
    const int height = viewport()->height();
    if (height <= 0)
        return;
    const double top = cellLayout().scrolledToShow(index, verticalScrollBar()->value(), height);
    verticalScrollBar()->setValue(static_cast<int>(std::lround(top)));
}

void ContentsGrid::revealCurrentPage()
{
    m_keyboardUsed = false;
    m_cursor = std::clamp(currentPageCell(), 0, newPageCell());
    m_revealPending = viewport()->height() <= 0;
    if (!m_revealPending)
        scrollToCell(m_cursor);
    viewport()->update();
}

void ContentsGrid::activate(int index)
{
    if (index == newPageCell())
        m_book.addPageFromContents();
    else if (index >= 0 && index < pageCount())
        m_book.selectPage(index);
}

void ContentsGrid::activateLater(int index)
{
    // After the event that asked for it: the book closes the contents at
    // once, and whoever shows them may delete this grid in response.
    QMetaObject::invokeMethod(
        this, [this, index] { activate(index); }, Qt::QueuedConnection);
}

QString ContentsGrid::cellName(int index) const
{
    if (index == newPageCell())
        return tr("New page");
    const Page *page = m_book.pageAt(index);
    if (!page)
        return {};
    const QString title = page->title().isEmpty() ? PageThumb::tr("Untitled") : page->title();
    return tr("Page %1, %2").arg(index + 1).arg(title);
}

QString ContentsGrid::cellDescription(int index) const
{
    const Page *page = m_book.pageAt(index);
    if (!page)
        return {};
    int open = 0;
    const QList<TaskItem *> tasks = page->sortedTasks();
    for (const TaskItem *task : tasks)
        open += task->done() ? 0 : 1;
    QString text = tr("%n tasks", nullptr, int(tasks.size()));
    //: Joins the parts of a page's description: "3 tasks, 2 open".
    const QString join = tr("%1, %2");
    if (!tasks.isEmpty())
        text = join.arg(text, tr("%n open", nullptr, open));
    if (index == currentPageCell())
        text = join.arg(text, tr("current page"));
    return text;
}

QAccessibleInterface *ContentsGrid::cellAccessible(int index)
{
    if (index < 0 || index >= cellCount())
        return nullptr;
    if (const auto found = m_accessibleCells.constFind(index); found != m_accessibleCells.constEnd())
        return QAccessible::accessibleInterface(*found);
    auto *cell = new ContentsCellAccessible(this, index);
    m_accessibleCells.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

void ContentsGrid::dropAccessibleCells()
{
    for (const QAccessible::Id id : std::as_const(m_accessibleCells))
        QAccessible::deleteAccessibleInterface(id);
    m_accessibleCells.clear();
}

void ContentsGrid::announceCursor()
{
    if (!QAccessible::isActive() || !hasFocus())
        return;
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(m_cursor);
    QAccessible::updateAccessibility(&event);
}

void ContentsGrid::pagesChanged()
{
    // Numbers move when pages come or go: draw every picture afresh.
    m_cache.clear();
    m_cursor = std::clamp(m_cursor, 0, newPageCell());
    m_pressed = -1;
    dropAccessibleCells();
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&event);
    }
    updateScrollBars();
    viewport()->update();
}

void ContentsGrid::recordChanged(Record *record, Field field)
{
    if (auto *page = recordCast<Page>(record)) {
        dropPicture(page);
    } else if (auto *task = recordCast<TaskItem>(record)) {
        // A task moved between pages: the page it left is not known here.
        if (field == Field::PageLink) {
            m_cache.clear();
            viewport()->update();
        } else {
            dropPicture(task->page());
        }
    }
}

void ContentsGrid::dropPicture(Page *page)
{
    if (!page)
        return;
    m_cache.drop(page);
    const int index = int(m_book.pages().indexOf(page));
    if (index >= 0)
        updateCell(index);
}

void ContentsGrid::updateScrollBars()
{
    const ContentsLayout layout = cellLayout();
    const int height = viewport()->height();
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, std::max(0, static_cast<int>(std::ceil(layout.height())) - height));
    bar->setPageStep(std::max(1, height));
}

void ContentsGrid::updateCell(int index)
{
    const QRect rect = cellRectInViewport(index);
    if (rect.isNull())
        return;
    // Room for the shadow and the keyboard ring around the cell.
    const int reach = static_cast<int>(std::ceil(SoftShadow::reach(ShadowRadius) + ShadowOffset.y()));
    viewport()->update(rect.adjusted(-reach, -reach, reach, reach));
}

void ContentsGrid::setPressed(int index)
{
    if (m_pressed == index)
        return;
    const int old = m_pressed;
    m_pressed = index;
    updateCell(old);
    updateCell(index);
}

void ContentsGrid::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const ColorScheme scheme = m_appearance.scheme();
    painter.fillRect(event->rect(), themeColor(ThemeColor::Desk, scheme));
    painter.setRenderHint(QPainter::Antialiasing);

    const ContentsLayout layout = cellLayout();
    const double top = verticalScrollBar()->value();
    const double left = horizontalScrollBar()->value();
    // Shadows reach past a cell: take in the rows whose shadow shows too.
    const double reach = SoftShadow::reach(ShadowRadius) + ShadowOffset.y();
    const QRectF dirty = QRectF(event->rect()).adjusted(0, -reach, 0, reach);
    const ContentsLayout::Range range = layout.visibleCells(top + dirty.top(), dirty.height());
    m_lastPainted = range;
    for (int index = range.first; index < range.last; ++index) {
        const QRectF rect = snapped(layout.cellRect(index).translated(-left, -top));
        if (rect.adjusted(-reach, -reach, reach, reach).intersects(event->rect()))
            paintCell(painter, index, rect);
    }
}

void ContentsGrid::paintCell(QPainter &painter, int index, const QRectF &rect)
{
    const ColorScheme scheme = m_appearance.scheme();
    const QColor muted = themeColor(ThemeColor::MutedInk, scheme);
    painter.save();
    if (index == m_pressed && m_pressInside)
        painter.setOpacity(PressedOpacity);

    if (index == newPageCell()) {
        QPen dash(muted, DashWidth);
        // Dash lengths are given in pen widths.
        dash.setDashPattern({ 6 / DashWidth, 5 / DashWidth });
        painter.setPen(dash);
        painter.setBrush(Qt::NoBrush);
        const double inset = DashWidth / 2;
        painter.drawPath(roundedPageShape(rect.adjusted(inset, inset, -inset, -inset)));
        const QPixmap plus = Symbols::pixmap(QStringLiteral("plus"), PlusSize, muted, devicePixelRatioF());
        painter.drawPixmap(QPointF(rect.center().x() - PlusSize / 2.0, rect.center().y() - PlusSize / 2.0), plus);
    } else if (const Page *page = m_book.pageAt(index)) {
        SoftShadow::paint(painter, roundedPageShape(rect), QColor(0, 0, 0, 36), ShadowRadius, ShadowOffset);
        const PageThumb::Look look { scheme, m_preferences ? m_preferences->typeface() : Preferences::Sans };
        const bool hideCompleted = m_preferences && m_preferences->hideCompleted();
        painter.drawPixmap(rect.topLeft(), m_cache.picture(*page, index + 1, hideCompleted, look, devicePixelRatioF()));
        if (index == currentPageCell()) {
            const double inset = OutlineWidth / 2;
            painter.setPen(QPen(paletteColor(page->colorIndex()), OutlineWidth));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(roundedPageShape(rect.adjusted(inset, inset, -inset, -inset)));
        }
    }

    if (index == m_cursor && m_keyboardUsed && hasFocus()) {
        QColor ring = QApplication::palette().color(QPalette::Highlight);
        painter.setOpacity(1);
        painter.setPen(QPen(ring, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(rect.adjusted(-4, -4, 4, 4), RoundedPageRadius + 4, RoundedPageRadius + 4);
    }
    painter.restore();
}

void ContentsGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    if (m_revealPending && viewport()->height() > 0) {
        m_revealPending = false;
        scrollToCell(m_cursor);
    }
}

void ContentsGrid::scrollContentsBy(int dx, int dy)
{
    m_pressed = -1;
    if (dx == 0 && std::abs(dy) < viewport()->height())
        viewport()->scroll(0, dy);
    else
        viewport()->update();
}

void ContentsGrid::keyPressEvent(QKeyEvent *event)
{
    using Move = ContentsLayout::Move;
    const ContentsLayout layout = cellLayout();
    const int pageRows = std::max(
        1, static_cast<int>(viewport()->height() / (ContentsLayout::CellHeight + ContentsLayout::RowSpacing)));
    std::optional<Move> move;
    switch (event->key()) {
    case Qt::Key_Left:
        move = layoutDirection() == Qt::RightToLeft ? Move::Right : Move::Left;
        break;
    case Qt::Key_Right:
        move = layoutDirection() == Qt::RightToLeft ? Move::Left : Move::Right;
        break;
    case Qt::Key_Up:
        move = Move::Up;
        break;
    case Qt::Key_Down:
        move = Move::Down;
        break;
    case Qt::Key_Home:
        move = Move::First;
        break;
    case Qt::Key_End:
        move = Move::Last;
        break;
    case Qt::Key_PageUp:
        move = Move::PageUp;
        break;
    case Qt::Key_PageDown:
        move = Move::PageDown;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        activateLater(m_cursor);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
    m_keyboardUsed = true;
    const int target = layout.moved(m_cursor, *move, pageRows);
    if (target == m_cursor)
        updateCell(m_cursor);
    setCursorCell(target);
}

void ContentsGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const int index = cellAtViewport(event->position().toPoint());
    m_pressInside = index >= 0;
    setPressed(index);
    event->accept();
}

void ContentsGrid::mouseMoveEvent(QMouseEvent *event)
{
    const int under = cellAtViewport(event->position().toPoint());
    viewport()->setCursor(under >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    if (m_pressed >= 0 && (event->buttons() & Qt::LeftButton)) {
        const bool inside = under == m_pressed;
        if (inside != m_pressInside) {
            m_pressInside = inside;
            updateCell(m_pressed);
        }
    }
    QAbstractScrollArea::mouseMoveEvent(event);
}

void ContentsGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    const int pressed = m_pressed;
    const bool inside = m_pressInside && cellAtViewport(event->position().toPoint()) == pressed;
    setPressed(-1);
    m_pressInside = false;
    event->accept();
    if (pressed >= 0 && inside) {
        m_cursor = pressed;
        activateLater(pressed);
    }
}

void ContentsGrid::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    updateCell(m_cursor);
    announceCursor();
}

void ContentsGrid::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    updateCell(m_cursor);
}

bool ContentsGrid::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Leave)
        viewport()->unsetCursor();
    return QAbstractScrollArea::viewportEvent(event);
}

} // namespace quillery::ui
