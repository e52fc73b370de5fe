#pragma once

#include <QAbstractButton>
#include <QColor>

namespace quillery {
class Appearance;
} // namespace quillery

namespace quillery::ui {

// The round completion box at the start of a task row: an outlined circle
// while open, a filled circle in the page's colour with a white check mark
// once done. It announces itself as "Complete" or "Completed". It only shows
// a state; the row decides what a click does.
class TaskRowCheck final : public QAbstractButton
{
    Q_OBJECT
public:
    static constexpr int Size = 22;

    explicit TaskRowCheck(const Appearance &appearance, QWidget *parent = nullptr);

    bool isDone() const { return m_done; }
    // `animated`: the fill springs in or out (a tick by the user) instead of
    // switching at once.
    void setDone(bool done, bool animated = false);

    void setAccent(const QColor &accent);

    QSize sizeHint() const override { return { Size, Size }; }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

private:
    const Appearance &m_appearance;
    bool m_done = false;
    double m_fill = 0; // 0 open … 1 done; overshoots while springing
    QColor m_accent;
};

} // namespace quillery::ui
