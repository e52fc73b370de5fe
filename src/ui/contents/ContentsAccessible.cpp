#include "ContentsAccessible.h"

#include "ContentsGrid.h"
#include "core/book/Book.h"

#include <QWidget>
#include <QWindow>

namespace quillery::ui {

namespace {

QAccessibleInterface *contentsFactory(const QString &, QObject *object)
{
    if (auto *grid = qobject_cast<ContentsGrid *>(object))
        return new ContentsGridAccessible(grid);
    return nullptr;
}

} // namespace

void installContentsAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(contentsFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

ContentsGridAccessible::ContentsGridAccessible(ContentsGrid *grid)
    : QAccessibleWidget(grid, QAccessible::List)
{ }

ContentsGrid *ContentsGridAccessible::grid() const
{
    return static_cast<ContentsGrid *>(widget());
}

int ContentsGridAccessible::childCount() const
{
    return grid()->cellCount();
}

QAccessibleInterface *ContentsGridAccessible::child(int index) const
{
    return grid()->cellAccessible(index);
}

int ContentsGridAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (const auto *cell = dynamic_cast<const ContentsCellAccessible *>(child); cell && cell->parent() == this)
        return cell->index();
    return -1;
}

QAccessibleInterface *ContentsGridAccessible::childAt(int x, int y) const
{
    ContentsGrid *g = grid();
    const QPoint local = g->viewport()->mapFromGlobal(QPoint(x, y));
    if (!g->viewport()->rect().contains(local))
        return nullptr;
    return g->cellAccessible(g->cellAtViewport(local));
}

QAccessibleInterface *ContentsGridAccessible::focusChild() const
{
    return grid()->hasFocus() ? grid()->cellAccessible(grid()->cursorCell()) : nullptr;
}

ContentsCellAccessible::ContentsCellAccessible(ContentsGrid *grid, int index)
    : m_grid(grid)
    , m_index(index)
{ }

bool ContentsCellAccessible::isValid() const
{
    return m_grid && m_index < m_grid->cellCount();
}

QWindow *ContentsCellAccessible::window() const
{
    return m_grid ? m_grid->window()->windowHandle() : nullptr;
}

QAccessibleInterface *ContentsCellAccessible::parent() const
{
    return m_grid ? QAccessible::queryAccessibleInterface(m_grid.data()) : nullptr;
}

QString ContentsCellAccessible::text(QAccessible::Text type) const
{
    if (!isValid())
        return {};
    switch (type) {
    case QAccessible::Name:
        return m_grid->cellName(m_index);
    case QAccessible::Description:
        return m_grid->cellDescription(m_index);
    default:
        return {};
    }
}

QRect ContentsCellAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect local = m_grid->cellRectInViewport(m_index);
    return QRect(m_grid->viewport()->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State ContentsCellAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.focusable = true;
    state.focused = m_grid->hasFocus() && m_grid->cursorCell() == m_index;
    state.selectable = m_index < m_grid->pageCount();
    state.selected = m_grid->currentPageCell() == m_index;
    const QRect onScreen = m_grid->cellRectInViewport(m_index);
    state.offscreen = !m_grid->isVisible() || !m_grid->viewport()->rect().intersects(onScreen);
    state.invisible = !m_grid->isVisible();
    return state;
}

void *ContentsCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface *>(this);
    return nullptr;
}

QStringList ContentsCellAccessible::actionNames() const
{
    return { pressAction(), setFocusAction() };
}

void ContentsCellAccessible::doAction(const QString &actionName)
{
    if (!isValid())
        return;
    if (actionName == pressAction()) {
        m_grid->activateLater(m_index);
    } else if (actionName == setFocusAction()) {
        m_grid->setFocus(Qt::OtherFocusReason);
        m_grid->setCursorCell(m_index);
    }
}

} // namespace quillery::ui
