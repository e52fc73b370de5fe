#include "PageColorPicker.h"

#include "ColorDot.h"
#include "SwatchColumn.h"

#include <QMouseEvent>

namespace quillery::ui {

PageColorPicker::PageColorPicker(const Appearance &appearance, QWidget *parent)
    : QWidget(parent)
    , m_button(new ColorDot(this))
    , m_column(new SwatchColumn(appearance, this))
{
    m_button->setAccessibleName(tr("Page color"));
    m_button->setToolTip(tr("Page color"));
    m_button->move(columnLeft() + (ColumnWidth - ColorDot::Size) / 2, 0);
    m_column->move(0, ColorDot::Size + Gap);
    m_column->hide();
    connect(m_button, &QAbstractButton::clicked, this, [this] { setOpen(!m_open); });
    connect(m_column, &SwatchColumn::picked, this, [this](int index) {
        Q_EMIT colorPicked(index);
        setOpen(false);
    });
    connect(m_column, &SwatchColumn::closed, this, &PageColorPicker::fitSize);
    fitSize();
}

int PageColorPicker::columnLeft()
{
    return SwatchColumn::ShadowMargin;
}

void PageColorPicker::setButtonColor(const QColor &color)
{
    m_button->setColor(color);
}

void PageColorPicker::setOpen(bool open, bool animated)
{
    if (m_open == open)
        return;
    m_open = open;
    if (open) {
        m_column->open(animated);
        fitSize();
        raise();
    } else {
        m_column->close(animated);
    }
    Q_EMIT openChanged(open);
}

void PageColorPicker::fitSize()
{
    // Closed, only the dot takes clicks; the space under it belongs to the
    // page again.
    const int width = SwatchColumn::ShadowMargin * 2 + ColumnWidth;
    if (m_column->isVisible())
        setFixedSize(width, m_column->geometry().bottom() + 1);
    else
        setFixedSize(width, ColorDot::Size);
}

void PageColorPicker::mousePressEvent(QMouseEvent *event)
{
    // A click beside the dots (in the shadow's room) is a click elsewhere.
    if (m_open)
        setOpen(false);
    event->accept();
}

} // namespace quillery::ui
