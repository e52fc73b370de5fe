#pragma once

#include <QString>

#include <optional>

namespace quillery {

// The colour keywords of CSS (those iCalendar's COLOR property takes) and the
// hexadecimal forms, read without a graphics library.
class CssColors final
{
public:
    // A colour as 0xRRGGBB.
    using Rgb = unsigned int;

    // The colour a keyword ("Cornflower Blue" as well as "cornflowerblue")
    // or a #rgb, #rrggbb, #aarrggbb, #rrrgggbbb or #rrrrggggbbbb text names;
    // none for anything else. "transparent" is black without its alpha.
    static std::optional<Rgb> parse(const QString &text);

    // The keywords, each with its colour ("transparent" left out).
    struct Named {
        const char *name;
        Rgb rgb;
    };
    static const Named *begin();
    static const Named *end();
};

} // namespace quillery
