#pragma once

#include "core/places/PlaceSuggestion.h"

#include <QAbstractButton>

class QLabel;

namespace quillery::ui {

// One suggestion in the picker's list: a map-pin symbol, the title and, when
// there is one, the subtitle. Clicking it (or Return or Space on it) picks it.
// Both texts come from outside and are shown as plain text, never as markup.
class SuggestionRow final : public QAbstractButton
{
    Q_OBJECT
public:
    explicit SuggestionRow(const PlaceSuggestion &suggestion, QWidget *parent = nullptr);

    const PlaceSuggestion &suggestion() const { return m_suggestion; }
    QLabel *titleLabel() const { return m_title; }
    QLabel *subtitleLabel() const { return m_subtitle; }

    QSize sizeHint() const override;

    // Where the texts begin, for the hairlines between rows.
    static constexpr int TextIndent = 16 + 22 + 12;

Q_SIGNALS:
    // Up or Down was pressed on the row: move to a neighbour.
    void moveRequested(int step);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateSymbol();

    PlaceSuggestion m_suggestion;
    QLabel *m_symbol;
    QLabel *m_title;
    QLabel *m_subtitle;
    bool m_hovered = false;
};

} // namespace quillery::ui
