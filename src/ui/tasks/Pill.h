#pragma once

#include <QAbstractButton>
#include <QColor>

namespace quillery {
class Appearance;
} // namespace quillery

namespace quillery::ui {

// The toggle-looking button of the task card: a label (and optionally a
// symbol) on a capsule, filled with the accent colour and lettered in white
// while it is on, on a faint rule-coloured capsule in ink while it is off.
// Pressing it does not switch it: whoever owns the button decides when it
// is on. Drawn at 70 % while held down.
class Pill final : public QAbstractButton
{
    Q_OBJECT
public:
    static constexpr int MinimumHeight = 40;
    static constexpr int SideInset = 14;
    static constexpr int SymbolGap = 6;

    explicit Pill(const QString &text, const Appearance &appearance, QWidget *parent = nullptr);

    bool isOn() const { return m_on; }
    void setOn(bool on);

    QColor accent() const { return m_accent; }
    void setAccent(const QColor &accent);

    // A system symbol before the label; with no label the symbol alone is
    // centred in a frame `symbolFrame` points wide.
    void setSymbol(const QString &symbol, int symbolFrame = 20);
    QString symbol() const { return m_symbol; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    const Appearance &m_appearance;
    bool m_on = false;
    QColor m_accent { 0x3E, 0x7C, 0xB1 };
    QString m_symbol;
    int m_symbolFrame = 20;
    bool m_focusFromKeyboard = false;
};

} // namespace quillery::ui
