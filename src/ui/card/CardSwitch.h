#pragma once

#include <QAbstractButton>
#include <QColor>

namespace quillery {
class Appearance;
} // namespace quillery

namespace quillery::ui {

// A labelled on/off switch spanning the card's width: the label on the
// leading side, the switch at the trailing edge. The whole row answers to
// clicks, Space toggles it. clicked(bool) reports the user's change; the
// owner sets the shown state with setChecked.
class CardSwitch final : public QAbstractButton
{
    Q_OBJECT
public:
    static constexpr int TrackWidth = 46;
    static constexpr int TrackHeight = 28;

    CardSwitch(const QString &text, const Appearance &appearance, QWidget *parent = nullptr);

    void setAccent(const QColor &accent);
    // The knob's travel, 0 (off) to 1 (on); follows the state with a short
    // ease-out.
    double knobPosition() const { return m_knob; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

private:
    void followState(bool checked);

    const Appearance &m_appearance;
    QColor m_accent { 0x3E, 0x7C, 0xB1 };
    double m_knob = 0;
    bool m_focusFromKeyboard = false;
};

} // namespace quillery::ui
