#pragma once

#include <QTextEdit>

namespace quillery::ui {

// A plain, frameless text field on the card's paper that grows with its
// text from `minimumLines` to `maximumLines` lines and scrolls beyond that.
// Tab moves on to the next control. A single-line field (the task's title)
// wraps its text but takes no line breaks: Return leaves the field, and
// pasted line breaks become spaces.
class GrowingTextEdit final : public QTextEdit
{
    Q_OBJECT
public:
    GrowingTextEdit(int minimumLines, int maximumLines, QWidget *parent = nullptr);

    void setSingleParagraph(bool single) { m_singleParagraph = single; }
    bool isSingleParagraph() const { return m_singleParagraph; }

    // Replaces the text only when it differs, keeping the cursor where it
    // was as far as the new text allows (for changes from elsewhere). Emits
    // no textChanged: what is shown is already what is stored.
    void showText(const QString &text);

    // The number of lines the field is now tall enough for.
    int visibleLines() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // Return was pressed in a single-paragraph field.
    void returnPressed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void fitHeight();
    int lineHeight() const;
    int heightFor(int lines) const;

    int m_minimumLines;
    int m_maximumLines;
    bool m_singleParagraph = false;
};

} // namespace quillery::ui
