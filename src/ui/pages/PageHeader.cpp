#include "PageHeader.h"

#include "core/model/Page.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"

#include "ui/theme/CaretLineEdit.h"

#include <QLineEdit>
#include <QPainter>

namespace quillery::ui {

PageHeader::PageHeader(Page *page, const Appearance &appearance, QWidget *parent)
    : QWidget(parent)
    , m_appearance(appearance)
    , m_page(page)
    , m_field(new CaretLineEdit(this))
{
    m_field->setObjectName(QStringLiteral("pageTitleField"));
    m_field->setFrame(false);
    m_field->setPlaceholderText(tr("Untitled"));
    m_field->setAccessibleName(tr("Page title"));
    m_field->setAttribute(Qt::WA_MacShowFocusRect, false);
    if (page) {
        m_field->setText(page->title());
        connect(page->notifier(), &PageNotifier::titleChanged, this, &PageHeader::pageTitleChanged);
    }
    connect(m_field, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (m_page && !m_page->isDeleted())
            m_page->setTitle(text);
    });
    // Return finishes the title.
    connect(m_field, &QLineEdit::returnPressed, m_field, [this] { m_field->clearFocus(); });
}

void PageHeader::pageTitleChanged()
{
    if (!m_page)
        return;
    const QString title = m_page->title();
    if (m_field->text() != title)
        m_field->setText(title);
    if (m_snapshot)
        update();
}

void PageHeader::detachPage()
{
    if (m_page)
        disconnect(m_page->notifier(), nullptr, this, nullptr);
    m_page = nullptr;
    m_field->clearFocus();
    m_field->setReadOnly(true);
}

void PageHeader::setTitleFont(const QFont &font)
{
    if (m_field->font() == font)
        return;
    m_field->setFont(font);
    updateGeometry();
    update();
}

void PageHeader::setAccent(const QColor &accent)
{
    if (m_accent == accent)
        return;
    m_accent = accent;
    m_field->setCaretColor(accent);
    update();
}

void PageHeader::setSnapshot(bool snapshot)
{
    m_snapshot = snapshot;
    m_field->setVisible(!snapshot);
    update();
}

QString PageHeader::shownTitle() const
{
    const QString title = m_field->text();
    return title.isEmpty() ? tr("Untitled") : title;
}

int PageHeader::fieldHeight() const
{
    return m_field->sizeHint().height();
}

int PageHeader::heightForWidth(int) const
{
    return fieldHeight() + CapsuleGap + CapsuleHeight;
}

QSize PageHeader::sizeHint() const
{
    return { std::max(width(), 200), heightForWidth(width()) };
}

void PageHeader::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The field draws its text 2 points in; the title starts at the header's
    // edge like the capsule under it.
    m_field->setGeometry(-2, 0, width() + 2, fieldHeight());
}

void PageHeader::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_snapshot) {
        const ColorScheme scheme = m_appearance.scheme();
        const bool untitled = m_field->text().isEmpty();
        QColor ink = themeColor(untitled ? ThemeColor::MutedInk : ThemeColor::Ink, scheme);
        if (untitled)
            ink.setAlphaF(0.5);
        painter.setFont(m_field->font());
        painter.setPen(ink);
        // Where the field would draw its text.
        const QRect textRect(0, 0, width(), fieldHeight());
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
            painter.fontMetrics().elidedText(shownTitle(), Qt::ElideRight, textRect.width()));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_accent);
    const QRectF capsule(0, fieldHeight() + CapsuleGap, CapsuleWidth, CapsuleHeight);
    painter.drawRoundedRect(capsule, CapsuleHeight / 2.0, CapsuleHeight / 2.0);
}

} // namespace quillery::ui
