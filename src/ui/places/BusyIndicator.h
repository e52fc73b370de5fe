#pragma once

#include <QTimer>
#include <QWidget>

namespace quillery::ui {

// A small spinning indicator for work of unknown length. It turns only while
// it is visible.
class BusyIndicator final : public QWidget
{
    Q_OBJECT
public:
    explicit BusyIndicator(QWidget *parent = nullptr);

    QSize sizeHint() const override { return { 28, 28 }; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    static constexpr int Spokes = 12;
    QTimer m_timer;
    int m_step = 0;
};

} // namespace quillery::ui
