#pragma once

#include <QHash>
#include <QObject>
#include <QPalette>

namespace quillery {
class Appearance;
}

namespace quillery::ui {

// Keeps the application palette, and with it the menu bar, the toolbar, the
// menus and every dialog, in the scheme the pages are drawn in. While the
// desktop's own palette already matches the scheme it is left as it is; when
// the desktop asks for dark (through its colour-scheme setting) but the
// widget style paints light, or the other way round, the palette is made from
// the interface colours of that scheme. The desktop's palette is followed
// live and restored as soon as it matches again.
class WindowPalette final : public QObject
{
    Q_OBJECT
public:
    explicit WindowPalette(const Appearance &appearance, QObject *parent = nullptr);

    // The palette of the widgets for a scheme when the desktop gives none
    // that matches it.
    static QPalette paletteFor(bool dark);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply();

    const Appearance &m_appearance;
    // What the desktop gave, before any palette of ours: the application's
    // and the ones it gives kinds of widgets (menus, the menu bar, ...),
    // which take precedence over it.
    void takeDesktopPalettes();
    QHash<QByteArray, QPalette> m_desktop;
    bool m_applying = false;
};

} // namespace quillery::ui
