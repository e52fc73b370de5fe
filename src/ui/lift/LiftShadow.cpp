#include "LiftShadow.h"

#include "ui/theme/SoftShadow.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace quillery::ui {

namespace {
int margin()
{
    return static_cast<int>(std::ceil(SoftShadow::reach(LiftShadow::Radius) + LiftShadow::Drop));
}
} // namespace

LiftShadow::LiftShadow(QWidget *row)
    : QWidget(row->parentWidget())
    , m_row(row)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    row->installEventFilter(this);
    follow();
    show();
}

void LiftShadow::follow()
{
    if (!m_row)
        return;
    const int m = margin();
    setGeometry(m_row->geometry().adjusted(-m, -m, m, m));
    stackUnder(m_row);
    update();
}

bool LiftShadow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_row) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::ZOrderChange:
            follow();
            break;
        case QEvent::Hide:
            hide();
            break;
        case QEvent::Show:
            show();
            follow();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void LiftShadow::paintEvent(QPaintEvent *)
{
    if (!m_row)
        return;
    QPainter painter(this);
    const int m = margin();
    QPainterPath shape;
    shape.addRect(QRectF(m, m, m_row->width(), m_row->height()));
    QColor black(Qt::black);
    black.setAlphaF(Opacity);
    SoftShadow::paint(painter, shape, black, Radius, QPointF(0, Drop));
}

} // namespace quillery::ui
