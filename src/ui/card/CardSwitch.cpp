#include "CardSwitch.h"

#include "CardStyle.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"
#include "ui/theme/Motion.h"

#include <QFocusEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QPointer>

#include <cmath>

namespace quillery::ui {

namespace {
constexpr int KnobInset = 2;
constexpr int Travel = 160; // ms
} // namespace

CardSwitch::CardSwitch(const QString &text, const Appearance &appearance, QWidget *parent)
    : QAbstractButton(parent)
    , m_appearance(appearance)
{
    setText(text);
    setAccessibleName(text);
    setCheckable(true);
    setFont(CardStyle::font(18));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(this, &QAbstractButton::toggled, this, &CardSwitch::followState);
    connect(&m_appearance, &Appearance::schemeChanged, this, qOverload<>(&QWidget::update));
}

void CardSwitch::setAccent(const QColor &accent)
{
    if (m_accent == accent)
        return;
    m_accent = accent;
    update();
}

void CardSwitch::followState(bool checked)
{
    const double target = checked ? 1.0 : 0.0;
    if (!isVisible()) {
        m_knob = target;
        update();
        return;
    }
    QPointer<CardSwitch> self(this);
    motion::easeOut(this, Travel, m_knob, target, [self](const QVariant &value) {
        if (!self)
            return;
        self->m_knob = value.toDouble();
        self->update();
    });
}

QSize CardSwitch::sizeHint() const
{
    const QFontMetricsF metrics(font());
    const int textWidth = static_cast<int>(std::ceil(metrics.horizontalAdvance(text())));
    const int height = std::max(TrackHeight + 4, static_cast<int>(std::ceil(metrics.height())));
    return { textWidth + 16 + TrackWidth, height };
}

QSize CardSwitch::minimumSizeHint() const
{
    return sizeHint();
}

bool CardSwitch::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

void CardSwitch::focusInEvent(QFocusEvent *event)
{
    m_focusFromKeyboard = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QAbstractButton::focusInEvent(event);
}

void CardSwitch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const ColorScheme scheme = m_appearance.scheme();
    if (!isEnabled())
        painter.setOpacity(0.4);

    painter.setFont(font());
    painter.setPen(CardStyle::ink(scheme));
    painter.drawText(QRectF(0, 0, width() - TrackWidth - 8, height()), Qt::AlignLeft | Qt::AlignVCenter, text());

    const QRectF track(width() - TrackWidth - 1, (height() - TrackHeight) / 2.0, TrackWidth, TrackHeight);
    const double t = std::clamp(m_knob, 0.0, 1.0);
    QColor off = themeColor(ThemeColor::MutedInk, scheme);
    off.setAlphaF(0.32);
    QColor fill;
    fill.setRgbF(off.redF() + (m_accent.redF() - off.redF()) * t, off.greenF() + (m_accent.greenF() - off.greenF()) * t,
        off.blueF() + (m_accent.blueF() - off.blueF()) * t, off.alphaF() + (1.0 - off.alphaF()) * t);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(track, TrackHeight / 2.0, TrackHeight / 2.0);

    const double knob = TrackHeight - 2 * KnobInset;
    const double x = track.left() + KnobInset + (TrackWidth - 2 * KnobInset - knob) * t;
    const QRectF knobRect(x, track.top() + KnobInset, knob, knob);
    painter.setBrush(QColor(0, 0, 0, 30));
    painter.drawEllipse(knobRect.translated(0, 1));
    painter.setBrush(Qt::white);
    painter.drawEllipse(knobRect);
    if (isDown()) {
        painter.setBrush(QColor(0, 0, 0, 20));
        painter.drawEllipse(knobRect);
    }

    if (hasFocus() && m_focusFromKeyboard) {
        QColor ring = m_accent;
        ring.setAlphaF(0.55);
        painter.setPen(QPen(ring, 2));
        painter.setBrush(Qt::NoBrush);
        const QRectF outer = track.adjusted(-2, -2, 2, 2);
        painter.drawRoundedRect(outer, outer.height() / 2.0, outer.height() / 2.0);
    }
}

} // namespace quillery::ui
