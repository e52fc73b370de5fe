#include "X11SizeHints.h"

#include <QGuiApplication>
#include <QWindow>

#ifdef QUILLERY_HAVE_XCB
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#endif

namespace quillery::ui::X11SizeHints {

namespace {
// Word positions inside WM_NORMAL_HINTS.
constexpr int Flags = 0;
constexpr int MinAspectX = 11;
constexpr int MinAspectY = 12;
constexpr int MaxAspectX = 13;
constexpr int MaxAspectY = 14;
constexpr int BaseWidth = 15;
constexpr int BaseHeight = 16;
} // namespace

bool addAspect(Words &hints, const QSize &ratio, const QSize &base)
{
    const Words before = hints;
    hints[Flags] |= AspectFlag | BaseSizeFlag;
    hints[MinAspectX] = hints[MaxAspectX] = ratio.width();
    hints[MinAspectY] = hints[MaxAspectY] = ratio.height();
    hints[BaseWidth] = base.width();
    hints[BaseHeight] = base.height();
    return hints != before;
}

void keepAspect(QWindow *window, const QSize &ratio, const QSize &base)
{
#ifdef QUILLERY_HAVE_XCB
    if (!window || !window->handle() || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    Words hints {};
    const xcb_get_property_cookie_t cookie = xcb_get_property(
        connection, 0, id, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 0, std::uint32_t(hints.size()));
    if (xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, nullptr)) {
        if (reply->format == 32) {
            const int words = std::min(int(hints.size()), xcb_get_property_value_length(reply) / 4);
            std::memcpy(hints.data(), xcb_get_property_value(reply), std::size_t(words) * 4);
        }
        std::free(reply);
    }
    if (!addAspect(hints, ratio, base))
        return;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32,
        std::uint32_t(hints.size()), hints.data());
    xcb_flush(connection);
#else
    Q_UNUSED(window);
    Q_UNUSED(ratio);
    Q_UNUSED(base);
#endif
}

} // namespace quillery::ui::X11SizeHints
