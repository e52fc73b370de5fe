#pragma once

#include "core/pages/PageSide.h"
#include "core/theme/PageInsets.h"

#include <QWidget>

namespace quillery {
class Appearance;
} // namespace quillery

namespace quillery::ui {

// The face of a page that does not exist yet (the page a turn past the end
// will make, the empty right half of a spread): tinted paper, the colour dot
// where a live page has its colour button, and the page number at the
// bottom. Nothing on it is editable.
class BlankPageView final : public QWidget
{
    Q_OBJECT
public:
    BlankPageView(int number, int colorIndex, const Appearance &appearance, QWidget *parent = nullptr);

    int number() const { return m_number; }
    void setNumber(int number);
    int colorIndex() const { return m_colorIndex; }
    void setColorIndex(int index);

    PageSide side() const { return m_side; }
    void setSide(PageSide side);
    PageInsets insets() const { return m_insets; }
    void setInsets(const PageInsets &insets);

    // Where the colour dot and the number are drawn.
    QRectF dotRect() const;
    QRectF numberRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const Appearance &m_appearance;
    int m_number;
    int m_colorIndex;
    PageSide m_side = PageSide::Single;
    PageInsets m_insets;
};

} // namespace quillery::ui
