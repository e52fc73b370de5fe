#include "TaskCardSheet.h"

#include "GrowingTextEdit.h"
#include "TaskCard.h"
#include "core/model/TaskItem.h"
#include "core/tasks/TaskActions.h"
#include "ui/theme/Motion.h"
#include "ui/theme/SoftShadow.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <QPainter>
#include <QPainterPath>
#include <QVariantAnimation>
#include <cmath>

namespace quillery::ui {

namespace {

constexpr int Margin = 12; // kept from a small host's edges
constexpr int OpenMsecs = 260;
constexpr int CloseMsecs = 180;
constexpr int SlideDistance = 40; // the card rises this far as it opens
constexpr double DimOpacity = 0.28;
constexpr double ShadowRadius = 24;
constexpr double CornerRadius = 14;

} // namespace

TaskCardSheet::TaskCardSheet(TaskCard *card, QWidget *host)
    : QWidget(host)
    , m_host(host)
    , m_card(card)
    , m_previousFocus(QApplication::focusWidget())
{
    setObjectName(QStringLiteral("taskCardSheet"));
    setFocusPolicy(Qt::NoFocus);
    card->setParent(this);
    host->installEventFilter(this);
    connect(card, &TaskCard::dismissed, this, &TaskCardSheet::takeDown);
    fitHost();
    show();
    raise();
    card->show();
    // A task without a title is there to be named; any other is there to be
    // looked at, and Tab leads from the card to its title.
    TaskItem *task = card->task();
    if (task && TaskActions::isBlankTitle(task->text()))
        card->titleField()->setFocus(Qt::OtherFocusReason);
    else
        card->setFocus(Qt::OtherFocusReason);
    animateTo(1.0);
}

TaskCardSheet::~TaskCardSheet() = default;

QRect TaskCardSheet::cardGeometry(const QSize &size)
{
    const int width = std::min(TaskCard::Width, std::max(1, size.width() - 2 * Margin));
    const int height = std::min(TaskCard::Height, std::max(1, size.height() - 2 * Margin));
    return { (size.width() - width) / 2, (size.height() - height) / 2, width, height };
}

void TaskCardSheet::fitHost()
{
    if (!m_host)
        return;
    setGeometry(m_host->rect());
    placeCard();
}

void TaskCardSheet::placeCard()
{
    QRect geometry = cardGeometry(size());
    geometry.translate(0, static_cast<int>(std::lround((1.0 - m_presence) * SlideDistance)));
    m_card->setGeometry(geometry);
    update();
}

void TaskCardSheet::animateTo(double presence)
{
    if (m_animation)
        m_animation->stop();
    const bool closing = presence == 0.0;
    if (presence == m_presence) {
        // Closed before it began to open: nothing to animate.
        if (closing)
            deleteLater();
        return;
    }
    const int duration = presence > m_presence ? OpenMsecs : CloseMsecs;
    QPointer<TaskCardSheet> self(this);
    m_animation = motion::easeOut(this, duration, m_presence, presence, [self](const QVariant &value) {
        if (!self)
            return;
        self->m_presence = value.toDouble();
        self->placeCard();
    });
    if (closing)
        connect(m_animation, &QAbstractAnimation::finished, this, &QObject::deleteLater);
}

void TaskCardSheet::takeDown()
{
    // The window behind is usable again at once: what fades away is a
    // picture of the card, not the card.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (isVisible())
        m_picture = m_card->grab();
    m_card->hide();
    if (m_host)
        m_host->removeEventFilter(this);
    if (m_previousFocus && m_previousFocus->isVisible() && m_previousFocus->isEnabled())
        m_previousFocus->setFocus(Qt::OtherFocusReason);
    else if (m_host)
        m_host->setFocus(Qt::OtherFocusReason);
    if (!isVisible()) {
        deleteLater();
        return;
    }
    animateTo(0.0);
}

bool TaskCardSheet::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_host && event->type() == QEvent::Resize)
        fitHost();
    return QWidget::eventFilter(watched, event);
}

void TaskCardSheet::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(0, 0, 0, static_cast<int>(std::lround(DimOpacity * 255 * m_presence))));
    QPainterPath shape;
    shape.addRoundedRect(QRectF(m_card->geometry()), CornerRadius, CornerRadius);
    SoftShadow::paint(
        painter, shape, QColor(0, 0, 0, static_cast<int>(std::lround(60 * m_presence))), ShadowRadius, QPointF(0, 8));
    if (!m_picture.isNull()) {
        painter.setOpacity(m_presence);
        painter.drawPixmap(m_card->geometry().topLeft(), m_picture);
    }
}

// The window behind the sheet takes no input while the card is up.
void TaskCardSheet::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void TaskCardSheet::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

void TaskCardSheet::wheelEvent(QWheelEvent *event)
{
    event->accept();
}

void TaskCardSheet::keyPressEvent(QKeyEvent *event)
{
    event->accept();
}

void TaskCardSheet::keyReleaseEvent(QKeyEvent *event)
{
    event->accept();
}

} // namespace quillery::ui
