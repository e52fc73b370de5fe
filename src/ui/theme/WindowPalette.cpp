#include "WindowPalette.h"

#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"

#include <QApplication>
#include <QEvent>

namespace quillery::ui {

namespace {

// The kinds of widgets a desktop theme may give palettes of their own; the
// empty name is the application's.
const QByteArray ThemedClasses[] = { QByteArray(), "QMenu", "QMenuBar", "QToolButton", "QAbstractButton", "QPushButton",
    "QCheckBox", "QRadioButton", "QComboBox", "QAbstractItemView", "QHeaderView", "QTabBar", "QLabel", "QLineEdit",
    "QTextEdit", "QPlainTextEdit", "QMessageBoxLabel", "QTipLabel", "QAbstractSpinBox" };

} // namespace

WindowPalette::WindowPalette(const Appearance &appearance, QObject *parent)
    : QObject(parent)
    , m_appearance(appearance)
{
    takeDesktopPalettes();
    connect(&appearance, &Appearance::schemeChanged, this, &WindowPalette::apply);
    qApp->installEventFilter(this);
    apply();
}

QPalette WindowPalette::paletteFor(bool dark)
{
    const ColorScheme scheme = dark ? ColorScheme::Dark : ColorScheme::Light;
    const QColor paper = themeColor(ThemeColor::Paper, scheme);
    const QColor ink = themeColor(ThemeColor::Ink, scheme);
    const QColor muted = themeColor(ThemeColor::MutedInk, scheme);
    const QColor rule = themeColor(ThemeColor::Rule, scheme);
    // Window surfaces a step off the paper, so fields and lists stand out.
    const QColor window = dark ? QColor(44, 44, 46) : QColor(242, 242, 244);
    const QColor button = dark ? QColor(58, 58, 60) : QColor(250, 250, 251);
    const QColor highlight = dark ? QColor(10, 132, 255) : QColor(0, 122, 255);

    QPalette palette(button, window);
    for (const auto group : { QPalette::Active, QPalette::Inactive }) {
        palette.setColor(group, QPalette::Window, window);
        palette.setColor(group, QPalette::WindowText, ink);
        palette.setColor(group, QPalette::Base, paper);
        palette.setColor(group, QPalette::AlternateBase, rule);
        palette.setColor(group, QPalette::Text, ink);
        palette.setColor(group, QPalette::Button, button);
        palette.setColor(group, QPalette::ButtonText, ink);
        palette.setColor(group, QPalette::BrightText, Qt::white);
        palette.setColor(group, QPalette::ToolTipBase, button);
        palette.setColor(group, QPalette::ToolTipText, ink);
        palette.setColor(group, QPalette::PlaceholderText, muted);
        palette.setColor(group, QPalette::Highlight, highlight);
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
        palette.setColor(group, QPalette::Link, highlight);
        palette.setColor(group, QPalette::LinkVisited, highlight.darker(120));
    }
    for (const auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        palette.setColor(QPalette::Disabled, role, muted);
    palette.setColor(QPalette::Disabled, QPalette::Window, window);
    palette.setColor(QPalette::Disabled, QPalette::Base, window);
    palette.setColor(QPalette::Disabled, QPalette::Button, window);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, muted);
    return palette;
}

bool WindowPalette::eventFilter(QObject *watched, QEvent *event)
{
    // The desktop changed its palette (a theme switch): it is the one to
    // follow from now on.
    if (event->type() == QEvent::ApplicationPaletteChange && watched == qApp && !m_applying) {
        takeDesktopPalettes();
        apply();
    }
    return QObject::eventFilter(watched, event);
}

void WindowPalette::takeDesktopPalettes()
{
    m_desktop.clear();
    for (const QByteArray &name : ThemedClasses)
        m_desktop.insert(name, QApplication::palette(name.isEmpty() ? nullptr : name.constData()));
}

void WindowPalette::apply()
{
    const bool dark = m_appearance.scheme() == ColorScheme::Dark;
    const bool desktopDark = Appearance::schemeOfPalette(m_desktop.value(QByteArray())) == ColorScheme::Dark;
    const QPalette ours = paletteFor(dark);
    m_applying = true;
    for (const QByteArray &name : ThemedClasses) {
        const QPalette wanted = dark == desktopDark ? m_desktop.value(name) : ours;
        const char *className = name.isEmpty() ? nullptr : name.constData();
        if (QApplication::palette(className) != wanted)
            QApplication::setPalette(wanted, className);
    }
    m_applying = false;
}

} // namespace quillery::ui
