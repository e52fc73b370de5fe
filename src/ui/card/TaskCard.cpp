#include "TaskCard.h"

#include "CardSection.h"
#include "CardStyle.h"
#include "CardSwitch.h"
#include "GrowingTextEdit.h"
#include "PlaceSection.h"
#include "PlainButton.h"
#include "RepeatSection.h"
#include "WhenSection.h"
#include "core/app/Preferences.h"
#include "core/model/Page.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"
#include "gui/theme/AppFont.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"
#include "ui/theme/FloatingScrollBar.h"
#include "ui/theme/PagePalette.h"
#include "ui/theme/PaperBackground.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

namespace quillery::ui {

namespace {

constexpr int DoneTopInset = 4;
constexpr int DeleteHeight = 44;
constexpr int CornerRadius = 14;
// The clock-dependent parts (the pills, "already passed") are read again
// this often while the card is open.
constexpr int ClockRefreshMsecs = 15'000;

} // namespace

TaskCard::TaskCard(TaskItem *task, const Services &services, QWidget *parent)
    : TaskCard(task, services, AttachmentsFactory(), parent)
{ }

TaskCard::TaskCard(TaskItem *task, const Services &services, const AttachmentsFactory &attachments, QWidget *parent)
    : QWidget(parent)
    , m_task(task)
    , m_services(services)
    , m_actions(services.alarms)
{
    setObjectName(QStringLiteral("taskCard"));
    setAccessibleName(tr("Task card"));
    setFocusPolicy(Qt::StrongFocus);
    build(attachments);
    resize(Width, Height);
    watchTask();
    followPage();
    restyle();
    connect(m_services.appearance, &Appearance::schemeChanged, this, &TaskCard::restyle);
    if (m_services.preferences)
        connect(m_services.preferences, &Preferences::typefaceChanged, this, &TaskCard::restyle);

    auto *clock = new QTimer(this);
    clock->setObjectName(QStringLiteral("cardClock"));
    clock->setInterval(ClockRefreshMsecs);
    connect(clock, &QTimer::timeout, m_when, &WhenSection::refresh);
    clock->start();

    // Escape and Ctrl+W close the card wherever its focus is.
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusMoved(now); });
    if (!task || task->isDeleted())
        QTimer::singleShot(0, this, &TaskCard::taskGone);
}

TaskCard::~TaskCard()
{
    // The widgets below go after this, and their going moves the focus: the
    // card must not hear of it half destroyed.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    qApp->removeEventFilter(this);
}

TaskItem *TaskCard::task() const
{
    TaskItem *task = m_task.data();
    return task && !task->isDeleted() ? task : nullptr;
}

void TaskCard::build(const AttachmentsFactory &attachments)
{
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setAutoFillBackground(false);
    m_scroll->viewport()->setAutoFillBackground(false);

    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("cardContent"));
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(CardStyle::Inset, CardStyle::Inset, CardStyle::Inset, CardStyle::Inset);
    column->setSpacing(CardStyle::SectionSpacing);

    column->addWidget(buildHeader(content));

    m_whenSection = new CardSection(tr("When"), content);
    m_whenSection->setObjectName(QStringLiteral("whenSection"));
    m_when = new WhenSection(m_task, m_services, m_whenSection);
    m_whenSection->body()->addWidget(m_when);
    m_repeat = new RepeatSection(m_task, m_services, m_whenSection);
    m_repeat->setObjectName(QStringLiteral("repeatSection"));
    m_whenSection->body()->addWidget(m_repeat);
    column->addWidget(m_whenSection);

    m_subtask = new CardSwitch(tr("Subtask"), *m_services.appearance, content);
    m_subtask->setObjectName(QStringLiteral("subtaskSwitch"));
    connect(m_subtask, &QAbstractButton::clicked, this, [this](bool on) {
        // A deeper level comes back as 1 or 0: the switch knows only two.
        if (TaskItem *task = this->task())
            task->setIndent(on ? 1 : 0);
    });
    column->addWidget(m_subtask);

    m_placeSection = new CardSection(tr("Place"), content);
    m_placeSection->setObjectName(QStringLiteral("placeSection"));
    m_place = new PlaceSection(m_task, m_services, m_placeSection);
    m_placeSection->body()->addWidget(m_place);
    column->addWidget(m_placeSection);

    m_notesSection = new CardSection(tr("Notes"), content);
    m_notesSection->setObjectName(QStringLiteral("notesSection"));
    m_notes = new GrowingTextEdit(2, 10, m_notesSection);
    m_notes->setObjectName(QStringLiteral("notesField"));
    m_notes->setAccessibleName(tr("Notes"));
    m_notes->setPlaceholderText(tr("Add a note"));
    m_notes->setFont(CardStyle::font(17));
    connect(m_notes, &QTextEdit::textChanged, this, &TaskCard::notesEdited);
    m_notesSection->body()->addWidget(m_notes);
    column->addWidget(m_notesSection);

    m_attachments = new CardSection(tr("Photos & Files"), content);
    m_attachments->setObjectName(QStringLiteral("attachmentsSection"));
    if (attachments && task()) {
        m_attachmentsBody = attachments(task(), m_services, m_attachments);
        if (m_attachmentsBody)
            m_attachments->body()->addWidget(m_attachmentsBody);
    }
    column->addWidget(m_attachments);

    m_delete = new PlainButton(tr("Delete Task"), CardStyle::font(17, QFont::Medium), QColor(), content);
    m_delete->setObjectName(QStringLiteral("deleteTaskButton"));
    m_delete->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_delete->setMinimumTextHeight(DeleteHeight);
    m_delete->setTextAlignment(Qt::AlignCenter);
    connect(m_delete, &QAbstractButton::clicked, this, &TaskCard::deleteTask);
    column->addWidget(m_delete);
    column->addStretch(1);

    m_scroll->setWidget(content);
    content->setAutoFillBackground(false); // the card's paper shows through

    // A slim bar floats over the right edge instead of narrowing the column.
    m_bar = new FloatingScrollBar(Qt::Vertical, m_scroll, this);
    m_bar->setInsets(CornerRadius, CornerRadius, 2);

    readText();
    readNotes();
    readIndent();
}

