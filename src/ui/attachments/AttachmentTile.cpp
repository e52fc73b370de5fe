#include "AttachmentTile.h"

#include "ThumbView.h"
#include "core/app/Services.h"
#include "core/model/Attachment.h"
#include "core/model/RecordPointer.h"
#include "core/model/TypeRegistry.h"
#include "gui/attachments/ImageCodec.h"
#include "gui/theme/AppFont.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"
#include "ui/theme/Symbols.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

namespace quillery::ui {

namespace {

constexpr int SymbolSize = 22;
constexpr int NameSize = 10;
constexpr int Spacing = 4;
constexpr int TextInset = 6;

QColor accentColor(const QPalette &palette)
{
    QColor accent = palette.color(QPalette::Highlight);
    accent.setAlphaF(1.0);
    return accent;
}

// The name in at most two lines, the second elided in the middle.
QStringList nameLines(const QString &name, const QFont &font, qreal width)
{
    QTextLayout layout(name, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setAlignment(Qt::AlignHCenter);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == 1) {
            const QString rest = name.mid(line.textStart());
            lines.append(QFontMetrics(font).elidedText(rest, Qt::ElideMiddle, int(width)));
            break;
        }
        lines.append(name.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    return lines;
}

} // namespace

AttachmentTile::AttachmentTile(Attachment *attachment, const Services &services, QWidget *parent)
    : QWidget(parent)
    , m_appearance(*services.appearance)
    , m_types(*services.types)
    , m_thumbnails(services.thumbnails)
    , m_attachment(attachment)
{
    setFixedSize(Side, Side);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    refresh();
}

void AttachmentTile::refresh()
{
    if (!m_attachment)
        return;
    setAccessibleName(m_attachment->name());
    setToolTip(m_attachment->name());
    const bool image = m_types.isImage(m_attachment->typeIdentifier());
    setAccessibleDescription(image ? tr("Photo; opens in the image viewer") : tr("File; opens in its application"));
    if (image && !m_thumb) {
        m_thumb = new ThumbView(m_thumbnails, TileMaxPixel, this);
        m_thumb->setGeometry(m_keyboardFocus ? rect().adjusted(3, 3, -3, -3) : rect());
        m_thumb->setCornerRadius(CornerRadius);
        m_thumb->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_thumb->show();
    } else if (!image && m_thumb) {
        delete m_thumb;
        m_thumb = nullptr;
    }
    if (m_thumb)
        m_thumb->setData(m_attachment->data());
    update();
}

void AttachmentTile::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect()).adjusted(1, 1, -1, -1);
    QPainterPath shape;
    shape.addRoundedRect(bounds, CornerRadius, CornerRadius);
    const ColorScheme scheme = m_appearance.scheme();

    if (!m_thumb && m_attachment) {
        painter.fillPath(shape, themeColor(ThemeColor::Paper, scheme));
        QColor edge = themeColor(ThemeColor::Rule, scheme);
        painter.setPen(QPen(edge, 1));
        painter.drawPath(shape);

        QFont font = systemFont(NameSize);
        const qreal textWidth = width() - 2 * TextInset;
        const QStringList lines = nameLines(m_attachment->name(), font, textWidth);
        const QFontMetricsF metrics(font);
        const qreal textHeight = lines.size() * metrics.height();
        const qreal total = SymbolSize + Spacing + textHeight;
        qreal y = (height() - total) / 2;
        const QPixmap symbol
            = Symbols::pixmap(QStringLiteral("doc.fill"), SymbolSize, accentColor(palette()), devicePixelRatioF());
        painter.drawPixmap(QPointF((width() - SymbolSize) / 2.0, y), symbol);
        y += SymbolSize + Spacing;
        painter.setFont(font);
        painter.setPen(themeColor(ThemeColor::Ink, scheme));
        for (const QString &line : lines) {
            painter.drawText(QRectF(TextInset, y, textWidth, metrics.height()), Qt::AlignHCenter | Qt::AlignTop, line);
            y += metrics.height();
        }
    }
    if (m_pressed) {
        painter.fillPath(shape, QColor(0, 0, 0, 40));
    }
    if (m_keyboardFocus && hasFocus()) {
        painter.setPen(QPen(accentColor(palette()), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(shape);
    }
}

void AttachmentTile::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressed = true;
    update();
}

void AttachmentTile::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    update();
    if (rect().contains(event->position().toPoint()) && m_attachment)
        Q_EMIT activated(m_attachment);
}

void AttachmentTile::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_attachment)
            Q_EMIT activated(m_attachment);
        return;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        if (m_attachment)
            Q_EMIT removeRequested(m_attachment);
        return;
    case Qt::Key_F10:
        if (event->modifiers() & Qt::ShiftModifier) {
            showMenu(mapToGlobal(QPoint(width() / 2, height() / 2)));
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void AttachmentTile::contextMenuEvent(QContextMenuEvent *event)
{
    const QPoint where = event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                                     : mapToGlobal(QPoint(width() / 2, height() / 2));
    showMenu(where);
}

void AttachmentTile::showMenu(const QPoint &globalPos)
{
    if (!m_attachment)
        return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("attachmentMenu"));
    QAction *remove
        = menu.addAction(Symbols::icon(QStringLiteral("trash"), alertColor(m_appearance.scheme())), tr("Remove"));
    remove->setObjectName(QStringLiteral("removeAttachment"));
    RecordPointer<Attachment> attachment = m_attachment;
    connect(remove, &QAction::triggered, this, [this, attachment] {
        if (attachment)
            Q_EMIT removeRequested(attachment);
    });
    menu.exec(globalPos);
}

void AttachmentTile::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    m_keyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason
        || event->reason() == Qt::ShortcutFocusReason;
    // The bitmap steps back so the focus ring around it shows.
    if (m_thumb && m_keyboardFocus)
        m_thumb->setGeometry(rect().adjusted(3, 3, -3, -3));
    update();
}

void AttachmentTile::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    m_keyboardFocus = false;
    if (m_thumb)
        m_thumb->setGeometry(rect());
    update();
}

} // namespace quillery::ui
