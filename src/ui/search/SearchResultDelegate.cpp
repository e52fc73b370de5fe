#include "SearchResultDelegate.h"

#include "SearchResultsModel.h"
#include "core/model/Attachment.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "core/search/TextFolder.h"
#include "gui/theme/AppFont.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/PaletteColor.h"
#include "gui/theme/ThemeColors.h"
#include "ui/theme/Symbols.h"

#include <QPainter>
#include <QTextLayout>

namespace quillery::ui {

namespace {

constexpr int SideMargin = 14;
constexpr int Gutter = 22; // the done mark's column

// The text a task's second line shows, and what it is.
QString detailOf(const TaskItem &task, SearchField field, const TextFolder &folder, const QString &query)
{
    switch (field) {
    case SearchField::Text:
        return {};
    case SearchField::PlaceName:
        return SearchResultDelegate::tr("Place: %1").arg(task.placeName());
    case SearchField::Attachment:
        for (const Attachment *attachment : task.sortedAttachments()) {
            if (folder.find(attachment->name(), query))
                return SearchResultDelegate::tr("File: %1").arg(attachment->name());
        }
        return {};
    case SearchField::Notes:
        return SearchResultDelegate::tr("Notes: %1").arg(task.notes());
    }
    return {};
}

} // namespace

SearchResultDelegate::SearchResultDelegate(
    const SearchResultsModel &model, const TextFolder &folder, const Appearance &appearance, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_model(model)
    , m_folder(folder)
    , m_appearance(appearance)
{ }

QSize SearchResultDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const SearchResultsModel::Row &row = m_model.row(index.row());
    int height = TaskRowHeight;
    if (row.kind == SearchResultsModel::Row::Kind::Page)
        height = PageRowHeight;
    else if (row.kind == SearchResultsModel::Row::Kind::Task && row.field != SearchField::Text)
        height = DetailRowHeight;
    return { option.rect.width(), height };
}

void SearchResultDelegate::drawLine(
    QPainter &painter, const QRect &rect, const QString &raw, const QFont &font, const QColor &lit) const
{
    QString text = raw;
    for (QChar &c : text) {
        if (c == u'\n' || c == u'\t' || c == u'\r')
            c = u' ';
    }
    auto range = m_folder.find(text, m_model.foldedQuery());
    const QFontMetrics metrics(font);
    const QString ellipsis = QStringLiteral("…");
    const int room = rect.width();
    // Start a little before a match that would fall beyond the width.
    if (range && metrics.horizontalAdvance(text.left(range->start + range->length)) > room) {
        const int from = std::max(0, range->start - 12);
        text = ellipsis + text.mid(from);
        range->start += int(ellipsis.size()) - from;
    }
    if (metrics.horizontalAdvance(text) > room) {
        int low = 0, high = int(text.size());
        while (low < high) {
            const int mid = (low + high + 1) / 2;
            if (metrics.horizontalAdvance(text.left(mid)) + metrics.horizontalAdvance(ellipsis) <= room)
                low = mid;
            else
                high = mid - 1;
        }
        text = text.left(low) + ellipsis;
        if (range && range->start + range->length > low)
            range->length = std::max(0, low - range->start);
    }
    QTextLayout layout(text, font);
    if (range && range->length > 0) {
        QTextLayout::FormatRange lit_;
        lit_.start = range->start;
        lit_.length = range->length;
        lit_.format.setBackground(lit);
        layout.setFormats({ lit_ });
    }
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(room + metrics.horizontalAdvance(ellipsis));
    layout.endLayout();
    painter.save();
    painter.setClipRect(rect);
    layout.draw(&painter, QPointF(rect.left(), rect.top() + (rect.height() - line.height()) / 2));
    painter.restore();
}

void SearchResultDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const SearchResultsModel::Row &row = m_model.row(index.row());
    const ColorScheme scheme = m_appearance.scheme();
    const QColor ink = themeColor(ThemeColor::Ink, scheme);
    const QColor muted = themeColor(ThemeColor::MutedInk, scheme);
    const QColor accent = paletteColor(row.page ? row.page->colorIndex() : 0);
    QColor lit = accent;
    lit.setAlphaF(scheme == ColorScheme::Dark ? 0.55f : 0.35f);
    const QRect rect = option.rect;

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (option.state & QStyle::State_Selected) {
        QColor fill = accent;
        fill.setAlphaF(0.16f);
        painter->fillRect(rect, fill);
        painter->fillRect(QRect(rect.left(), rect.top(), 3, rect.height()), accent);
    }

    const QRect inner = rect.adjusted(SideMargin, 0, -SideMargin, 0);
    switch (row.kind) {
    case SearchResultsModel::Row::Kind::Page: {
        constexpr int Dot = 10;
        painter->setPen(Qt::NoPen);
        painter->setBrush(accent);
        painter->drawEllipse(QRectF(inner.left() + (Gutter - Dot) / 2.0, inner.center().y() - Dot / 2.0 + 2, Dot, Dot));
        painter->setPen(ink);
        const QString title = index.data().toString();
        drawLine(*painter, inner.adjusted(Gutter, 4, 0, 0), title, systemFont(13, QFont::Bold), lit);
        break;
    }
    case SearchResultsModel::Row::Kind::Task: {
        if (!row.task)
            break;
        const bool done = row.task->done();
        const QRect first(inner.left(), inner.top(), inner.width(), TaskRowHeight);
        if (done) {
            const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
            const QPixmap mark = Symbols::pixmap(QStringLiteral("checkmark"), 12, muted, ratio);
            painter->drawPixmap(QPointF(first.left() + (Gutter - 12) / 2.0, first.center().y() - 6 + 1), mark);
        } else {
            painter->setPen(QPen(muted, 1.2));
            painter->setBrush(Qt::NoBrush);
            painter->drawEllipse(QRectF(first.left() + (Gutter - 11) / 2.0, first.center().y() - 5.5 + 1, 11, 11));
        }
        QFont font = systemFont(14);
        font.setStrikeOut(done);
        painter->setPen(done ? muted : ink);
        drawLine(*painter, first.adjusted(Gutter, 0, 0, 0), row.task->text(), font, lit);
        if (row.field != SearchField::Text) {
            painter->setPen(muted);
            const QRect second(first.left() + Gutter, first.bottom() - 4, first.width() - Gutter, 20);
            drawLine(
                *painter, second, detailOf(*row.task, row.field, m_folder, m_model.foldedQuery()), systemFont(12), lit);
        }
        break;
    }
    case SearchResultsModel::Row::Kind::More:
        painter->setPen(muted);
        drawLine(*painter, inner.adjusted(Gutter, 0, 0, 0), index.data().toString(), systemFont(12), Qt::transparent);
        break;
    }
    painter->restore();
}

} // namespace quillery::ui
