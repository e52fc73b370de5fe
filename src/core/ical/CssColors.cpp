#include "CssColors.h"

#include <algorithm>
#include <array>

namespace quillery {

namespace {

constexpr std::array Keywords = {
    CssColors::Named { "aliceblue", 0xF0F8FF },
    CssColors::Named { "antiquewhite", 0xFAEBD7 },
    CssColors::Named { "aqua", 0x00FFFF },
    CssColors::Named { "aquamarine", 0x7FFFD4 },
    CssColors::Named { "azure", 0xF0FFFF },
    CssColors::Named { "beige", 0xF5F5DC },
    CssColors::Named { "bisque", 0xFFE4C4 },
    CssColors::Named { "black", 0x000000 },
    CssColors::Named { "blanchedalmond", 0xFFEBCD },
    CssColors::Named { "blue", 0x0000FF },
    CssColors::Named { "blueviolet", 0x8A2BE2 },
    CssColors::Named { "brown", 0xA52A2A },
    CssColors::Named { "burlywood", 0xDEB887 },
    CssColors::Named { "cadetblue", 0x5F9EA0 },
    CssColors::Named { "chartreuse", 0x7FFF00 },
    CssColors::Named { "chocolate", 0xD2691E },
    CssColors::Named { "coral", 0xFF7F50 },
    CssColors::Named { "cornflowerblue", 0x6495ED },
    CssColors::Named { "cornsilk", 0xFFF8DC },
    CssColors::Named { "crimson", 0xDC143C },
    CssColors::Named { "cyan", 0x00FFFF },
    CssColors::Named { "darkblue", 0x00008B },
    CssColors::Named { "darkcyan", 0x008B8B },
    CssColors::Named { "darkgoldenrod", 0xB8860B },
    CssColors::Named { "darkgray", 0xA9A9A9 },
    CssColors::Named { "darkgreen", 0x006400 },
    CssColors::Named { "darkgrey", 0xA9A9A9 },
    CssColors::Named { "darkkhaki", 0xBDB76B },
    CssColors::Named { "darkmagenta", 0x8B008B },
    CssColors::Named { "darkolivegreen", 0x556B2F },
    CssColors::Named { "darkorange", 0xFF8C00 },
    CssColors::Named { "darkorchid", 0x9932CC },
    CssColors::Named { "darkred", 0x8B0000 },
    CssColors::Named { "darksalmon", 0xE9967A },
    CssColors::Named { "darkseagreen", 0x8FBC8F },
    CssColors::Named { "darkslateblue", 0x483D8B },
    CssColors::Named { "darkslategray", 0x2F4F4F },
    CssColors::Named { "darkslategrey", 0x2F4F4F },
    CssColors::Named { "darkturquoise", 0x00CED1 },
    CssColors::Named { "darkviolet", 0x9400D3 },
    CssColors::Named { "deeppink", 0xFF1493 },
    CssColors::Named { "deepskyblue", 0x00BFFF },
    CssColors::Named { "dimgray", 0x696969 },
    CssColors::Named { "dimgrey", 0x696969 },
    CssColors::Named { "dodgerblue", 0x1E90FF },
    CssColors::Named { "firebrick", 0xB22222 },
    CssColors::Named { "floralwhite", 0xFFFAF0 },
    CssColors::Named { "forestgreen", 0x228B22 },
    CssColors::Named { "fuchsia", 0xFF00FF },
    CssColors::Named { "gainsboro", 0xDCDCDC },
    CssColors::Named { "ghostwhite", 0xF8F8FF },
    CssColors::Named { "gold", 0xFFD700 },
    CssColors::Named { "goldenrod", 0xDAA520 },
    CssColors::Named { "gray", 0x808080 },
    CssColors::Named { "green", 0x008000 },
    CssColors::Named { "greenyellow", 0xADFF2F },
    CssColors::Named { "grey", 0x808080 },
    CssColors::Named { "honeydew", 0xF0FFF0 },
    CssColors::Named { "hotpink", 0xFF69B4 },
    CssColors::Named { "indianred", 0xCD5C5C },
    CssColors::Named { "indigo", 0x4B0082 },
    CssColors::Named { "ivory", 0xFFFFF0 },
    CssColors::Named { "khaki", 0xF0E68C },
    CssColors::Named { "lavender", 0xE6E6FA },
    CssColors::Named { "lavenderblush", 0xFFF0F5 },
    CssColors::Named { "lawngreen", 0x7CFC00 },
    CssColors::Named { "lemonchiffon", 0xFFFACD },
    CssColors::Named { "lightblue", 0xADD8E6 },
    CssColors::Named { "lightcoral", 0xF08080 },
    CssColors::Named { "lightcyan", 0xE0FFFF },
    CssColors::Named { "lightgoldenrodyellow", 0xFAFAD2 },
    CssColors::Named { "lightgray", 0xD3D3D3 },
    CssColors::Named { "lightgreen", 0x90EE90 },
    CssColors::Named { "lightgrey", 0xD3D3D3 },
    CssColors::Named { "lightpink", 0xFFB6C1 },
    CssColors::Named { "lightsalmon", 0xFFA07A },
    CssColors::Named { "lightseagreen", 0x20B2AA },
    CssColors::Named { "lightskyblue", 0x87CEFA },
    CssColors::Named { "lightslategray", 0x778899 },
    CssColors::Named { "lightslategrey", 0x778899 },
    CssColors::Named { "lightsteelblue", 0xB0C4DE },
    CssColors::Named { "lightyellow", 0xFFFFE0 },
    CssColors::Named { "lime", 0x00FF00 },
    CssColors::Named { "limegreen", 0x32CD32 },
    CssColors::Named { "linen", 0xFAF0E6 },
    CssColors::Named { "magenta", 0xFF00FF },
    CssColors::Named { "maroon", 0x800000 },
    CssColors::Named { "mediumaquamarine", 0x66CDAA },
    CssColors::Named { "mediumblue", 0x0000CD },
    CssColors::Named { "mediumorchid", 0xBA55D3 },
    CssColors::Named { "mediumpurple", 0x9370DB },
    CssColors::Named { "mediumseagreen", 0x3CB371 },
    CssColors::Named { "mediumslateblue", 0x7B68EE },
    CssColors::Named { "mediumspringgreen", 0x00FA9A },
    CssColors::Named { "mediumturquoise", 0x48D1CC },
    CssColors::Named { "mediumvioletred", 0xC71585 },
    CssColors::Named { "midnightblue", 0x191970 },
    CssColors::Named { "mintcream", 0xF5FFFA },
    CssColors::Named { "mistyrose", 0xFFE4E1 },
    CssColors::Named { "moccasin", 0xFFE4B5 },
    CssColors::Named { "navajowhite", 0xFFDEAD },
    CssColors::Named { "navy", 0x000080 },
    CssColors::Named { "oldlace", 0xFDF5E6 },
    CssColors::Named { "olive", 0x808000 },
    CssColors::Named { "olivedrab", 0x6B8E23 },
    CssColors::Named { "orange", 0xFFA500 },
    CssColors::Named { "orangered", 0xFF4500 },
    CssColors::Named { "orchid", 0xDA70D6 },
    CssColors::Named { "palegoldenrod", 0xEEE8AA },
    CssColors::Named { "palegreen", 0x98FB98 },
    CssColors::Named { "paleturquoise", 0xAFEEEE },
    CssColors::Named { "palevioletred", 0xDB7093 },
    CssColors::Named { "papayawhip", 0xFFEFD5 },
    CssColors::Named { "peachpuff", 0xFFDAB9 },
    CssColors::Named { "peru", 0xCD853F },
    CssColors::Named { "pink", 0xFFC0CB },
    CssColors::Named { "plum", 0xDDA0DD },
    CssColors::Named { "powderblue", 0xB0E0E6 },
    CssColors::Named { "purple", 0x800080 },
    CssColors::Named { "red", 0xFF0000 },
    CssColors::Named { "rosybrown", 0xBC8F8F },
    CssColors::Named { "royalblue", 0x4169E1 },
    CssColors::Named { "saddlebrown", 0x8B4513 },
    CssColors::Named { "salmon", 0xFA8072 },
    CssColors::Named { "sandybrown", 0xF4A460 },
    CssColors::Named { "seagreen", 0x2E8B57 },
    CssColors::Named { "seashell", 0xFFF5EE },
    CssColors::Named { "sienna", 0xA0522D },
    CssColors::Named { "silver", 0xC0C0C0 },
    CssColors::Named { "skyblue", 0x87CEEB },
    CssColors::Named { "slateblue", 0x6A5ACD },
    CssColors::Named { "slategray", 0x708090 },
    CssColors::Named { "slategrey", 0x708090 },
    CssColors::Named { "snow", 0xFFFAFA },
    CssColors::Named { "springgreen", 0x00FF7F },
    CssColors::Named { "steelblue", 0x4682B4 },
    CssColors::Named { "tan", 0xD2B48C },
    CssColors::Named { "teal", 0x008080 },
    CssColors::Named { "thistle", 0xD8BFD8 },
    CssColors::Named { "tomato", 0xFF6347 },
    CssColors::Named { "turquoise", 0x40E0D0 },
    CssColors::Named { "violet", 0xEE82EE },
    CssColors::Named { "wheat", 0xF5DEB3 },
    CssColors::Named { "white", 0xFFFFFF },
    CssColors::Named { "whitesmoke", 0xF5F5F5 },
    CssColors::Named { "yellow", 0xFFFF00 },
    CssColors::Named { "yellowgreen", 0x9ACD32 },
};

std::optional<unsigned> hexDigits(QStringView digits)
{
    unsigned value = 0;
    for (const QChar c : digits) {
        const char16_t u = c.toLower().unicode();
        int digit = -1;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + unsigned(digit);
    }
    return value;
}

} // namespace

const CssColors::Named *CssColors::begin()
{
    return Keywords.data();
}

const CssColors::Named *CssColors::end()
{
    return Keywords.data() + Keywords.size();
}

std::optional<CssColors::Rgb> CssColors::parse(const QString &text)
{
    if (text.startsWith(u'#')) {
        const QStringView digits = QStringView(text).mid(1);
        const qsizetype perChannel = digits.size() == 8 ? 2 : digits.size() / 3;
        if (digits.size() != 8 && (digits.size() % 3 != 0 || perChannel < 1 || perChannel > 4))
            return std::nullopt;
        // With alpha (#aarrggbb) the colour is in the last six digits.
        const QStringView rgb = digits.size() == 8 ? digits.mid(2) : digits;
        Rgb packed = 0;
        for (int channel = 0; channel < 3; ++channel) {
            const std::optional<unsigned> value = hexDigits(rgb.mid(channel * perChannel, perChannel));
            if (!value)
                return std::nullopt;
            // Scaled to eight bits: one digit is doubled, more are cut.
            const unsigned eight = perChannel == 1 ? *value * 17 : *value >> (4 * (perChannel - 2));
            packed = packed << 8 | eight;
        }
        return packed;
    }
    QString name = text.toLower();
    name.remove(u' ');
    if (name == QLatin1String("transparent"))
        return 0;
    const auto found
        = std::find_if(begin(), end(), [&](const Named &keyword) { return name == QLatin1String(keyword.name); });
    return found != end() ? std::optional<Rgb>(found->rgb) : std::nullopt;
}

} // namespace quillery
