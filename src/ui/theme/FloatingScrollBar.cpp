#include "FloatingScrollBar.h"

#include <QAbstractScrollArea>
#include <QEvent>

namespace quillery::ui {

namespace {

const char *const BarStyle = R"(
QScrollBar { background: transparent; margin: 0; }
QScrollBar:vertical { width: 8px; }
QScrollBar:horizontal { height: 8px; }
QScrollBar::handle { background: rgba(142, 142, 147, 115); border-radius: 2px; margin: 2px; }
QScrollBar::handle:vertical { min-height: 32px; }
QScrollBar::handle:horizontal { min-width: 32px; }
QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; border: none; background: none; }
QScrollBar::add-page, QScrollBar::sub-page { background: transparent; }
)";

} // namespace

FloatingScrollBar::FloatingScrollBar(Qt::Orientation orientation, QAbstractScrollArea *area, QWidget *host)
    : QScrollBar(orientation, host)
    , m_area(area)
{
    setObjectName(QStringLiteral("floatingScrollBar"));
    setStyleSheet(QString::fromLatin1(BarStyle));
    setCursor(Qt::ArrowCursor);
    QScrollBar *inner = orientation == Qt::Vertical ? area->verticalScrollBar() : area->horizontalScrollBar();
    if (orientation == Qt::Vertical)
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    else
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(inner, &QScrollBar::rangeChanged, this, [this, inner](int min, int max) {
        setRange(min, max);
        setPageStep(inner->pageStep());
        setVisible(max > min);
        raise();
    });
    connect(inner, &QScrollBar::valueChanged, this, &QScrollBar::setValue);
    connect(this, &QScrollBar::valueChanged, inner, &QScrollBar::setValue);
    setRange(inner->minimum(), inner->maximum());
    setPageStep(inner->pageStep());
    setValue(inner->value());
    setVisible(inner->maximum() > inner->minimum());
    host->installEventFilter(this);
    place();
}

void FloatingScrollBar::setInsets(int start, int end, int edge)
{
    m_start = start;
    m_end = end;
    m_edge = edge;
    place();
}

bool FloatingScrollBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        place();
    return QScrollBar::eventFilter(watched, event);
}

void FloatingScrollBar::place()
{
    const QWidget *host = parentWidget();
    if (orientation() == Qt::Vertical) {
        setGeometry(
            host->width() - Thickness - m_edge, m_start, Thickness, std::max(0, host->height() - m_start - m_end));
    } else {
        setGeometry(
            m_start, host->height() - Thickness - m_edge, std::max(0, host->width() - m_start - m_end), Thickness);
    }
    raise();
}

} // namespace quillery::ui