QWidget *TaskCard::buildHeader(QWidget *parent)
{
    auto *header = new QWidget(parent);
    header->setObjectName(QStringLiteral("cardHeader"));
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(CardStyle::HeaderSpacing);

    m_title = new GrowingTextEdit(1, 4, header);
    m_title->setObjectName(QStringLiteral("titleField"));
    m_title->setSingleParagraph(true);
    m_title->setAccessibleName(tr("Task"));
    m_title->setPlaceholderText(tr("Task"));
    connect(m_title, &QTextEdit::textChanged, this, &TaskCard::textEdited);
    connect(m_title, &GrowingTextEdit::returnPressed, this, [this] { focusNextPrevChild(true); });
    row->addWidget(m_title, 1, Qt::AlignTop);

    m_done = new PlainButton(tr("Done"), CardStyle::font(17, QFont::DemiBold), QColor(), header);
    m_done->setObjectName(QStringLiteral("doneButton"));
    connect(m_done, &QAbstractButton::clicked, this, &TaskCard::dismiss);
    auto *doneColumn = new QVBoxLayout;
    doneColumn->setContentsMargins(0, DoneTopInset, 0, 0);
    doneColumn->addWidget(m_done);
    doneColumn->addStretch(1);
    row->addLayout(doneColumn);
    return header;
}

QList<CardSection *> TaskCard::sections() const
{
    return { m_whenSection, m_placeSection, m_notesSection, m_attachments };
}

void TaskCard::watchTask()
{
    TaskItem *task = this->task();
    if (!task)
        return;
    connect(task->notifier(), &TaskNotifier::textChanged, this, [this] {
        readText();
        m_actions.textChanged(this->task());
    });
    connect(task->notifier(), &TaskNotifier::dueChanged, this,
        [this] { m_actions.dueChanged(this->task(), m_services.calendar); });
    connect(task->notifier(), &TaskNotifier::notesChanged, this, [this] {
        readNotes();
        m_actions.notesChanged(this->task());
    });
    connect(task->notifier(), &TaskNotifier::indentChanged, this, &TaskCard::readIndent);
    connect(task->notifier(), &TaskNotifier::pageChanged, this, &TaskCard::followPage);
    connect(task->notifier(), &QObject::destroyed, this, &TaskCard::taskGone);
    if (Store *store = task->store()) {
        connect(store, &Store::recordRemoved, this, [this](Record *record) {
            if (record == m_task.data())
                taskGone();
        });
    }
}

void TaskCard::followPage()
{
    disconnect(m_pageColor);
    TaskItem *task = this->task();
    m_page = task ? task->page() : nullptr;
    if (m_page)
        m_pageColor = connect(m_page->notifier(), &PageNotifier::colorIndexChanged, this, &TaskCard::restyle);
    restyle();
}

void TaskCard::restyle()
{
    const ColorScheme scheme = m_services.appearance->scheme();
    m_colorIndex = m_page && !m_page->isDeleted() ? m_page->colorIndex() : 0;
    const QColor accent = CardStyle::accent(m_colorIndex);
    const QPalette palette = pagePalette(QApplication::palette(), m_colorIndex, scheme);
    m_title->setPalette(palette);
    m_notes->setPalette(palette);
    const QString typeface = m_services.preferences ? m_services.preferences->typeface() : QString();
    m_title->setFont(appFont(24, QFont::Normal, typeface));
    m_done->setColor(accent);
    m_delete->setColor(CardStyle::alert(scheme));
    for (CardSection *section : sections())
        section->setHeadingColor(CardStyle::muted(scheme));
    if (m_attachmentsBody) {
        // The strip's file symbols and focus rings take the page's colour.
        QPalette strip = palette;
        for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled })
            strip.setColor(group, QPalette::Highlight, accent);
        m_attachmentsBody->setPalette(strip);
    }
    m_when->setAccent(accent);
    m_repeat->setAccent(accent);
    m_place->setAccent(accent);
    m_subtask->setAccent(accent);
    update();
}

void TaskCard::readText()
{
    if (TaskItem *task = this->task())
        m_title->showText(task->text());
}

