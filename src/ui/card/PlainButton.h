#pragma once

#include <QAbstractButton>
#include <QColor>

namespace quillery::ui {

// A button drawn as its text only ("Done", "Clear", "Change", "Remove",
// "Delete Task"): a colour, a font, dimmed while held down, with a focus
// ring when reached from the keyboard.
class PlainButton final : public QAbstractButton
{
    Q_OBJECT
public:
    PlainButton(const QString &text, const QFont &font, const QColor &color, QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

    // Where the text sits when the button is wider than it (default: left).
    void setTextAlignment(Qt::Alignment alignment);
    void setMinimumTextHeight(int height);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    QColor m_color;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
    int m_minimumHeight = 0;
    bool m_focusFromKeyboard = false;
};

} // namespace quillery::ui
