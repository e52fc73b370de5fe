#include "TaskRow.h"

#include "TaskRowCheck.h"
#include "core/alarms/AlarmService.h"
#include "core/app/Preferences.h"
#include "core/model/TaskItem.h"
#include "core/tasks/TaskActions.h"
#include "core/tasks/TaskSummary.h"
#include "gui/theme/AppFont.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"
#include "ui/lift/LiftShadow.h"
#include "ui/theme/CaretLineEdit.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <cmath>

namespace quillery::ui {

namespace {

constexpr int CheckTop = 11;
constexpr int Spacing = 12;
constexpr int TextInset = 10;
constexpr int SummaryGap = 2;
constexpr int RuleHeight = 1;
// Deeper levels than this would leave no room for the text.
constexpr int MaxDrawnIndent = 6;
constexpr double FocusRingWidth = 2.0;
// How long a repeating task shows its tick before it shows its next day.
constexpr int MovedTickMSecs = 700;

// Fields the row shows; other changes (order, page) are the list's concern.
bool showsField(Field field)
{
    switch (field) {
    case Field::Text:
    case Field::Done:
    case Field::Indent:
    case Field::Due:
    case Field::Alarm:
    case Field::Notes:
    case Field::PlaceName:
    case Field::PlaceAddress:
    case Field::Latitude:
    case Field::Longitude:
    case Field::Repeat:
        return true;
    default:
        return false;
    }
}

} // namespace

TaskRow::TaskRow(TaskItem *task, const Services &services, QWidget *parent)
    : QWidget(parent)
    , m_task(task)
    , m_taskId(task ? task->id() : QUuid())
    , m_services(services)
    , m_check(new TaskRowCheck(*services.appearance, this))
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setAccessibleDescription(QString());
    // Focusable, so the keyboard can move it; a click on the box focuses
    // the row too.
    setFocusPolicy(Qt::StrongFocus);
    m_check->installEventFilter(this);
    m_summaryFont = systemFont(14, QFont::Medium);

    connect(m_check, &QAbstractButton::clicked, this, &TaskRow::toggle);
    m_moved = new QTimer(this);
    m_moved->setSingleShot(true);
    m_moved->setInterval(MovedTickMSecs);
    connect(m_moved, &QTimer::timeout, this, [this] {
        m_check->setDone(m_done, true);
        refresh();
    });
    if (task) {
        connect(task->notifier(), &RecordNotifier::changed, this, [this](Field field) {
            if (showsField(field))
                refresh();
        });
        connect(task->notifier(), &TaskNotifier::attachmentsChanged, this, &TaskRow::refreshSummary);
    }
    if (m_services.preferences)
        connect(m_services.preferences, &Preferences::typefaceChanged, this, &TaskRow::refresh);
    refresh();
}

TaskRow::~TaskRow()
{
    delete m_shadow.data();
}

TaskItem *TaskRow::task() const
{
    TaskItem *task = m_task.data();
    return task && !task->isDeleted() ? task : nullptr;
}

void TaskRow::setAccent(const QColor &accent)
{
    m_check->setAccent(accent);
    if (m_accent == accent)
        return;
    m_accent = accent;
    if (showsFocus())
        update();
}

void TaskRow::refresh()
{
    TaskItem *task = this->task();
    if (!task || m_moved->isActive())
        return; // removed, or ticked and moving on: keep showing what was last read
    const QString typeface = m_services.preferences ? m_services.preferences->typeface() : QString();
    const QFont titleFont = appFont(18, QFont::Normal, typeface);
    const QString title = task->text();
    const int indent = std::clamp(task->indent(), 0, MaxDrawnIndent);
    const bool done = task->done();
    const bool geometryChanged = title != m_title || indent != m_indent || titleFont != m_titleFont;

    m_title = title;
    m_indent = indent;
    m_titleFont = titleFont;
    m_done = done;
    m_check->setDone(done);
    setAccessibleName(title);
    if (geometryChanged) {
        m_cachedWidth = -1;
        placeCheck();
    }
    const bool hadSummary = !m_summary.isEmpty();
    refreshSummary();
    if (geometryChanged || hadSummary != !m_summary.isEmpty()) {
        updateGeometry();
        Q_EMIT heightChanged();
    }
    update();
}

