#include "InsetGroup.h"

#include "PlacesStyle.h"

#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace quillery::ui {

InsetGroup::InsetGroup(QWidget *parent)
    : QWidget(parent)
    , m_layout(new QVBoxLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
}

void InsetGroup::addRow(QWidget *row)
{
    m_layout->addWidget(row);
}

void InsetGroup::setSeparatorIndent(int indent)
{
    m_separatorIndent = indent;
    update();
}

void InsetGroup::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath card;
    card.addRoundedRect(QRectF(rect()), Radius, Radius);
    painter.fillPath(card, PlacesStyle::groupBackground(palette()));

    // Hairlines between rows.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(PlacesStyle::separator(palette()), 0));
    const int indent = m_separatorIndent;
    for (int i = 0; i + 1 < m_layout->count(); ++i) {
        const QWidget *row = m_layout->itemAt(i)->widget();
        if (!row || !row->isVisible())
            continue;
        const int y = row->geometry().bottom();
        painter.drawLine(indent, y, width() - 1, y);
    }
}

} // namespace quillery::ui
