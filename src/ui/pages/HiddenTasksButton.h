#pragma once

#include <QAbstractButton>

namespace quillery {
class Appearance;
} // namespace quillery

namespace quillery::ui {

// The quiet line under a page's tasks that says how many completed tasks
// "Hide Completed" keeps out of sight ("2 completed hidden"), in line with
// the task texts. Clicking it shows them again.
class HiddenTasksButton final : public QAbstractButton
{
    Q_OBJECT
public:
    static constexpr int MinimumHeight = 36;
    static constexpr int TextInset = 34;

    explicit HiddenTasksButton(const Appearance &appearance, QWidget *parent = nullptr);

    int count() const { return m_count; }
    void setCount(int count);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const Appearance &m_appearance;
    int m_count = 0;
};

} // namespace quillery::ui
