#pragma once

#include "ui/theme/CaretLineEdit.h"

#include "core/pages/AddLine.h"

#include <QWidget>

class QLineEdit;

namespace quillery {
class Appearance;
} // namespace quillery

namespace quillery::ui {

// The line at the end of a page's list where new tasks are typed: an empty
// circle where the check box will be, the text field ("Add a task") and a
// hair line under it. A leading space makes it a subtask line (inset one
// level); Return adds the typed text and keeps typing on a fresh line, and
// on an empty line first steps back to the top level, then leaves the field.
// It does not create tasks itself: it asks for them with `addRequested`.
class AddTaskRow final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int MinimumHeight = 44;

    explicit AddTaskRow(const Appearance &appearance, QWidget *parent = nullptr);

    QLineEdit *field() const { return m_field; }
    int indentLevel() const { return m_line.indent(); }
    QString draft() const { return m_line.draft(); }

    void setFieldFont(const QFont &font);
    // The page's colour, for the field's caret.
    void setAccent(const QColor &accent);
    // Drawn as a picture: the field shows its placeholder and takes no input.
    void setSnapshot(bool snapshot);
    // An empty top-level line again.
    void reset();

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

Q_SIGNALS:
    void addRequested(const QString &text, int indent);
    // The field gained or lost the keyboard focus (not when only the window
    // or a popup took it for a moment).
    void focusChanged(bool focused);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void edited(const QString &text);
    void submit();
    void placeField();

    const Appearance &m_appearance;
    AddLine m_line;
    CaretLineEdit *m_field = nullptr;
};

} // namespace quillery::ui
