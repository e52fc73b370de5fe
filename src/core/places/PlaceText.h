#pragma once

#include <QString>
#include <QStringList>

namespace quillery {

// Text handling for places: making text from the network safe to show, and
// folding names so that a search matches regardless of case and accents.
class PlaceText final
{
public:
    // Longest text kept from an outside answer, in UTF-16 code units.
    static constexpr qsizetype MaxLength = 200;

    // Text from an outside source made fit for a one-line label: control
    // characters and bidirectional overrides removed (they could reorder or
    // hide what is shown), runs of white space collapsed to one space, ends
    // trimmed, and cut to MaxLength without splitting a character.
    static QString clean(const QString &text);

    // Lower case without accents, for comparing ("São Paulo" -> "sao paulo",
    // "Straße" -> "strasse").
    static QString fold(const QString &text);

    // The folded words of a text: runs of letters and digits.
    static QStringList words(const QString &text);

    // Spaces and tabs (only these) removed from both ends.
    static QString trimSpacesAndTabs(const QString &text);
};

} // namespace quillery
