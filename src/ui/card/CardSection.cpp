#include "CardSection.h"

#include "CardStyle.h"

#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace quillery::ui {

namespace {
constexpr double HeadingTracking = 0.8;
} // namespace

CardSection::CardSection(const QString &name, QWidget *parent)
    : QWidget(parent)
    , m_name(name)
{
    QFont font = CardStyle::font(12, QFont::DemiBold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, HeadingTracking);
    // Capitals are a matter of drawing: the name itself stays as written.
    m_heading = CardStyle::label(locale().toUpper(name), font, QColor(0x8E, 0x8E, 0x93), this);
    m_heading->setObjectName(QStringLiteral("sectionHeading"));
    m_heading->setAccessibleName(name);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(CardStyle::HeadingSpacing);
    layout->addWidget(m_heading);
    m_body = new QVBoxLayout;
    m_body->setContentsMargins(0, 0, 0, 0);
    m_body->setSpacing(0);
    layout->addLayout(m_body);
}

void CardSection::setHeadingColor(const QColor &color)
{
    CardStyle::setTextColor(m_heading, color);
}

} // namespace quillery::ui
