#pragma once

#include "core/theme/ColorScheme.h"

#include <QObject>
#include <QPointer>

#include <optional>

class QPalette;

namespace quillery {

class ColorSchemeSource;

// The colour scheme in effect for the whole program, followed live. The
// desktop's stated preference wins; without one the application palette's
// lightness decides (a dark palette means a dark desktop). Every view that
// draws themed colours reads `scheme()` when it paints and repaints on
// `schemeChanged`. The program owns one and hands it to the views; it
// outlives every view that reads it.
class Appearance final : public QObject
{
    Q_OBJECT
public:
    explicit Appearance(QObject *parent = nullptr);

    ColorScheme scheme() const { return m_scheme; }

    // The desktop's preference (not owned; may be null).
    void setSource(ColorSchemeSource *source);

    // Pins the scheme whatever the desktop says (screenshots, tests); none
    // returns to following the desktop.
    void setForcedScheme(std::optional<ColorScheme> scheme);

    // Dark when the palette's window colour is closer to black than white.
    static ColorScheme schemeOfPalette(const QPalette &palette);

Q_SIGNALS:
    void schemeChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void reevaluate();

    QPointer<ColorSchemeSource> m_source;
    std::optional<ColorScheme> m_forced;
    ColorScheme m_scheme = ColorScheme::Light;
};

} // namespace quillery
