#include "PageStage.h"

#include "core/book/Book.h"
#include "core/model/Page.h"
#include "core/model/RecordPointer.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"
#include "ui/pages/BlankPageView.h"
#include "ui/pages/PageFooter.h"
#include "ui/pages/PageHeader.h"
#include "ui/pages/PageScrollArea.h"
#include "ui/pages/PageView.h"
#include "ui/pages/TaskListView.h"

#include <QPainter>
#include <QPointer>

namespace quillery::ui {

namespace {

// The palette colour the page at `index` past the end will get.
int colorPast(const Book &book, int index)
{
    const int ahead = index - book.pageCount();
    return (book.nextColorIndex() + ahead) % BookRules::PaletteSize;
}

PageActions actionsFor(Book &book, Page *page)
{
    RecordPointer<Page> target(page);
    PageActions actions;
    actions.prev = [&book] { book.turn(Dir::Backward); };
    actions.next = [&book] { book.turn(Dir::Forward); };
    // The page's index when the user confirms, not when the view was made.
    actions.tearOut = [&book, target] {
        if (target)
            book.tearOut(int(book.pages().indexOf(target.data())));
    };
    actions.contents = [&book] { book.setShowContents(true); };
    actions.riffleChanged = [](double) {};
    actions.riffleEnded = [] {};
    return actions;
}

} // namespace

PageStage::PageStage(Book &book, const Services &services, QWidget *parent)
    : QWidget(parent)
    , m_book(book)
    , m_services(services)
{
    setObjectName(QStringLiteral("pageStage"));
}

PageStage::~PageStage() = default;

int PageStage::position() const
{
    return m_book.spreadMode() ? m_book.leftIndex() : m_book.currentIndex();
}

int PageStage::step() const
{
    return m_book.spreadMode() ? 2 : 1;
}

QList<int> PageStage::indicesAt(int position) const
{
    if (position < 0)
        return {};
    if (m_book.spreadMode())
        return { position, position + 1 };
    return { position };
}

QList<QWidget *> PageStage::faces() const
{
    QList<QWidget *> shown;
    for (QWidget *face : m_live) {
        if (face)
            shown << face;
    }
    return shown;
}

PageView *PageStage::currentView() const
{
    const int current = m_book.currentIndex();
    for (QWidget *face : m_live) {
        if (auto *view = qobject_cast<PageView *>(face); view && view->page() == m_book.pageAt(current))
            return view;
    }
    return nullptr;
}

bool PageStage::isPaper(const QWidget *widget) const
{
    if (widget == this)
        return true;
    for (QWidget *face : m_live) {
        if (!face)
            continue;
        if (widget == face)
            return true;
        if (auto *view = qobject_cast<PageView *>(face)) {
            if (widget == view->scrollArea() || widget == view->scrollArea()->viewport() || widget == view->list()
                || widget == view->header() || widget == view->footer())
                return true;
        }
    }
    return false;
}

void PageStage::sync()
{
    if (m_book.pageCount() == 0) {
        // An empty book shows an empty face until its first page is made.
        for (QWidget *face : std::as_const(m_live))
            discard(face);
        for (QWidget *face : std::as_const(m_spare))
            discard(face);
        m_live.clear();
        m_spare.clear();
        return;
    }
    QList<QWidget *> pool = m_live + m_spare;
    pool.removeAll(nullptr);
    QList<QWidget *> live;
    const QList<int> indices = indicesAt(position());
    for (int slot = 0; slot < indices.size(); ++slot) {
        QWidget *face = faceFor(indices.at(slot), pool);
        if (face)
            configure(face, indices.at(slot), slot, m_turning);
        live << face;
    }
    // The neighbours stay ready, hidden: turning back to the page just
    // left draws it without making it again.
    QList<QWidget *> spare;
    for (QWidget *face : std::as_const(pool)) {
        if (isNeighbour(face)) {
            face->hide();
            spare << face;
        } else {
            discard(face);
        }
    }
    m_live = live;
    m_spare = spare;
    placeFaces(m_live);
    for (QWidget *face : std::as_const(m_live)) {
        if (face) {
            face->show();
            face->raise();
        }
    }
}

QWidget *PageStage::faceFor(int index, QList<QWidget *> &pool)
{
    if (index < 0)
        return nullptr;
    Page *page = m_book.pageAt(index);
    for (int i = 0; i < pool.size(); ++i) {
        QWidget *face = pool.at(i);
        const auto *view = qobject_cast<PageView *>(face);
        const bool matches = page ? view && view->page() == page : !view;
        if (matches)
            return pool.takeAt(i);
    }
    return build(index);
}

QWidget *PageStage::build(int index)
{
    Page *page = m_book.pageAt(index);
    if (!page)
        return new BlankPageView(index + 1, colorPast(m_book, index), *m_services.appearance, this);
    auto *view = new PageView(
        page, index + 1, m_book.pageCount(), actionsFor(m_book, page), m_services, &m_book.editing(), this);
    connect(view, &PageView::taskOpenRequested, this, &PageStage::taskOpenRequested);
    return view;
}

void PageStage::configure(QWidget *face, int index, int slot, bool snapshot)
{
    PageSide side = PageSide::Window;
    if (m_book.spreadMode())
        side = slot == 0 ? PageSide::Left : PageSide::Right;
    if (auto *view = qobject_cast<PageView *>(face)) {
        view->setNumbers(index + 1, m_book.pageCount());
        view->setSide(side);
        view->setInsets(m_insets);
        view->setSnapshot(snapshot);
    } else if (auto *blank = qobject_cast<BlankPageView *>(face)) {
        blank->setNumber(index + 1);
        blank->setColorIndex(colorPast(m_book, index));
        blank->setSide(side);
        blank->setInsets(m_insets);
    }
}

void PageStage::placeFaces(const QList<QWidget *> &faces)
{
    const int count = int(faces.size());
    for (int slot = 0; slot < count; ++slot) {
        if (QWidget *face = faces.at(slot)) {
            const int left = width() * slot / count;
            const int right = width() * (slot + 1) / count;
            face->setGeometry(left, 0, right - left, height());
        }
    }
}

bool PageStage::isNeighbour(const QWidget *face) const
{
    const auto *view = qobject_cast<const PageView *>(face);
    const int index = view ? int(m_book.pages().indexOf(view->page())) : m_book.pageCount();
    if (view && index < 0)
        return false;
    const int position = this->position();
    const int step = this->step();
    return index >= position - step && index < position + 2 * step && !indicesAt(position).contains(index);
}

void PageStage::discard(QWidget *face)
{
    if (!face)
        return;
    face->hide();
    face->deleteLater();
}

void PageStage::setTurning(bool turning)
{
    if (m_turning == turning)
        return;
    m_turning = turning;
    for (QWidget *face : std::as_const(m_live)) {
        if (auto *view = qobject_cast<PageView *>(face))
            view->setSnapshot(turning);
    }
}

QPixmap PageStage::picture(int position, qreal ratio, QPixmap reuse)
{
    if (position < 0 || size().isEmpty())
        return {};
    QList<QWidget *> faces;
    if (position == this->position()) {
        faces = m_live;
    } else {
        QList<QWidget *> pool = m_spare;
        QList<QWidget *> spare;
        const QList<int> indices = indicesAt(position);
        for (int slot = 0; slot < indices.size(); ++slot) {
            QWidget *face = faceFor(indices.at(slot), pool);
            if (face) {
                configure(face, indices.at(slot), slot, true);
                // Drawn, never shown: the face on screen stays the live one.
                face->hide();
            }
            spare << face;
        }
        for (QWidget *face : std::as_const(pool))
            discard(face);
        placeFaces(spare);
        faces = spare;
        spare.removeAll(nullptr);
        m_spare = spare;
    }
    // A picture of an earlier turn is drawn over when it fits: a fresh one
    // of a large face costs more to allocate than to draw.
    QPixmap picture = std::move(reuse);
    if (picture.size() != size() * ratio || picture.devicePixelRatio() != ratio || !picture.isDetached()) {
        picture = QPixmap(size() * ratio);
        picture.setDevicePixelRatio(ratio);
    }
    bool covered = !faces.isEmpty();
    for (QWidget *face : std::as_const(faces))
        covered = covered && face && face->testAttribute(Qt::WA_OpaquePaintEvent);
    if (!covered)
        picture.fill(themeColor(ThemeColor::Desk, m_services.appearance->scheme()));
    QPainter painter(&picture);
    for (QWidget *face : std::as_const(faces)) {
        if (face)
            face->render(&painter, face->pos(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    return picture;
}

void PageStage::setInsets(const PageInsets &insets)
{
    if (m_insets == insets)
        return;
    m_insets = insets;
    for (QWidget *face : std::as_const(m_live)) {
        if (auto *view = qobject_cast<PageView *>(face))
            view->setInsets(insets);
        else if (auto *blank = qobject_cast<BlankPageView *>(face))
            blank->setInsets(insets);
    }
}

void PageStage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeFaces(m_live);
}

} // namespace quillery::ui
