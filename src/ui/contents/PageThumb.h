#pragma once

#include "core/theme/ColorScheme.h"

#include <QCoreApplication>
#include <QList>
#include <QPixmap>
#include <QRectF>
#include <QString>

class QPainter;

namespace quillery {
class Page;
}

namespace quillery::ui {

// One page in miniature, as the contents grid shows it: the page's paper,
// its title (or "Untitled"), a short rule, the first tasks with their done
// marks, how many more there are, a bookmark strip in the page's colour and
// the page number. Drawn, not built from widgets, so that a grid of hundreds
// of pages costs only the thumbnails on screen.
class PageThumb final
{
    Q_DECLARE_TR_FUNCTIONS(PageThumb)
public:
    static constexpr double Width = 190;
    static constexpr double Height = 262;
    static constexpr int MaxLines = 8;

    // What the thumbnail of a page says, read from the page once.
    struct Content {
        struct Line {
            QString text;
            bool done = false;
        };
        QString title; // "Untitled" stands in for an empty title
        bool untitled = false;
        int colorIndex = 0;
        int number = 1;
        QList<Line> lines; // at most MaxLines
        int more = 0; // tasks beyond the lines drawn
    };

    // How the thumbnails are drawn at the moment.
    struct Look {
        ColorScheme scheme = ColorScheme::Light;
        QString typeface;
        friend bool operator==(const Look &, const Look &) = default;
    };

    // The content of `page` shown as page `number` (1-based); done tasks are
    // left out when `hideCompleted`.
    static Content content(const Page &page, int number, bool hideCompleted);

    // "+N more".
    static QString moreText(int count);

    // Draws the thumbnail into `rect` (which is Width × Height).
    static void paint(QPainter &painter, const QRectF &rect, const Content &content, const Look &look);

    // The thumbnail as a picture for a screen of `devicePixelRatio`.
    static QPixmap picture(const Content &content, const Look &look, qreal devicePixelRatio);
};

} // namespace quillery::ui
