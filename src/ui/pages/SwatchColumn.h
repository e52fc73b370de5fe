#pragma once

#include <QPointer>
#include <QVariantAnimation>
#include <QWidget>

namespace quillery {
class Appearance;
} // namespace quillery

namespace quillery::ui {

class ColorDot;

// The card of colour swatches under a page's colour button: one dot per
// palette colour, top to bottom, each announced by its colour's name, on a
// paper capsule with a soft shadow. It opens with a cascade (each dot
// springs in a little after the one above) and closes with a quick fade.
class SwatchColumn final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Width = 40;
    static constexpr int PaddingV = 12;
    static constexpr int PaddingH = 7;
    static constexpr int Spacing = 10;
    // Room around the card for its shadow.
    static constexpr int ShadowMargin = 16;

    explicit SwatchColumn(const Appearance &appearance, QWidget *parent = nullptr);

    QList<ColorDot *> swatches() const { return m_swatches; }

    // The card's own size (without the shadow room).
    static QSize cardSize();
    QRect cardRect() const;

    void open(bool animated);
    void close(bool animated);
    bool isClosing() const { return m_closing; }

Q_SIGNALS:
    void picked(int index);
    // The closing fade ended (the column is hidden now).
    void closed();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void stopMotion();

    const Appearance &m_appearance;
    QList<ColorDot *> m_swatches;
    // Running animations; each deletes itself when it ends.
    QList<QPointer<QVariantAnimation>> m_motion;
    double m_opacity = 1.0;
    bool m_closing = false;
};

} // namespace quillery::ui
