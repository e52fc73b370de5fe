#pragma once

#include <QPointer>
#include <QScrollBar>

class QAbstractScrollArea;

namespace quillery::ui {

// A slim, translucent scroll bar that floats over one edge of a scroll area
// instead of taking room from it, so the content never reflows when it
// appears. It mirrors the area's own bar (which stays hidden), shows only
// while there is something to scroll, and keeps its place along the edge of
// `host` (the area itself, or a widget around it) when the host is resized.
class FloatingScrollBar final : public QScrollBar
{
    Q_OBJECT
public:
    static constexpr int Thickness = 8;

    FloatingScrollBar(Qt::Orientation orientation, QAbstractScrollArea *area, QWidget *host);

    // Room left free at both ends of the edge, and between the bar and the
    // edge itself.
    void setInsets(int start, int end, int edge);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    QPointer<QAbstractScrollArea> m_area;
    int m_start = 0;
    int m_end = 0;
    int m_edge = 0;
};

} // namespace quillery::ui
