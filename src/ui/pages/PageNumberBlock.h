#pragma once

#include <QAbstractButton>

namespace quillery {
class Appearance;
} // namespace quillery

namespace quillery::ui {

// The page number in a page's footer, with "of N" under it. Clicking it
// opens the contents.
class PageNumberBlock final : public QAbstractButton
{
    Q_OBJECT
public:
    static constexpr QSize Frame { 150, 52 };

    explicit PageNumberBlock(const Appearance &appearance, QWidget *parent = nullptr);

    int number() const { return m_number; }
    int count() const { return m_count; }
    void setNumbers(int number, int count);

    QString numberText() const;
    QString countText() const;

    QSize sizeHint() const override { return Frame; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const Appearance &m_appearance;
    int m_number = 1;
    int m_count = 1;
};

} // namespace quillery::ui