void TaskRow::refreshSummary()
{
    TaskItem *task = this->task();
    if (!task)
        return;
    const auto summary = summaryLine(*task, m_services.calendar);
    const QString text = summary.value_or(QString());
    const bool overdue = isOverdue(*task, m_services.calendar);
    if (text == m_summary && overdue == m_overdue)
        return;
    const bool heightMayChange = text.isEmpty() != m_summary.isEmpty();
    m_summary = text;
    m_overdue = overdue;
    setAccessibleDescription(text);
    if (heightMayChange) {
        updateGeometry();
        Q_EMIT heightChanged();
    }
    update();
}

void TaskRow::toggle()
{
    TaskItem *task = this->task();
    if (!task) {
        m_check->setDone(m_done);
        return;
    }
    if (m_moved->isActive()) {
        // A second tick while the first still shows is the same tick.
        m_check->setDone(true);
        return;
    }
    const bool done = !task->done();
    // Spring the box first, so the write's own refresh finds it settled.
    m_check->setDone(done, true);
    // Held before the write, whose own refresh would show the new day at once.
    if (done && !task->repeat().isEmpty())
        m_moved->start();
    if (!TaskActions(m_services.alarms).toggleDone(task, m_services.calendar) && m_moved->isActive()) {
        m_moved->stop(); // its last occurrence: ticked for good
        refresh();
    }
}

int TaskRow::textLeft() const
{
    return m_indent * IndentStep + TaskRowCheck::Size + Spacing;
}

int TaskRow::titleHeight(int width) const
{
    const int textWidth = std::max(1, width - textLeft());
    if (textWidth == m_cachedWidth)
        return m_cachedTitleHeight;
    const QFontMetricsF metrics(m_titleFont);
    double height = metrics.height();
    if (!m_title.isEmpty()) {
        height = std::max(height,
            metrics.boundingRect(QRectF(0, 0, textWidth, 1e6), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, m_title)
                .height());
    }
    m_cachedWidth = textWidth;
    m_cachedTitleHeight = static_cast<int>(std::ceil(height));
    return m_cachedTitleHeight;
}

int TaskRow::summaryHeight() const
{
    if (m_summary.isEmpty())
        return 0;
    return SummaryGap + static_cast<int>(std::ceil(QFontMetricsF(m_summaryFont).height()));
}

int TaskRow::lineHeight(int width) const
{
    return std::max(MinimumLineHeight, TextInset + titleHeight(width) + summaryHeight() + TextInset);
}

int TaskRow::heightForWidth(int width) const
{
    return lineHeight(width) + RuleHeight;
}

QSize TaskRow::sizeHint() const
{
    const int width = std::max(this->width(), 300);
    return { width, heightForWidth(width) };
}

QSize TaskRow::minimumSizeHint() const
{
    return { textLeft() + 40, MinimumLineHeight + RuleHeight };
}

void TaskRow::placeCheck()
{
    const int indentX = m_indent * IndentStep;
    m_check->move(
        static_cast<int>(std::lround(indentX * m_liftScale)), static_cast<int>(std::lround(CheckTop * m_liftScale)));
}

void TaskRow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeCheck();
}

void TaskRow::setLiftOffset(const QPointF &offset)
{
    if (m_liftOffset == offset)
        return;
    m_liftOffset = offset;
    Q_EMIT liftOffsetChanged();
}

void TaskRow::setLiftScale(double scale)
{
    if (m_liftScale == scale)
        return;
    m_liftScale = scale;
    placeCheck();
    update();
}

void TaskRow::setLifted(bool lifted)
{
    if (m_lifted == lifted)
        return;
    m_lifted = lifted;
    if (lifted) {
        raise();
        if (parentWidget())
            m_shadow = new LiftShadow(this);
    } else {
        delete m_shadow.data();
    }
    update();
}

void TaskRow::cancelPress()
{
    m_pressedInText = false;
    m_check->setDown(false);
}

