#include "Symbols.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>

namespace quillery::ui {

namespace {

const QString FallbackTheme = QStringLiteral("Adwaita");

const QHash<QString, QString> &symbolMap()
{
    static const QHash<QString, QString> map = {
        { QStringLiteral("square.grid.2x2"), QStringLiteral("view-grid-symbolic") },
        { QStringLiteral("chevron.left"), QStringLiteral("go-previous-symbolic") },
        { QStringLiteral("chevron.right"), QStringLiteral("go-next-symbolic") },
        { QStringLiteral("ellipsis"), QStringLiteral("view-more-horizontal-symbolic") },
        { QStringLiteral("bell.badge"), QStringLiteral("alarm-symbolic") },
        { QStringLiteral("gearshape"), QStringLiteral("emblem-system-symbolic") },
        { QStringLiteral("eye.slash"), QStringLiteral("view-conceal-symbolic") },
        { QStringLiteral("trash"), QStringLiteral("user-trash-symbolic") },
        { QStringLiteral("checkmark"), QStringLiteral("object-select-symbolic") },
        { QStringLiteral("xmark"), QStringLiteral("window-close-symbolic") },
        { QStringLiteral("xmark.circle.fill"), QStringLiteral("window-close-symbolic") },
        { QStringLiteral("plus"), QStringLiteral("list-add-symbolic") },
        { QStringLiteral("calendar"), QStringLiteral("x-office-calendar-symbolic") },
        { QStringLiteral("mappin.and.ellipse"), QStringLiteral("mark-location-symbolic") },
        { QStringLiteral("mappin.circle.fill"), QStringLiteral("mark-location-symbolic") },
        { QStringLiteral("photo.on.rectangle.angled"), QStringLiteral("image-x-generic-symbolic") },
        { QStringLiteral("paperclip"), QStringLiteral("mail-attachment-symbolic") },
        { QStringLiteral("doc.fill"), QStringLiteral("x-office-document-symbolic") },
        { QStringLiteral("printer"), QStringLiteral("printer-symbolic") },
        { QStringLiteral("doc.richtext"), QStringLiteral("x-office-document-symbolic") },
        { QStringLiteral("textformat"), QStringLiteral("font-x-generic-symbolic") },
        { QStringLiteral("magnifyingglass"), QStringLiteral("edit-find-symbolic") },
    };
    return map;
}

class SymbolIconEngine final : public QIconEngine
{
public:
    SymbolIconEngine(QString symbol, QColor color)
        : m_symbol(std::move(symbol))
        , m_color(std::move(color))
    { }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        QColor color = m_color;
        if (mode == QIcon::Disabled)
            color.setAlphaF(color.alphaF() * 0.3);
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const int side = std::min(rect.width(), rect.height());
        const QPixmap pm = Symbols::pixmap(m_symbol, side, color, ratio);
        painter->drawPixmap(
            QRect(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2, side, side), pm);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter painter(&pm);
        paint(&painter, QRect(QPoint(), size), mode, state);
        return pm;
    }

    QIconEngine *clone() const override { return new SymbolIconEngine(m_symbol, m_color); }

private:
    QString m_symbol;
    QColor m_color;
};

} // namespace

void Symbols::installIconTheme()
{
    // Platforms without a desktop theme (offscreen) search no folder.
    QStringList paths = QIcon::themeSearchPaths();
    const QStringList dataFolders = qEnvironmentVariable("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"))
                                        .split(u':', Qt::SkipEmptyParts);
    for (const QString &folder : dataFolders)
        if (!paths.contains(folder + QStringLiteral("/icons")))
            paths.append(folder + QStringLiteral("/icons"));
    QIcon::setThemeSearchPaths(paths);
    // The desktop names the user's theme; without one (offscreen, a bare
    // window manager) the symbols come from the fallback.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(FallbackTheme);
    QIcon::setFallbackThemeName(FallbackTheme);
}

QString Symbols::iconName(const QString &symbol)
{
    return symbolMap().value(symbol, symbol);
}

bool Symbols::exists(const QString &symbol)
{
    return QIcon::hasThemeIcon(iconName(symbol));
}

QPixmap Symbols::pixmap(const QString &symbol, int size, const QColor &color, qreal devicePixelRatio)
{
    if (size <= 0)
        return {};
    // Rows and buttons repaint the same few symbols all the time; reading the
    // SVG again for each would cost more than the rest of the paint.
    const QString key = QStringLiteral("quillery-symbol|") + symbol + u'|' + QString::number(size) + u'|'
        + QString::number(color.rgba(), 16) + u'|' + QString::number(devicePixelRatio, 'f', 2) + u'|'
        + QIcon::themeName();
    QPixmap pm;
    if (QPixmapCache::find(key, &pm))
        return pm;
    // The user's icon theme first, the fallback theme for what it lacks.
    const QIcon themed = QIcon::fromTheme(iconName(symbol));
    if (themed.isNull())
        return {};
    const int pixels = qRound(size * devicePixelRatio);
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        const QPixmap drawn = themed.pixmap(QSize(pixels, pixels), 1.0);
        QPainter painter(&image);
        painter.drawPixmap(
            QRect(QPoint((pixels - drawn.width()) / 2, (pixels - drawn.height()) / 2), drawn.size()), drawn);
        // Keep the symbol's shape, take the caller's colour.
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), color);
    }
    pm = QPixmap::fromImage(std::move(image));
    pm.setDevicePixelRatio(devicePixelRatio);
    QPixmapCache::insert(key, pm);
    return pm;
}

QIcon Symbols::icon(const QString &symbol, const QColor &color)
{
    return QIcon(new SymbolIconEngine(symbol, color));
}

} // namespace quillery::ui
