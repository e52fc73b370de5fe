#include "TaskRowCheck.h"

#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"
#include "ui/theme/Motion.h"
#include "ui/theme/Symbols.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPointer>
#include <QVariantAnimation>

namespace quillery::ui {

namespace {
constexpr double LineWidth = 1.8;
constexpr int CheckSize = 13;
const Spring ToggleSpring { 0.35, 0.55 };
} // namespace

TaskRowCheck::TaskRowCheck(const Appearance &appearance, QWidget *parent)
    : QAbstractButton(parent)
    , m_appearance(appearance)
{
    setFixedSize(Size, Size);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(tr("Complete"));
}

void TaskRowCheck::setDone(bool done, bool animated)
{
    if (m_done == done)
        return;
    m_done = done;
    setAccessibleName(done ? tr("Completed") : tr("Complete"));
    const double target = done ? 1.0 : 0.0;
    if (!animated || !isVisible()) {
        m_fill = target;
        update();
        return;
    }
    QPointer<TaskRowCheck> self(this);
    motion::spring(this, ToggleSpring, m_fill, target, [self](const QVariant &value) {
        if (!self)
            return;
        self->m_fill = value.toDouble();
        self->update();
    });
}

void TaskRowCheck::setAccent(const QColor &accent)
{
    if (m_accent == accent)
        return;
    m_accent = accent;
    update();
}

bool TaskRowCheck::hitButton(const QPoint &) const
{
    // The whole square answers: a 22-point circle is a small target already.
    return true;
}

void TaskRowCheck::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const ColorScheme scheme = m_appearance.scheme();
    const QColor muted = themeColor(ThemeColor::MutedInk, scheme);
    const QRectF box(0, 0, Size, Size);
    const double fill = std::clamp(m_fill, 0.0, 1.3);

    // The filled disc grows from the centre as the box is ticked.
    if (fill > 0.0) {
        const double radius = Size / 2.0 * std::min(fill, 1.15);
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_accent);
        painter.drawEllipse(box.center(), radius, radius);
    }
    // Stroked inward: the outline stays inside the 22-point square.
    const QColor ring = m_done ? m_accent : muted;
    painter.setPen(QPen(ring, LineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(box.adjusted(LineWidth / 2, LineWidth / 2, -LineWidth / 2, -LineWidth / 2));

    if (fill > 0.5) {
        // On paper the mark is drawn finer than any screen would need.
        const bool paper = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Pdf;
        const QPixmap mark
            = Symbols::pixmap(QStringLiteral("checkmark"), CheckSize, Qt::white, paper ? 8.0 : devicePixelRatioF());
        painter.setOpacity(std::min(1.0, (fill - 0.5) * 2.0));
        painter.drawPixmap(QPointF((Size - CheckSize) / 2.0, (Size - CheckSize) / 2.0), mark);
    }
    if (hasFocus()) {
        painter.setOpacity(1.0);
        QColor focus = m_accent;
        focus.setAlphaF(0.5);
        painter.setPen(QPen(focus, 1.5));
        painter.drawEllipse(box.adjusted(-0.5, -0.5, 0.5, 0.5));
    }
}

} // namespace quillery::ui
