#include "CaretLineEdit.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleHints>

namespace quillery::ui {

namespace {

// The application's style, less the stock caret.
class NoCaretStyle final : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_TextCursorWidth)
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QStyle *noCaretStyle()
{
    static QPointer<NoCaretStyle> style;
    if (!style) {
        style = new NoCaretStyle;
        style->setParent(qApp);
    }
    return style;
}

// The stock caret sits this far into the rectangle the line edit reports.
constexpr int CaretRectInset = 5;

} // namespace

CaretLineEdit::CaretLineEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setStyle(noCaretStyle());
    m_blink.setInterval(std::max(1, QGuiApplication::styleHints()->cursorFlashTime() / 2));
    connect(&m_blink, &QTimer::timeout, this, [this] {
        m_caretOn = !m_caretOn;
        update();
    });
    connect(this, &QLineEdit::cursorPositionChanged, this, &CaretLineEdit::restartBlink);
    connect(this, &QLineEdit::textChanged, this, &CaretLineEdit::restartBlink);
}

void CaretLineEdit::setCaretColor(const QColor &color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
}

QRect CaretLineEdit::caretRect() const
{
    if (!hasFocus() || isReadOnly() || hasSelectedText() || !m_caretOn)
        return {};
    const QRect stock = cursorRect();
    return QRect(stock.left() + CaretRectInset - CaretWidth / 2, stock.top(), CaretWidth, stock.height());
}

void CaretLineEdit::restartBlink()
{
    m_caretOn = hasFocus();
    if (m_caretOn && QGuiApplication::styleHints()->cursorFlashTime() > 0)
        m_blink.start();
    else
        m_blink.stop();
    update();
}

void CaretLineEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    restartBlink();
}

void CaretLineEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    restartBlink();
}

void CaretLineEdit::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    const QRect caret = caretRect();
    if (caret.isEmpty())
        return;
    QPainter painter(this);
    painter.fillRect(caret, m_color.isValid() ? m_color : palette().color(QPalette::Text));
}

} // namespace quillery::ui
