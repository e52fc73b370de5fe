#include "PageFooter.h"

#include "PageNumberBlock.h"
#include "core/pages/FooterRules.h"
#include "ui/theme/SymbolButton.h"

namespace quillery::ui {

namespace {

constexpr QSize ChevronFrame { 44, 44 };
constexpr QSize OptionsFrame { 36, 44 };
constexpr int ChevronSymbol = 17;
constexpr int OptionsSymbol = 15;

SymbolButton::Look lookOf(ChevronLook look)
{
    switch (look) {
    case ChevronLook::Active:
        return SymbolButton::Look::Active;
    case ChevronLook::Faded:
        return SymbolButton::Look::Faded;
    case ChevronLook::Hidden:
        return SymbolButton::Look::Hidden;
    }
    return SymbolButton::Look::Active;
}

} // namespace

PageFooter::PageFooter(const Appearance &appearance, QWidget *parent)
    : QWidget(parent)
    , m_previous(new SymbolButton(QStringLiteral("chevron.left"), ChevronSymbol, ChevronFrame, appearance, this))
    , m_number(new PageNumberBlock(appearance, this))
    , m_options(new SymbolButton(QStringLiteral("ellipsis"), OptionsSymbol, OptionsFrame, appearance, this))
    , m_next(new SymbolButton(QStringLiteral("chevron.right"), ChevronSymbol, ChevronFrame, appearance, this))
{
    m_previous->setAccessibleName(tr("Previous page"));
    m_next->setAccessibleName(tr("Next page"));
    m_options->setAccessibleName(tr("Page options"));
    m_options->setToolTip(tr("Page options"));
    connect(m_previous, &QAbstractButton::clicked, this, &PageFooter::previousClicked);
    connect(m_next, &QAbstractButton::clicked, this, &PageFooter::nextClicked);
    connect(m_number, &QAbstractButton::clicked, this, &PageFooter::contentsClicked);
    connect(m_options, &QAbstractButton::clicked, this, &PageFooter::optionsClicked);
    updateChevrons();
}

void PageFooter::setNumbers(int number, int count)
{
    m_pageNumber = number;
    m_number->setNumbers(number, count);
    updateChevrons();
}

void PageFooter::setSide(PageSide side)
{
    m_side = side;
    updateChevrons();
}

void PageFooter::updateChevrons()
{
    m_previous->setLook(lookOf(previousChevron(m_pageNumber, m_side)));
    m_next->setLook(lookOf(nextChevron(m_side)));
}

void PageFooter::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int middle = height() / 2;
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    QWidget *leading = rightToLeft ? m_next : m_previous;
    QWidget *trailing = rightToLeft ? m_previous : m_next;
    leading->move(0, middle - ChevronFrame.height() / 2);
    trailing->move(width() - ChevronFrame.width(), middle - ChevronFrame.height() / 2);
    // The number and the options button sit together between two equal
    // flexible spaces.
    const int group = PageNumberBlock::Frame.width() + Spacing + OptionsFrame.width();
    const int start = std::max(ChevronFrame.width() + Spacing, (width() - group) / 2);
    m_number->move(start, middle - PageNumberBlock::Frame.height() / 2);
    m_options->move(start + PageNumberBlock::Frame.width() + Spacing, middle - OptionsFrame.height() / 2);
}

} // namespace quillery::ui