bool TaskRow::moveKey(QKeyEvent *event, bool act)
{
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        break;
    default:
        return false;
    }
    if (!act)
        return true;
    if (!m_focusShown) {
        m_focusShown = true;
        update();
    }
    switch (event->key()) {
    case Qt::Key_Up:
        Q_EMIT moveRequested(-1);
        break;
    case Qt::Key_Down:
        Q_EMIT moveRequested(1);
        break;
    case Qt::Key_Right:
        Q_EMIT levelRequested(layoutDirection() == Qt::RightToLeft ? 0 : 1);
        break;
    default:
        Q_EMIT levelRequested(layoutDirection() == Qt::RightToLeft ? 1 : 0);
        break;
    }
    return true;
}

QLineEdit *TaskRow::titleEditor() const
{
    return m_editor.data();
}

bool TaskRow::showsFocus() const
{
    return m_focusShown && (hasFocus() || m_check->hasFocus());
}

bool TaskRow::actionKey(QKeyEvent *event)
{
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    TaskItem *task = this->task();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (task)
            Q_EMIT openRequested(task);
        return true;
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            toggle();
        return true;
    case Qt::Key_F2:
        editTitle();
        return true;
    default:
        return false;
    }
}

void TaskRow::editTitle()
{
    TaskItem *task = this->task();
    if (!task || m_editor || m_lifted)
        return;
    auto *editor = new CaretLineEdit(this);
    editor->setObjectName(QStringLiteral("rowTitleEditor"));
    editor->setFrame(false);
    editor->setFont(m_titleFont);
    editor->setAccessibleName(task->text());
    editor->setCaretColor(m_accent.isValid() ? m_accent : themeColor(ThemeColor::Ink, m_services.appearance->scheme()));
    QPalette palette = editor->palette();
    palette.setColor(QPalette::Base, themeColor(ThemeColor::Paper, m_services.appearance->scheme()));
    palette.setColor(QPalette::Text, themeColor(ThemeColor::Ink, m_services.appearance->scheme()));
    editor->setPalette(palette);
    editor->setText(task->text());
    editor->selectAll();
    const int height = QFontMetrics(m_titleFont).height() + 4;
    editor->setGeometry(textLeft() - 2, TextInset - 2, std::max(40, width() - textLeft() + 2), height);
    connect(editor, &QLineEdit::editingFinished, this, [this] { finishEditing(true); });
    editor->installEventFilter(this);
    m_editor = editor;
    editor->show();
    editor->setFocus(Qt::OtherFocusReason);
}

void TaskRow::finishEditing(bool keep)
{
    QLineEdit *editor = m_editor.data();
    if (!editor)
        return;
    m_editor = nullptr;
    const QString text = editor->text();
    const bool hadFocus = editor->hasFocus();
    editor->hide();
    editor->deleteLater();
    // A title emptied here is taken back: a task is deleted from its card,
    // never by clearing a line by mistake.
    if (TaskItem *task = this->task(); keep && task && !text.trimmed().isEmpty())
        task->setText(text);
    if (hadFocus) {
        m_focusShown = true;
        setFocus(Qt::OtherFocusReason);
    }
    update();
}

