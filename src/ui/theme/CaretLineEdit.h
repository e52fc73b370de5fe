#pragma once

#include <QColor>
#include <QLineEdit>
#include <QTimer>

namespace quillery::ui {

// A plain line edit whose text caret is drawn in a colour of its own (the
// page's accent) rather than in the colour of the text. The stock caret is
// drawn with the text's pen, so this one hides it and draws its own, blinking
// at the desktop's rate and steady while the user types.
class CaretLineEdit final : public QLineEdit
{
    Q_OBJECT
public:
    static constexpr int CaretWidth = 2;

    explicit CaretLineEdit(QWidget *parent = nullptr);

    QColor caretColor() const { return m_color; }
    void setCaretColor(const QColor &color);
    // Where the caret is drawn, when it is drawn at all right now.
    QRect caretRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void restartBlink();

    QColor m_color;
    QTimer m_blink;
    bool m_caretOn = false;
};

} // namespace quillery::ui
