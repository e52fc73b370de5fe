#pragma once

#include "core/pages/PageSide.h"

#include <QWidget>

namespace quillery {
class Appearance;
} // namespace quillery

namespace quillery::ui {

class PageNumberBlock;
class SymbolButton;

// The bottom line of a page: the previous chevron at the leading end, the
// page number and the options button in the middle, the next chevron at the
// trailing end. Which chevrons work, fade or vanish follows the page's
// number and its place in a spread.
class PageFooter final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Height = 52;
    static constexpr int Spacing = 8;

    explicit PageFooter(const Appearance &appearance, QWidget *parent = nullptr);

    void setNumbers(int number, int count);
    void setSide(PageSide side);

    SymbolButton *previousButton() const { return m_previous; }
    SymbolButton *nextButton() const { return m_next; }
    PageNumberBlock *numberBlock() const { return m_number; }
    SymbolButton *optionsButton() const { return m_options; }

    QSize sizeHint() const override { return { 400, Height }; }

Q_SIGNALS:
    void previousClicked();
    void nextClicked();
    void contentsClicked();
    void optionsClicked();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateChevrons();

    SymbolButton *m_previous = nullptr;
    PageNumberBlock *m_number = nullptr;
    SymbolButton *m_options = nullptr;
    SymbolButton *m_next = nullptr;
    int m_pageNumber = 1;
    PageSide m_side = PageSide::Single;
};

} // namespace quillery::ui
