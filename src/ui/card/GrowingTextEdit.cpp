#include "GrowingTextEdit.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>

namespace quillery::ui {

GrowingTextEdit::GrowingTextEdit(int minimumLines, int maximumLines, QWidget *parent)
    : QTextEdit(parent)
    , m_minimumLines(minimumLines)
    , m_maximumLines(maximumLines)
{
    setAcceptRichText(false);
    setTabChangesFocus(true);
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    document()->setDocumentMargin(0);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    connect(document(), &QTextDocument::contentsChanged, this, &GrowingTextEdit::fitHeight);
    fitHeight();
}

void GrowingTextEdit::showText(const QString &text)
{
    if (toPlainText() == text)
        return;
    const int position = textCursor().position();
    // Quietly: replacing the text passes through an empty field, which
    // must not be taken for an edit.
    const QSignalBlocker quiet(this);
    setPlainText(text);
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::min(position, static_cast<int>(text.size())));
    setTextCursor(cursor);
}

int GrowingTextEdit::lineHeight() const
{
    // Lines of a text document are spaced by the font's height (no leading).
    return QFontMetrics(font()).height();
}

int GrowingTextEdit::heightFor(int lines) const
{
    return lines * lineHeight() + 2 * frameWidth();
}

int GrowingTextEdit::visibleLines() const
{
    return std::max(1, (height() - 2 * frameWidth()) / std::max(1, lineHeight()));
}

void GrowingTextEdit::fitHeight()
{
    // Count the laid-out lines of every paragraph at the present width
    // (asking for the size completes the layout first).
    document()->size();
    int lines = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        lines += layout && layout->lineCount() > 0 ? layout->lineCount() : 1;
    }
    const int shown = std::clamp(lines, m_minimumLines, m_maximumLines);
    const int wanted = heightFor(shown);
    setVerticalScrollBarPolicy(lines > m_maximumLines ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    if (height() != wanted || minimumHeight() != wanted) {
        setFixedHeight(wanted);
        updateGeometry();
    }
}

QSize GrowingTextEdit::sizeHint() const
{
    return { 200, height() > 0 ? height() : heightFor(m_minimumLines) };
}

QSize GrowingTextEdit::minimumSizeHint() const
{
    return { 60, heightFor(m_minimumLines) };
}

void GrowingTextEdit::keyPressEvent(QKeyEvent *event)
{
    if (m_singleParagraph && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        event->accept();
        Q_EMIT returnPressed();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void GrowingTextEdit::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText())
        return;
    QString text = source->text();
    if (m_singleParagraph) {
        text.replace(QLatin1String("\r\n"), QLatin1String(" "));
        text.replace(u'\n', u' ').replace(u'\r', u' ').replace(QChar::ParagraphSeparator, u' ');
    }
    insertPlainText(text);
}

void GrowingTextEdit::resizeEvent(QResizeEvent *event)
{
    QTextEdit::resizeEvent(event);
    fitHeight();
}

void GrowingTextEdit::changeEvent(QEvent *event)
{
    QTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitHeight();
}

} // namespace quillery::ui