void TaskCard::readNotes()
{
    if (TaskItem *task = this->task())
        m_notes->showText(task->notes());
}

void TaskCard::readIndent()
{
    if (TaskItem *task = this->task())
        m_subtask->setChecked(task->indent() > 0);
}

void TaskCard::textEdited()
{
    if (TaskItem *task = this->task(); task && !m_dismissed)
        task->setText(m_title->toPlainText());
}

void TaskCard::notesEdited()
{
    if (TaskItem *task = this->task(); task && !m_dismissed)
        task->setNotes(m_notes->toPlainText());
}

void TaskCard::refresh()
{
    readText();
    readNotes();
    readIndent();
    m_when->refresh();
    m_repeat->refresh();
    m_place->refresh();
    restyle();
}

void TaskCard::finish()
{
    m_dismissed = true;
    qApp->removeEventFilter(this);
    // From here on nothing the task does concerns the card.
    if (TaskItem *task = m_task.data()) {
        disconnect(task->notifier(), nullptr, this, nullptr);
        if (Store *store = task->store())
            disconnect(store, nullptr, this, nullptr);
    }
    Q_EMIT dismissed();
}

void TaskCard::dismiss()
{
    if (m_dismissed)
        return;
    TaskItem *task = this->task();
    finish();
    // A task whose title was left blank does not outlive its card.
    m_actions.discardIfBlank(task);
}

void TaskCard::deleteTask()
{
    if (m_dismissed)
        return;
    TaskItem *task = this->task();
    finish();
    m_actions.discard(task);
}

void TaskCard::taskGone()
{
    if (!m_dismissed)
        finish();
}

void TaskCard::focusMoved(QWidget *now)
{
    if (m_dismissed)
        return;
    if (now && (now == this || isAncestorOf(now))) {
        m_lastFocus = now;
        return;
    }
    // Another window (the place picker, a file dialog, the image viewer)
    // keeps its focus; it comes back here when that window closes.
    if (now && now->window() != window())
        return;
    reclaimFocusSoon();
}

void TaskCard::reclaimFocusSoon()
{
    // Whatever a menu or dialog of the card did (a tile removed under its own
    // menu, a control hidden), the keyboard stays with the card, so that
    // Escape keeps closing it. Settled after the event that moved it.
    QTimer::singleShot(0, this, [this] {
        QWidget *focus = QApplication::focusWidget();
        if (m_dismissed || !isVisible() || QApplication::activeWindow() != window()
            || (focus && (focus == this || isAncestorOf(focus) || focus->window() != window())))
            return;
        QWidget *target
            = m_lastFocus && m_lastFocus->isVisible() && m_lastFocus->isEnabled() ? m_lastFocus.data() : this;
        target->setFocus(Qt::OtherFocusReason);
    });
}

void TaskCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const ColorScheme scheme = m_services.appearance->scheme();
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), CornerRadius, CornerRadius);
    painter.setClipPath(shape);
    PaperBackground::paintSheet(painter, QRectF(rect()), paperTint(m_colorIndex, scheme), scheme);
}

void TaskCard::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_scroll->setGeometry(rect());
}

bool TaskCard::focusNextPrevChild(bool next)
{
    // Tab goes round the card's own controls and never leaves the card for
    // the window behind it.
    QWidget *start = QApplication::focusWidget();
    if (!start || (start != this && !isAncestorOf(start)))
        start = this;
    QWidget *candidate = start;
    for (int step = 0; step < 10'000; ++step) {
        candidate = next ? candidate->nextInFocusChain() : candidate->previousInFocusChain();
        if (!candidate || candidate == start)
            break;
        if (candidate == this || !isAncestorOf(candidate))
            continue;
        if ((candidate->focusPolicy() & Qt::TabFocus) != Qt::TabFocus || !candidate->isEnabled()
            || !candidate->isVisible() || candidate->focusProxy())
            continue;
        candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        m_scroll->ensureWidgetVisible(candidate, 0, 24);
        return true;
    }
    return false;
}

bool TaskCard::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::WindowActivate && watched == window() && !m_dismissed)
        reclaimFocusSoon(); // the window is back from a menu or dialog
    if ((type != QEvent::KeyPress && type != QEvent::ShortcutOverride) || m_dismissed || !watched->isWidgetType())
        return QWidget::eventFilter(watched, event);
    auto *widget = static_cast<QWidget *>(watched);
    // Only keys meant for the card itself; the place picker is a window of
    // its own and keeps its Escape.
    if ((widget != this && !isAncestorOf(widget)) || widget->window() != window())
        return QWidget::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const bool closes = key->key() == Qt::Key_Escape || key->matches(QKeySequence::Close)
        || (key->key() == Qt::Key_W && key->modifiers() == Qt::ControlModifier);
    if (type == QEvent::ShortcutOverride) {
        // While the card has the keyboard, the window's own shortcuts stay
        // quiet (the card is a sheet over it); quitting still works.
        if (key->matches(QKeySequence::Quit))
            return false;
        event->accept();
        return true;
    }
    if (closes) {
        dismiss();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quillery::ui
