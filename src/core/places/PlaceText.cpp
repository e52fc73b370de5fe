#include "PlaceText.h"

#include <algorithm>

namespace quillery {

namespace {

bool isBidiControl(char32_t c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F || c == 0x061C;
}

// Letters that do not decompose into a base letter and a mark.
const char *foldSpecial(char32_t c)
{
    switch (c) {
    case U'ß':
        return "ss";
    case U'æ':
        return "ae";
    case U'œ':
        return "oe";
    case U'ø':
        return "o";
    case U'ł':
        return "l";
    case U'đ':
    case U'ð':
        return "d";
    case U'þ':
        return "th";
    case U'ı':
        return "i";
    default:
        return nullptr;
    }
}

} // namespace

QString PlaceText::clean(const QString &text)
{
    QString out;
    out.reserve(std::min(text.size(), MaxLength));
    bool pendingSpace = false;
    for (const char32_t c : text.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (QChar::isSpace(c) || c == 0x2028 || c == 0x2029) {
            pendingSpace = !out.isEmpty();
            continue;
        }
        if (category == QChar::Other_Control || category == QChar::Other_Surrogate
            || category == QChar::Other_NotAssigned || category == QChar::Other_PrivateUse || isBidiControl(c)
            || c == 0xFEFF || c == 0xFFFD)
            continue;
        const qsizetype width = QChar::requiresSurrogates(c) ? 2 : 1;
        if (out.size() + (pendingSpace ? 1 : 0) + width > MaxLength)
            break;
        if (pendingSpace)
            out += u' ';
        pendingSpace = false;
        if (width == 2) {
            out += QChar(QChar::highSurrogate(c));
            out += QChar(QChar::lowSurrogate(c));
        } else {
            out += QChar(char16_t(c));
        }
    }
    return out;
}

QString PlaceText::fold(const QString &text)
{
    // Plain ASCII, the common case, needs no decomposition.
    const bool ascii = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii)
        return text.toLower();
    const QString decomposed = text.normalized(QString::NormalizationForm_KD).toCaseFolded();
    QString out;
    out.reserve(decomposed.size());
    for (qsizetype i = 0; i < decomposed.size(); ++i) {
        char32_t c = decomposed.at(i).unicode();
        const bool pair
            = QChar::isHighSurrogate(c) && i + 1 < decomposed.size() && decomposed.at(i + 1).isLowSurrogate();
        if (pair)
            c = QChar::surrogateToUcs4(decomposed.at(i).unicode(), decomposed.at(i + 1).unicode());
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing
            || category == QChar::Mark_SpacingCombining) {
            i += pair ? 1 : 0;
            continue;
        }
        if (const char *special = foldSpecial(c)) {
            out += QLatin1StringView(special);
            continue;
        }
        out += decomposed.at(i);
        if (pair)
            out += decomposed.at(++i);
    }
    return out;
}

QStringList PlaceText::words(const QString &text)
{
    QStringList result;
    const QString folded = fold(text);
    qsizetype start = -1;
    for (qsizetype i = 0; i <= folded.size(); ++i) {
        const bool inWord = i < folded.size() && (folded.at(i).isLetterOrNumber() || folded.at(i).isSurrogate());
        if (inWord && start < 0)
            start = i;
        else if (!inWord && start >= 0) {
            result.append(folded.mid(start, i - start));
            start = -1;
        }
    }
    return result;
}

QString PlaceText::trimSpacesAndTabs(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (begin < end && blank(text.at(begin)))
        ++begin;
    while (end > begin && blank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace quillery
