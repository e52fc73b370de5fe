#include "ContentsView.h"

#include "ContentsCloseButton.h"
#include "ContentsGrid.h"
#include "core/book/Book.h"
#include "core/theme/AppFont.h"
#include "core/theme/Appearance.h"
#include "core/theme/Spring.h"
#include "core/theme/ThemeColors.h"
#include "ui/theme/Motion.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QVariantAnimation>

namespace quillery::ui {

namespace {

const Spring TransitionSpring { 0.3, 1.0 };
constexpr double StartScale = 0.97;

} // namespace

ContentsView::ContentsView(Book &book, const Services &services, QWidget *parent)
    : QWidget(parent)
    , m_book(book)
    , m_content(new QWidget(this))
    , m_title(new QLabel(tr("All Pages"), m_content))
    , m_count(new QLabel(m_content))
    , m_close(new ContentsCloseButton(m_content))
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
    connect(&Appearance::shared(), &Appearance::schemeChanged, this, &ContentsView::applyScheme);
    updateCount();
    applyScheme();

    if (parent) {
        setGeometry(parent->rect());
        parent->installEventFilter(this);
    }
    m_content->setGeometry(rect());
}

ContentsView::~ContentsView()
{
    // Stop the transition before the members it paints go.
    delete m_transition.data();
}

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
    const ColorScheme scheme = Appearance::shared().scheme();
    QPalette palette = m_content->palette();
    palette.setColor(QPalette::Window, themeColor(ThemeColor::Desk, scheme));
    palette.setColor(QPalette::WindowText, themeColor(ThemeColor::Ink, scheme));
    m_content->setPalette(palette);
    QPalette muted = palette;
    muted.setColor(QPalette::WindowText, themeColor(ThemeColor::MutedInk, scheme));
    m_count->setPalette(muted);
    if (!m_snapshot.isNull() && !m_leaving)
        takeSnapshot();
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
    if (event->spontaneous() || m_entered || m_transition)
        return;
    m_content->setGeometry(rect());
    m_grid->revealCurrentPage();
    // Keys go to the contents from now on, not to the book below.
    setFocus(Qt::OtherFocusReason);
    takeSnapshot();
    m_content->hide();
    m_shown = 0;
    transition(1.0);
}

void ContentsView::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous())
        return;
    // Hidden by whoever shows it: the next show enters afresh.
    delete m_transition.data();
    m_entered = false;
    m_leaving = false;
    m_snapshot = {};
    m_shown = 0;
}

void ContentsView::takeSnapshot()
{
    const bool hidden = m_content->isHidden();
    m_content->setGeometry(rect());
    if (QLayout *layout = m_content->layout())
        layout->activate();
    if (hidden)
        m_content->show();
    m_snapshot = m_content->grab();
    if (hidden)
        m_content->hide();
}

void ContentsView::transition(double to)
{
    delete m_transition.data();
    m_transition = motion::spring(this, TransitionSpring, m_shown, to, [this](const QVariant &value) {
        m_shown = std::clamp(value.toDouble(), 0.0, 1.0);
        update();
    });
    connect(m_transition, &QAbstractAnimation::finished, this, &ContentsView::transitionDone);
}

void ContentsView::transitionDone()
{
    m_transition = nullptr;
    if (m_leaving) {
        m_snapshot = {};
        hide();
        QMetaObject::invokeMethod(this, &ContentsView::left, Qt::QueuedConnection);
        return;
    }
    m_entered = true;
    m_shown = 1;
    m_snapshot = {};
    m_content->setGeometry(rect());
    m_content->show();
    m_grid->setFocus(Qt::OtherFocusReason);
    update();
    Q_EMIT entered();
}

void ContentsView::leave()
{
    if (m_leaving)
        return;
    m_leaving = true;
    if (!isVisible()) {
        transitionDone();
        return;
    }
    if (m_snapshot.isNull())
        takeSnapshot();
    m_content->hide();
    transition(0.0);
}

void ContentsView::paintEvent(QPaintEvent *)
{
    // Only the transition draws here; the rest of the time the content
    // covers this view.
    if (m_snapshot.isNull() || !m_content->isHidden())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setOpacity(m_shown);
    const double scale = StartScale + (1 - StartScale) * m_shown;
    const QPointF centre = QRectF(rect()).center();
    painter.translate(centre);
    painter.scale(scale, scale);
    painter.translate(-centre);
    painter.drawPixmap(QPointF(0, 0), m_snapshot);
}

void ContentsView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        closeContents();
        return;
    }
    // Keys that arrive while the grid is still a picture.
    if (m_content->isHidden() && !m_leaving) {
        QCoreApplication::sendEvent(m_grid, event);
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace quillery::ui
