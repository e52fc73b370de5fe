#include "TextFolder.h"

#include <cstring>

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace quillery {

namespace {

constexpr char32_t DotlessI = 0x0131;
constexpr char32_t VoicingMark = 0x3099;
constexpr char32_t SemiVoicingMark = 0x309A;

// One code point of `text` from `index`, and how many UTF-16 units it takes.
std::pair<char32_t, int> codePointAt(QStringView text, qsizetype index)
{
    const char16_t unit = text[index].unicode();
    if (QChar::isHighSurrogate(unit) && index + 1 < text.size() && QChar::isLowSurrogate(text[index + 1].unicode()))
        return { QChar::surrogateToUcs4(unit, text[index + 1].unicode()), 2 };
    return { unit, 1 };
}

void appendCodePoint(QString &out, char32_t c)
{
    if (QChar::requiresSurrogates(c)) {
        out += QChar(QChar::highSurrogate(c));
        out += QChar(QChar::lowSurrogate(c));
    } else {
        out += QChar(char16_t(c));
    }
}

// Letters whose stroke or ligature no decomposition takes apart.
const char *plainSpelling(char32_t c)
{
    switch (c) {
    case 0x00E6: // æ
        return "ae";
    case 0x0153: // œ
        return "oe";
    case 0x00F8: // ø
        return "o";
    case 0x0142: // ł
        return "l";
    case 0x0111: // đ
        return "d";
    case 0x0127: // ħ
        return "h";
    case 0x0167: // ŧ
        return "t";
    default:
        return nullptr;
    }
}

} // namespace

TextFolder::TextFolder(const icu::Locale &locale)
    : m_locale(locale)
{
    const char *language = m_locale.getLanguage();
    m_turkic = std::strcmp(language, "tr") == 0 || std::strcmp(language, "az") == 0;
}

QString TextFolder::computeFold(char32_t c) const
{
    auto text = icu::UnicodeString(UChar32(c));
    text.toLower(m_locale);
    text.foldCase(m_turkic ? U_FOLD_CASE_EXCLUDE_SPECIAL_I : U_FOLD_CASE_DEFAULT);
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2 *nfkd = icu::Normalizer2::getNFKDInstance(status);
    if (U_SUCCESS(status)) {
        icu::UnicodeString decomposed = nfkd->normalize(text, status);
        if (U_SUCCESS(status))
            text = decomposed;
    }
    QString out;
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
        char32_t p = char32_t(text.char32At(i));
        if (u_isUWhiteSpace(UChar32(p))) {
            out += u' ';
            continue;
        }
        const int8_t type = u_charType(UChar32(p));
        const bool mark = type == U_NON_SPACING_MARK || type == U_ENCLOSING_MARK;
        if ((mark && p != VoicingMark && p != SemiVoicingMark)
            || u_hasBinaryProperty(UChar32(p), UCHAR_DEFAULT_IGNORABLE_CODE_POINT))
            continue;
        if (p == DotlessI && !m_turkic)
            p = u'i';
        if (p >= 0x30A1 && p <= 0x30F6) // katakana ァ…ヶ to hiragana
            p -= 0x60;
        if (const char *plain = plainSpelling(p))
            out += QLatin1String(plain);
        else
            appendCodePoint(out, p);
    }
    return out;
}

const QString &TextFolder::foldChar(char32_t c) const
{
    auto found = m_cache.find(c);
    if (found == m_cache.end())
        found = m_cache.emplace(c, computeFold(c)).first;
    return found->second;
}

void TextFolder::appendFold(QString &out, char32_t c) const
{
    if (c < 0x80) {
        if (c >= u'A' && c <= u'Z')
            out += (m_turkic && c == u'I') ? QChar(char16_t(DotlessI)) : QChar(char16_t(c + 32));
        else if (c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\v')
            out += u' ';
        else
            out += QChar(char16_t(c));
        return;
    }
    out += foldChar(c);
}

QString TextFolder::fold(QStringView text) const
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const auto [c, units] = codePointAt(text, i);
        appendFold(out, c);
        i += units;
    }
    return out;
}

std::optional<TextFolder::Range> TextFolder::find(QStringView text, QStringView foldedNeedle) const
{
    if (foldedNeedle.isEmpty())
        return std::nullopt;
    // The folded text with, for every unit of it, the span of `text` it
    // came from; a character that folds to nothing (a lone mark) joins the
    // span of the one before it.
    QString folded;
    QList<int> starts;
    QList<int> ends;
    folded.reserve(text.size());
    starts.reserve(text.size());
    ends.reserve(text.size());
    qsizetype lastCharStart = 0;
    for (qsizetype i = 0; i < text.size();) {
        const auto [c, units] = codePointAt(text, i);
        const qsizetype before = folded.size();
        appendFold(folded, c);
        const int end = int(i + units);
        if (folded.size() == before) {
            for (qsizetype k = lastCharStart; k < folded.size(); ++k)
                ends[k] = end;
        } else {
            lastCharStart = before;
            for (qsizetype k = before; k < folded.size(); ++k) {
                starts << int(i);
                ends << end;
            }
        }
        i += units;
    }
    const qsizetype at = folded.indexOf(foldedNeedle);
    if (at < 0)
        return std::nullopt;
    const int start = starts.at(at);
    return Range { start, ends.at(at + foldedNeedle.size() - 1) - start };
}

} // namespace quillery
