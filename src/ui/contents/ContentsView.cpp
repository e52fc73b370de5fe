#include "ContentsView.h"

#include "ContentsCloseButton.h"
#include "ContentsGrid.h"
#include "core/app/Services.h"
#include "core/book/Book.h"
#include "gui/theme/AppFont.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>

namespace quillery::ui {

ContentsView::ContentsView(Book &book, const Services &services, QWidget *parent)
    : QWidget(parent)
    , m_book(book)
    , m_appearance(*services.appearance)
    , m_content(new QWidget(this))
    , m_title(new QLabel(tr("All Pages"), m_content))
    , m_count(new QLabel(m_content))
    , m_close(new ContentsCloseButton(m_appearance, m_content))
    , m_grid(new ContentsGrid(book, services, m_content))
{
    setObjectName(QStringLiteral("contents"));
    setAccessibleName(tr("All Pages"));
    m_content->setAutoFillBackground(true);

    m_title->setFont(systemFont(22, QFont::Bold));
    m_count->setFont(systemFont(15));

    auto *header = new QHBoxLayout;
    header->setContentsMargins(24, 18, 24, 4);
    header->setSpacing(8);
    header->addWidget(m_title, 0, Qt::AlignVCenter);
    header->addWidget(m_count, 0, Qt::AlignVCenter);
    header->addStretch(1);
    header->addWidget(m_close, 0, Qt::AlignVCenter);

    auto *column = new QVBoxLayout(m_content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(header);
    column->addWidget(m_grid, 1);

    setTabOrder(m_grid, m_close);
    connect(m_close, &QAbstractButton::clicked, this, &ContentsView::closeContents);
    connect(&book, &Book::pagesChanged, this, &ContentsView::updateCount);
    connect(&m_appearance, &Appearance::schemeChanged, this, &ContentsView::applyScheme);
    updateCount();
    applyScheme();

    if (parent) {
        setGeometry(parent->rect());
        parent->installEventFilter(this);
    }
    m_content->setGeometry(rect());
}

ContentsView::~ContentsView() = default;

QAbstractButton *ContentsView::closeButton() const
{
    return m_close;
}

void ContentsView::closeContents()
{
    // After the click or key: the book turns its flag off at once, and the
    // book view may delete this view in response.
    QMetaObject::invokeMethod(
        this, [this] { m_book.setShowContents(false); }, Qt::QueuedConnection);
}

void ContentsView::updateCount()
{
    const int count = m_book.pageCount();
    m_count->setText(QString::number(count));
    m_count->setAccessibleName(tr("%n pages", nullptr, count));
}

void ContentsView::applyScheme()
{
    const ColorScheme scheme = m_appearance.scheme();
    QPalette palette = m_content->palette();
    palette.setColor(QPalette::Window, themeColor(ThemeColor::Desk, scheme));
    palette.setColor(QPalette::WindowText, themeColor(ThemeColor::Ink, scheme));
    m_content->setPalette(palette);
    QPalette muted = palette;
    muted.setColor(QPalette::WindowText, themeColor(ThemeColor::MutedInk, scheme));
    m_count->setPalette(muted);
    update();
}

bool ContentsView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void ContentsView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_content->setGeometry(rect());
}

void ContentsView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A window coming back from being minimised shows it as it was.
    if (event->spontaneous())
        return;
    m_content->setGeometry(rect());
    m_grid->revealCurrentPage();
    // Keys go to the contents from now on, not to the book below.
    m_grid->setFocus(Qt::OtherFocusReason);
}

void ContentsView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        closeContents();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace quillery::ui
