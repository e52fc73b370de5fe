#include "AddTaskRow.h"

#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"
#include "ui/tasks/TaskRow.h"
#include "ui/tasks/TaskRowCheck.h"

#include "ui/theme/CaretLineEdit.h"
#include <QFocusEvent>

#include <QLineEdit>
#include <QPainter>

namespace quillery::ui {

namespace {
constexpr int Spacing = 12;
constexpr double CircleLine = 1.8;
} // namespace

AddTaskRow::AddTaskRow(const Appearance &appearance, QWidget *parent)
    : QWidget(parent)
    , m_appearance(appearance)
    , m_field(new CaretLineEdit(this))
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    m_field->setObjectName(QStringLiteral("addTaskField"));
    m_field->setFrame(false);
    m_field->setPlaceholderText(tr("Add a task"));
    m_field->setAccessibleName(tr("Add a task"));
    m_field->setAttribute(Qt::WA_MacShowFocusRect, false);
    m_field->installEventFilter(this);
    connect(m_field, &QLineEdit::textEdited, this, &AddTaskRow::edited);
    connect(m_field, &QLineEdit::returnPressed, this, &AddTaskRow::submit);
}

void AddTaskRow::setFieldFont(const QFont &font)
{
    if (m_field->font() == font)
        return;
    m_field->setFont(font);
    updateGeometry();
    placeField();
}

void AddTaskRow::setAccent(const QColor &accent)
{
    m_field->setCaretColor(accent);
}

void AddTaskRow::setSnapshot(bool snapshot)
{
    m_field->setReadOnly(snapshot);
    m_field->setFocusPolicy(snapshot ? Qt::NoFocus : Qt::StrongFocus);
}

void AddTaskRow::reset()
{
    m_line.reset();
    m_field->clear();
    placeField();
    update();
}

void AddTaskRow::edited(const QString &text)
{
    const int indent = m_line.indent();
    if (m_line.edit(text))
        m_field->setText(m_line.draft());
    if (indent != m_line.indent()) {
        placeField();
        update();
    }
}

void AddTaskRow::submit()
{
    // The field may hold text the rules have not seen (set programmatically).
    if (m_field->text() != m_line.draft())
        edited(m_field->text());
    const int indent = m_line.indent();
    const AddLine::Submission submission = m_line.submit();
    switch (submission.action) {
    case AddLine::Submission::Add:
        // Not clear(): the text is a task now, and taking it back is the
        // book's undo, not the field's.
        m_field->setText(QString());
        Q_EMIT addRequested(submission.text, submission.indent);
        // Typing goes on on a fresh line.
        if (!m_field->hasFocus() && m_field->focusPolicy() != Qt::NoFocus)
            m_field->setFocus(Qt::OtherFocusReason);
        break;
    case AddLine::Submission::ResetLevel:
        break;
    case AddLine::Submission::Leave:
        m_field->clearFocus();
        break;
    }
    if (indent != m_line.indent()) {
        placeField();
        update();
    }
}

bool AddTaskRow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // The window going to the background or a menu opening leaves the
        // field where it was: typing resumes there.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Q_EMIT focusChanged(event->type() == QEvent::FocusIn);
    }
    return QWidget::eventFilter(watched, event);
}

int AddTaskRow::heightForWidth(int) const
{
    return std::max(MinimumHeight, m_field->sizeHint().height() + 2);
}

QSize AddTaskRow::sizeHint() const
{
    return { std::max(width(), 300), heightForWidth(width()) };
}

void AddTaskRow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeField();
}

void AddTaskRow::placeField()
{
    const int left = m_line.indent() * TaskRow::IndentStep + TaskRowCheck::Size + Spacing;
    const int fieldHeight = m_field->sizeHint().height();
    // The field draws its text 2 points in; line it up with the task texts.
    m_field->setGeometry(left - 2, (height() - 1 - fieldHeight) / 2, std::max(1, width() - left + 2), fieldHeight);
}

void AddTaskRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const ColorScheme scheme = m_appearance.scheme();
    const int indentX = m_line.indent() * TaskRow::IndentStep;

    QColor ring = themeColor(ThemeColor::MutedInk, scheme);
    ring.setAlphaF(0.4);
    painter.setPen(QPen(ring, CircleLine));
    painter.setBrush(Qt::NoBrush);
    const double size = TaskRowCheck::Size;
    const QRectF circle(indentX, (height() - 1 - size) / 2.0, size, size);
    painter.drawEllipse(circle.adjusted(CircleLine / 2, CircleLine / 2, -CircleLine / 2, -CircleLine / 2));

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(indentX, height() - 1, width() - indentX, 1), themeColor(ThemeColor::Rule, scheme));
}

} // namespace quillery::ui