bool TaskRow::event(QEvent *event)
{
    // Claimed before any shortcut sees them: Alt+Left and Alt+Right on a row
    // must not reach the book's page turning.
    if (event->type() == QEvent::ShortcutOverride && moveKey(static_cast<QKeyEvent *>(event), false)) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

bool TaskRow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor.data()) {
        // Escape leaves the title as it was, and goes no further (an open
        // card or the contents would take it as theirs).
        // Return keeps the edit and is spent here: the line edit passes it
        // on, and the row would take it as "open the card".
        if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
                event->accept();
                if (event->type() == QEvent::KeyPress)
                    finishEditing(key != Qt::Key_Escape);
                return true;
            }
        }
        return QWidget::eventFilter(watched, event);
    }
    if (watched == m_check && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        // The box stands for its row: Tab to it rings the row as Tab to
        // the row does.
        if (event->type() == QEvent::FocusIn) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
                m_focusShown = true;
            else if (reason == Qt::MouseFocusReason)
                m_focusShown = false;
        }
        update();
    }
    if (watched == m_check && (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (moveKey(key, event->type() == QEvent::KeyPress)) {
            event->accept();
            return true;
        }
        // The box's own Space ticks it; Return and F2 mean the row.
        if (event->type() == QEvent::KeyPress && key->key() != Qt::Key_Space && actionKey(key)) {
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TaskRow::keyPressEvent(QKeyEvent *event)
{
    if (moveKey(event, true) || actionKey(event)) {
        if (!m_focusShown) {
            m_focusShown = true;
            update();
        }
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TaskRow::focusInEvent(QFocusEvent *event)
{
    switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        m_focusShown = true;
        break;
    case Qt::MouseFocusReason:
        m_focusShown = false;
        break;
    default:
        break; // coming back from a dialog: as it was
    }
    update();
    QWidget::focusInEvent(event);
}

void TaskRow::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}

void TaskRow::mousePressEvent(QMouseEvent *event)
{
    m_pressedInText = event->button() == Qt::LeftButton && event->position().x() >= textLeft() * m_liftScale;
    QWidget::mousePressEvent(event);
}

void TaskRow::mouseReleaseEvent(QMouseEvent *event)
{
    const bool inText = event->button() == Qt::LeftButton && event->position().x() >= textLeft() * m_liftScale
        && rect().contains(event->position().toPoint());
    const bool open = m_pressedInText && inText;
    m_pressedInText = false;
    if (open) {
        if (TaskItem *task = this->task())
            Q_EMIT openRequested(task);
    }
    QWidget::mouseReleaseEvent(event);
}

void TaskRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const ColorScheme scheme = m_services.appearance->scheme();
    if (m_lifted) {
        QColor paper = themeColor(ThemeColor::Paper, scheme);
        paper.setAlphaF(0.9);
        painter.fillRect(rect(), paper);
    }
    if (showsFocus()) {
        // The row that has the keys: ringed in the page's colour over a
        // quiet wash of it.
        const QColor accent = m_accent.isValid() ? m_accent : themeColor(ThemeColor::MutedInk, scheme);
        QColor wash = accent;
        wash.setAlphaF(0.10);
        const double left = m_indent * IndentStep;
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(accent, FocusRingWidth));
        painter.setBrush(wash);
        const double inset = FocusRingWidth / 2;
        painter.drawRoundedRect(
            QRectF(left + inset, 1 + inset, width() - left - 2 * inset, lineHeight(width()) - 2 - 2 * inset), 6, 6);
        painter.restore();
    }
    if (m_liftScale != 1.0) {
        // Grow from the leading edge, vertically about the middle.
        painter.translate(0, height() / 2.0);
        painter.scale(m_liftScale, m_liftScale);
        painter.translate(0, -height() / 2.0);
    }

    const int indentX = m_indent * IndentStep;
    const int line = lineHeight(width());
    const QColor muted = themeColor(ThemeColor::MutedInk, scheme);

    // Title, wrapped over as many lines as it needs.
    const QRectF titleRect(textLeft(), TextInset, std::max(1, width() - textLeft()), titleHeight(width()));
    QFont titleFont = m_titleFont;
    titleFont.setStrikeOut(m_done);
    painter.setFont(titleFont);
    painter.setPen(m_done ? muted : themeColor(ThemeColor::Ink, scheme));
    painter.drawText(titleRect, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, m_title);

    if (!m_summary.isEmpty()) {
        painter.setFont(m_summaryFont);
        painter.setPen(m_overdue ? alertColor(scheme) : muted);
        const QFontMetrics metrics(m_summaryFont);
        const QRectF summaryRect(textLeft(), titleRect.bottom() + SummaryGap, titleRect.width(), metrics.height());
        painter.drawText(summaryRect, Qt::AlignLeft | Qt::AlignTop,
            metrics.elidedText(m_summary, Qt::ElideRight, static_cast<int>(summaryRect.width())));
    }

    // The hair line starts at the row's own indentation.
    painter.fillRect(QRectF(indentX, line, width() - indentX, RuleHeight), themeColor(ThemeColor::Rule, scheme));
}

} // namespace quillery::ui
