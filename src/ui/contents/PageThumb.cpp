#include "PageThumb.h"

#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "gui/theme/AppFont.h"
#include "gui/theme/PageShape.h"
#include "gui/theme/PaletteColor.h"
#include "gui/theme/ThemeColors.h"
#include "ui/theme/PaperBackground.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

namespace quillery::ui {

namespace {

constexpr double LeadingPadding = 16;
constexpr double TrailingPadding = 14;
constexpr double TitleTop = 26;
constexpr double TitleTrailing = 26;
constexpr int TitleMaxLines = 2;
constexpr double RuleGap = 5;
constexpr double RuleWidth = 28;
constexpr double RuleHeight = 2.5;
constexpr double LinesGap = 10;
constexpr double LineHeight = 19;
constexpr double LineSpacing = 6;
constexpr double MarkSize = 8;
constexpr double NumberBottom = 10;
constexpr double StripLeft = 160;
constexpr double StripTop = 28;
constexpr double StripWidth = 12;
constexpr double StripHeight = 24;

// Lays `text` out in at most `maxLines` lines of `width`, the last one elided.
QStringList wrapped(const QString &text, const QFont &font, double width, int maxLines)
{
    QStringList lines;
    QTextLayout layout(text, font);
    layout.beginLayout();
    while (lines.size() < maxLines) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        if (lines.size() == maxLines - 1) {
            const QString rest = text.mid(line.textStart());
            lines << QFontMetricsF(font).elidedText(rest.simplified(), Qt::ElideRight, width);
        } else {
            lines << text.mid(line.textStart(), line.textLength()).trimmed();
        }
    }
    layout.endLayout();
    return lines;
}

} // namespace

PageThumb::Content PageThumb::content(const Page &page, int number, bool hideCompleted)
{
    Content content;
    content.title = page.title();
    content.untitled = content.title.isEmpty();
    if (content.untitled)
        content.title = tr("Untitled");
    content.colorIndex = page.colorIndex();
    content.number = number;
    int shown = 0;
    for (const TaskItem *task : page.sortedTasks()) {
        if (hideCompleted && task->done())
            continue;
        if (shown++ < MaxLines)
            content.lines.append(Content::Line { task->text(), task->done() });
    }
    content.more = std::max(0, shown - MaxLines);
    return content;
}

QString PageThumb::moreText(int count)
{
    return tr("+%n more", nullptr, count);
}

void PageThumb::paint(QPainter &painter, const QRectF &rect, const Content &content, const Look &look)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QPainterPath shape = roundedPageShape(rect);
    painter.setClipPath(shape, Qt::IntersectClip);

    PaperBackground::paint(painter, rect, content.colorIndex, look.scheme);

    const QColor ink = themeColor(ThemeColor::Ink, look.scheme);
    const QColor muted = themeColor(ThemeColor::MutedInk, look.scheme);
    const QColor accent = paletteColor(content.colorIndex);

    painter.fillRect(QRectF(rect.left() + StripLeft, rect.top() + StripTop, StripWidth, StripHeight), accent);

    const double left = rect.left() + LeadingPadding;
    const double columnWidth = rect.width() - LeadingPadding - TrailingPadding;
    double y = rect.top() + TitleTop;

    // Title.
    const QFont titleFont = appFont(17, QFont::Bold, look.typeface);
    const QFontMetricsF titleMetrics(titleFont);
    painter.setFont(titleFont);
    painter.setPen(content.untitled ? muted : ink);
    for (const QString &line : wrapped(content.title, titleFont, columnWidth - TitleTrailing, TitleMaxLines)) {
        painter.drawText(QPointF(left, y + titleMetrics.ascent()), line);
        y += titleMetrics.lineSpacing();
    }

    // The rule under it.
    y += RuleGap;
    painter.setPen(Qt::NoPen);
    painter.setBrush(accent);
    painter.drawRoundedRect(QRectF(left, y, RuleWidth, RuleHeight), RuleHeight / 2, RuleHeight / 2);
    y += RuleHeight + LinesGap;

    // Task lines.
    QFont taskFont = appFont(10.5, QFont::Normal, look.typeface);
    QFont doneFont = taskFont;
    doneFont.setStrikeOut(true);
    const QFontMetricsF taskMetrics(taskFont);
    const double textLeft = left + MarkSize + LineSpacing;
    const double textWidth = rect.right() - TrailingPadding - textLeft;
    for (const Content::Line &line : content.lines) {
        const QRectF mark(left + 0.5, y + (LineHeight - MarkSize) / 2 + 0.5, MarkSize - 1, MarkSize - 1);
        painter.setPen(QPen(muted, 1));
        painter.setBrush(line.done ? QBrush(muted) : QBrush(Qt::NoBrush));
        painter.drawEllipse(mark);
        painter.setFont(line.done ? doneFont : taskFont);
        painter.setPen(line.done ? muted : ink);
        const QString text = taskMetrics.elidedText(line.text.simplified(), Qt::ElideRight, textWidth);
        const double baseline = y + (LineHeight - taskMetrics.height()) / 2 + taskMetrics.ascent();
        painter.drawText(QPointF(textLeft, baseline), text);
        y += LineHeight;
    }
    if (content.more > 0) {
        const QFont moreFont = systemFont(9);
        const QFontMetricsF moreMetrics(moreFont);
        painter.setFont(moreFont);
        painter.setPen(muted);
        painter.drawText(QPointF(left, y + moreMetrics.ascent() + 2), moreText(content.more));
    }

    // Page number, centred at the foot.
    const QFont numberFont = systemFont(13, QFont::DemiBold);
    const QFontMetricsF numberMetrics(numberFont);
    painter.setFont(numberFont);
    painter.setPen(muted);
    const QString number = QString::number(content.number);
    painter.drawText(QPointF(rect.center().x() - numberMetrics.horizontalAdvance(number) / 2,
                         rect.bottom() - NumberBottom - numberMetrics.descent()),
        number);

    // Hairline edge, inside the shape.
    painter.setClipping(false);
    painter.setPen(QPen(QColor(0, 0, 0, 31), 0.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(roundedPageShape(rect.adjusted(0.25, 0.25, -0.25, -0.25)));
    painter.restore();
}

QPixmap PageThumb::picture(const Content &content, const Look &look, qreal devicePixelRatio)
{
    QPixmap pixmap(QSize(
        static_cast<int>(std::ceil(Width * devicePixelRatio)), static_cast<int>(std::ceil(Height * devicePixelRatio))));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(painter, QRectF(0, 0, Width, Height), content, look);
    return pixmap;
}

} // namespace quillery::ui
