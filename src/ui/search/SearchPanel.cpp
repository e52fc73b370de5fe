#include "SearchPanel.h"

#include "SearchResultDelegate.h"
#include "SearchResultsModel.h"
#include "core/model/Page.h"
#include "core/model/RecordPointer.h"
#include "core/model/TaskItem.h"
#include "core/search/SearchIndex.h"
#include "gui/theme/AppFont.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"
#include "ui/app/MainWindow.h"
#include "ui/book/BookView.h"
#include "ui/theme/SoftShadow.h"
#include "ui/theme/Symbols.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPainterPath>
#include <QToolBar>

namespace quillery::ui {

namespace {

constexpr int Inset = 16; // from the sides of the page
constexpr int Top = 14;
constexpr int Padding = 10;
constexpr int FieldHeight = 36;
constexpr int EmptyHeight = 44;
constexpr double Radius = 12;
constexpr double ListShare = 0.72; // of the page's height, at most

} // namespace

SearchPanel::SearchPanel(BookView &book, SearchIndex &index, QWidget *parent)
    : QWidget(parent)
    , m_book(book)
    , m_index(index)
    , m_action(new QAction(tr("Search"), this))
    , m_field(new QLineEdit(this))
    , m_list(new QListView(this))
    , m_empty(new QLabel(tr("No Results"), this))
    , m_model(new SearchResultsModel(this))
{
    setObjectName(QStringLiteral("search"));
    setAccessibleName(tr("Search"));
    hide();

    const Appearance &appearance = *book.services().appearance;
    m_action->setObjectName(QStringLiteral("searchAction"));
    m_action->setShortcut(QKeySequence::Find);
    m_action->setIcon(
        Symbols::icon(QStringLiteral("magnifyingglass"), themeColor(ThemeColor::MutedInk, appearance.scheme())));
    m_action->setToolTip(tr("Search the book (%1)").arg(m_action->shortcut().toString(QKeySequence::NativeText)));
    connect(m_action, &QAction::triggered, this, &SearchPanel::open);

    m_field->setObjectName(QStringLiteral("searchField"));
    m_field->setPlaceholderText(tr("Search"));
    m_field->setAccessibleName(tr("Search the book"));
    m_field->setClearButtonEnabled(true);
    m_field->setFrame(false);
    m_field->setFont(systemFont(15));
    m_field->installEventFilter(this);
    connect(m_field, &QLineEdit::textChanged, this, &SearchPanel::runQuery);

    m_list->setObjectName(QStringLiteral("searchResults"));
    m_list->setAccessibleName(tr("Search results"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new SearchResultDelegate(*m_model, index.folder(), appearance, m_list));
    m_list->setFocusPolicy(Qt::NoFocus); // the keys stay in the field
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setMouseTracking(true);
    connect(m_list, &QListView::clicked, this, [this](const QModelIndex &clicked) { choose(clicked.row()); });

    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->setFont(systemFont(14));

    // A page turned by a shortcut is drawn over the book view's children: the
    // search stays on top. The contents replace it.
    connect(&book.book(), &Book::turnChanged, this, [this] {
        if (isVisible())
            raise();
    });
    connect(&book.book(), &Book::showContentsChanged, this, [this] {
        if (m_book.book().showContents())
            close(false);
    });
    connect(&appearance, &Appearance::schemeChanged, this, &SearchPanel::applyScheme);
    applyScheme();
    if (parent)
        parent->installEventFilter(this);
}

SearchPanel::~SearchPanel() = default;

SearchPanel *SearchPanel::install(MainWindow &window, SearchIndex &index)
{
    BookView *book = window.book();
    auto *panel = new SearchPanel(*book, index, book);
    window.addAction(panel->action());
    if (QToolBar *bar = window.toolBar())
        bar->insertAction(window.allPagesAction(), panel->action());
    return panel;
}

void SearchPanel::applyScheme()
{
    const ColorScheme scheme = m_book.services().appearance->scheme();
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, themeColor(ThemeColor::Paper, scheme));
    palette.setColor(QPalette::Base, themeColor(ThemeColor::Paper, scheme));
    palette.setColor(QPalette::Text, themeColor(ThemeColor::Ink, scheme));
    palette.setColor(QPalette::WindowText, themeColor(ThemeColor::MutedInk, scheme));
    palette.setColor(QPalette::PlaceholderText, themeColor(ThemeColor::MutedInk, scheme));
    setPalette(palette);
    m_field->setPalette(palette);
    m_list->setPalette(palette);
    m_empty->setPalette(palette);
    update();
}

QRect SearchPanel::cardRect() const
{
    const QRect face = m_book.faceRect();
    int list = 0;
    if (!m_model->foldedQuery().isEmpty()) {
        if (m_model->rowCount() == 0) {
            list = EmptyHeight;
        } else {
            for (int i = 0; i < m_model->rowCount(); ++i)
                list += m_list->sizeHintForRow(i);
            list = std::min(list, int(face.height() * ListShare));
        }
    }
    const int height = Padding + FieldHeight + (list > 0 ? Padding / 2 + list : 0) + Padding;
    return { face.left() + Inset, face.top() + Top, face.width() - 2 * Inset, height };
}

void SearchPanel::layoutCard()
{
    const QRect card = cardRect();
    m_field->setGeometry(card.left() + Padding, card.top() + Padding, card.width() - 2 * Padding, FieldHeight);
    const QRect below(card.left(), m_field->geometry().bottom() + 1 + Padding / 2, card.width(),
        card.bottom() - Padding - m_field->geometry().bottom() - Padding / 2);
    const bool empty = !m_model->foldedQuery().isEmpty() && m_model->rowCount() == 0;
    m_list->setGeometry(below);
    m_list->setVisible(m_model->rowCount() > 0);
    m_empty->setGeometry(below);
    m_empty->setVisible(empty);
    update();
}

void SearchPanel::open()
{
    QWidget *parent = parentWidget();
    if (!isVisible()) {
        QWidget *focus = QApplication::focusWidget();
        m_focusBefore = focus && !isAncestorOf(focus) ? focus : nullptr;
        m_book.book().setShowContents(false);
        if (parent)
            setGeometry(parent->rect());
        show();
        runQuery(); // the book may have changed since the last time
    }
    raise();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
}

void SearchPanel::close(bool restoreFocus)
{
    if (!isVisible())
        return;
    hide();
    if (!restoreFocus)
        return;
    if (m_focusBefore && m_focusBefore->isVisible())
        m_focusBefore->setFocus(Qt::OtherFocusReason);
    else
        m_book.setFocus(Qt::OtherFocusReason);
}

void SearchPanel::runQuery()
{
    const QString query = m_field->text();
    const SearchResults results = m_index.search(query, m_book.book().currentPage(), ShownTasks);
    m_model->setResults(results, m_index.folder().fold(query).trimmed());
    const int first = m_model->nextResult(-1, 1);
    if (first >= 0)
        m_list->setCurrentIndex(m_model->index(first));
    m_list->scrollToTop();
    layoutCard();
}

void SearchPanel::moveSelection(int step)
{
    const int current = m_list->currentIndex().isValid() ? m_list->currentIndex().row() : -1;
    const int next = m_model->nextResult(current, step);
    if (next < 0)
        return;
    m_list->setCurrentIndex(m_model->index(next));
    m_list->scrollTo(m_model->index(next));
}

void SearchPanel::choose(int row)
{
    if (row < 0 || row >= m_model->rowCount() || !(m_model->flags(m_model->index(row)) & Qt::ItemIsSelectable))
        return;
    const RecordPointer<Page> page = m_model->row(row).page;
    const RecordPointer<TaskItem> task = m_model->row(row).task;
    close(false);
    if (!page || page->isDeleted())
        return;
    Book &book = m_book.book();
    book.turnTo(page);
    if (!task) {
        m_book.setFocus(Qt::OtherFocusReason);
        return;
    }
    // The card opens on the page once the turn is over.
    disconnect(m_afterTurn);
    const auto openCard = [this, task] {
        if (task && !task->isDeleted())
            Q_EMIT taskChosen(task);
    };
    if (!book.dir()) {
        openCard();
        return;
    }
    m_afterTurn = connect(&book, &Book::turnChanged, this, [this, &book, openCard] {
        if (book.dir())
            return;
        disconnect(m_afterTurn);
        openCard();
    });
}

bool SearchPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
        layoutCard();
    } else if (watched == m_field && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Up:
            moveSelection(-1);
            return true;
        case Qt::Key_Down:
            moveSelection(1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            choose(m_list->currentIndex().isValid() ? m_list->currentIndex().row() : -1);
            return true;
        case Qt::Key_Escape:
            close();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SearchPanel::mousePressEvent(QMouseEvent *event)
{
    // A click beside the card closes the search, as Escape does.
    if (!cardRect().contains(event->position().toPoint()))
        close();
}

void SearchPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(0, 0, 0, 20));
    QPainterPath card;
    card.addRoundedRect(QRectF(cardRect()), Radius, Radius);
    SoftShadow::paint(painter, card, QColor(0, 0, 0, 70), 14, QPointF(0, 4));
    painter.fillPath(card, palette().color(QPalette::Window));
    if (m_list->isVisible() || m_empty->isVisible()) {
        // A rule between the field and what it found.
        const QRect field = m_field->geometry();
        painter.setPen(QPen(themeColor(ThemeColor::Rule, m_book.services().appearance->scheme()), 1));
        painter.drawLine(QPointF(field.left(), field.bottom() + Padding / 2.0 + 0.5),
            QPointF(field.right(), field.bottom() + Padding / 2.0 + 0.5));
    }
}

} // namespace quillery::ui
