#pragma once

#include <QAbstractButton>

namespace quillery {
class Appearance;
} // namespace quillery

namespace quillery::ui {

// The round close button of the contents header: a soft grey disc with a
// cross, the two in two shades of the muted ink.
class ContentsCloseButton final : public QAbstractButton
{
    Q_OBJECT
public:
    static constexpr int Diameter = 26;

    explicit ContentsCloseButton(const Appearance &appearance, QWidget *parent = nullptr);

    QSize sizeHint() const override { return { Diameter + 4, Diameter + 4 }; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const Appearance &m_appearance;
};

} // namespace quillery::ui
