#include "SuggestionRow.h"

#include "PlacesStyle.h"
#include "ui/theme/Symbols.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace quillery::ui {

namespace {

QLabel *plainLabel(const QString &text, const QFont &font, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(font);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return label;
}

} // namespace

SuggestionRow::SuggestionRow(const PlaceSuggestion &suggestion, QWidget *parent)
    : QAbstractButton(parent)
    , m_suggestion(suggestion)
    , m_symbol(new QLabel(this))
    , m_title(plainLabel(suggestion.title, PlacesStyle::font(16, QFont::Medium), this))
    , m_subtitle(plainLabel(suggestion.subtitle, PlacesStyle::font(13), this))
{
    setObjectName(QStringLiteral("suggestionRow"));
    // Reached with the keyboard; a click picks at once and needs no focus.
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(suggestion.subtitle.isEmpty() ? suggestion.title
                                                    : suggestion.title + QStringLiteral(", ") + suggestion.subtitle);
    m_symbol->setFixedSize(22, 22);
    m_symbol->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_subtitle->setVisible(!suggestion.subtitle.isEmpty());
    updateSymbol();

    auto *texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(m_title);
    texts->addWidget(m_subtitle);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(16, 9, 16, 9);
    row->setSpacing(12);
    row->addWidget(m_symbol, 0, Qt::AlignVCenter);
    row->addLayout(texts, 1);
}

QSize SuggestionRow::sizeHint() const
{
    return layout()->sizeHint();
}

void SuggestionRow::updateSymbol()
{
    m_symbol->setPixmap(
        Symbols::pixmap(QStringLiteral("mappin.circle.fill"), 22, PlacesStyle::accent(palette()), devicePixelRatioF()));
    QPalette labels = palette();
    labels.setColor(QPalette::WindowText, palette().color(QPalette::Text));
    m_title->setPalette(labels);
    labels.setColor(QPalette::WindowText, PlacesStyle::secondary(palette()));
    m_subtitle->setPalette(labels);
}

void SuggestionRow::paintEvent(QPaintEvent *)
{
    if (!m_hovered && !isDown() && !hasFocus())
        return;
    QPainter painter(this);
    QColor shade = palette().color(QPalette::Text);
    shade.setAlphaF(isDown() ? 0.12 : 0.05);
    painter.fillRect(rect(), shade);
    if (hasFocus()) {
        QColor ring = PlacesStyle::accent(palette());
        painter.setPen(QPen(ring, 2));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

void SuggestionRow::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        animateClick();
        return;
    case Qt::Key_Up:
        Q_EMIT moveRequested(-1);
        return;
    case Qt::Key_Down:
        Q_EMIT moveRequested(1);
        return;
    default:
        QAbstractButton::keyPressEvent(event);
    }
}

void SuggestionRow::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void SuggestionRow::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void SuggestionRow::changeEvent(QEvent *event)
{
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        updateSymbol();
}

} // namespace quillery::ui
