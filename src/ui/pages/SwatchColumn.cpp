#include "SwatchColumn.h"

#include "ColorDot.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/PaletteColor.h"
#include "gui/theme/ThemeColors.h"
#include "ui/theme/Motion.h"
#include "ui/theme/SoftShadow.h"

#include <QPainter>
#include <QPointer>
#include <QVariantAnimation>

namespace quillery::ui {

namespace {
const Spring SwatchSpring { 0.38, 0.7 };
const Spring CardSpring { 0.5, 0.85 };
constexpr int CascadeStep = 40; // ms between one swatch and the next
constexpr int FadeOut = 120; // ms
constexpr double StartScale = 0.3;
} // namespace

SwatchColumn::SwatchColumn(const Appearance &appearance, QWidget *parent)
    : QWidget(parent)
    , m_appearance(appearance)
{
    const QSize card = cardSize();
    setFixedSize(card.width() + 2 * ShadowMargin, card.height() + ShadowMargin);
    for (int i = 0; i < palette::Count; ++i) {
        auto *dot = new ColorDot(this);
        dot->setColor(paletteColor(i));
        dot->setAccessibleName(paletteName(i));
        dot->setToolTip(paletteName(i));
        dot->move(ShadowMargin + PaddingH, PaddingV + i * (ColorDot::Size + Spacing));
        connect(dot, &QAbstractButton::clicked, this, [this, i] { Q_EMIT picked(i); });
        m_swatches << dot;
    }
}

QSize SwatchColumn::cardSize()
{
    return { Width, 2 * PaddingV + palette::Count * ColorDot::Size + (palette::Count - 1) * Spacing };
}

QRect SwatchColumn::cardRect() const
{
    return QRect(QPoint(ShadowMargin, 0), cardSize());
}

void SwatchColumn::stopMotion()
{
    const QList<QPointer<QVariantAnimation>> running = m_motion;
    m_motion.clear();
    for (const QPointer<QVariantAnimation> &animation : running) {
        if (animation)
            animation->stop(); // deletes itself
    }
}

void SwatchColumn::open(bool animated)
{
    stopMotion();
    m_closing = false;
    show();
    if (!animated) {
        m_opacity = 1.0;
        for (ColorDot *dot : std::as_const(m_swatches))
            dot->setEntrance(1.0, 1.0);
        update();
        return;
    }
    QPointer<SwatchColumn> self(this);
    m_opacity = 0.0;
    m_motion << motion::spring(this, CardSpring, 0.0, 1.0, [self](const QVariant &value) {
        if (!self)
            return;
        self->m_opacity = std::clamp(value.toDouble(), 0.0, 1.0);
        self->update();
    });
    for (int i = 0; i < m_swatches.size(); ++i) {
        QPointer<ColorDot> dot(m_swatches.at(i));
        dot->setEntrance(StartScale, 0.0);
        m_motion << motion::spring(
            this, SwatchSpring, 0.0, 1.0,
            [dot](const QVariant &value) {
                if (!dot)
                    return;
                const double t = value.toDouble();
                dot->setEntrance(StartScale + (1.0 - StartScale) * t, t);
            },
            CascadeStep * i);
    }
}

void SwatchColumn::close(bool animated)
{
    stopMotion();
    if (!animated || !isVisible()) {
        m_closing = false;
        hide();
        Q_EMIT closed();
        return;
    }
    m_closing = true;
    QPointer<SwatchColumn> self(this);
    const double from = m_opacity;
    QVariantAnimation *fade = motion::easeOut(this, FadeOut, 1.0, 0.0, [self, from](const QVariant &value) {
        if (!self)
            return;
        const double t = value.toDouble();
        self->m_opacity = from * t;
        for (ColorDot *dot : std::as_const(self->m_swatches))
            dot->setEntrance(dot->entranceScale(), std::min(dot->entranceOpacity(), t));
        self->update();
    });
    connect(fade, &QAbstractAnimation::finished, this, [self] {
        if (!self || !self->m_closing)
            return;
        self->m_closing = false;
        self->hide();
        Q_EMIT self->closed();
    });
    m_motion << fade;
}

void SwatchColumn::paintEvent(QPaintEvent *)
{
    if (m_opacity <= 0.0)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(m_opacity);
    const QRectF card = cardRect();
    QPainterPath capsule;
    capsule.addRoundedRect(card, Width / 2.0, Width / 2.0);
    SoftShadow::paint(painter, capsule, QColor(0, 0, 0, 36), 10, QPointF(0, 4));
    painter.fillPath(capsule, themeColor(ThemeColor::Paper, m_appearance.scheme()));
}

} // namespace quillery::ui
