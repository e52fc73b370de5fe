#pragma once

#include <QStyledItemDelegate>

namespace quillery {
class Appearance;
class TextFolder;
} // namespace quillery

namespace quillery::ui {

class SearchResultsModel;

// Draws the rows of the search list: a page's colour dot and title; a task
// with its done mark (done tasks struck through), and, when the match is
// not in its text, a second line with the place, file name or notes that
// matched. The matched part is lit in the page's colour.
class SearchResultDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int PageRowHeight = 34;
    static constexpr int TaskRowHeight = 30;
    static constexpr int DetailRowHeight = 48;

    SearchResultDelegate(const SearchResultsModel &model, const TextFolder &folder, const Appearance &appearance,
        QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    // Draws `text` on one line in `rect`, the match of the query lit, cut
    // to fit with an ellipsis and, when the match lies beyond the width,
    // starting shortly before it.
    void drawLine(
        QPainter &painter, const QRect &rect, const QString &text, const QFont &font, const QColor &lit) const;

    const SearchResultsModel &m_model;
    const TextFolder &m_folder;
    const Appearance &m_appearance;
};

} // namespace quillery::ui
