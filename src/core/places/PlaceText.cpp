#include "PlaceText.h"

namespace quillery {

namespace {

bool isBidiControl(char32_t c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F || c == 0x061C;
}

// Letters that do not decompose into a base letter and a mark.
QString foldSpecial(char32_t c)
{
    switch (c) {
    case U'ß':
        return QStringLiteral("ss");
    case U'æ':
        return QStringLiteral("ae");
    case U'œ':
        return QStringLiteral("oe");
    case U'ø':
        return QStringLiteral("o");
    case U'ł':
        return QStringLiteral("l");
    case U'đ':
        return QStringLiteral("d");
    case U'ð':
        return QStringLiteral("d");
    case U'þ':
        return QStringLiteral("th");
    case U'ı':
        return QStringLiteral("i");
    default:
        return {};
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
    const QString decomposed = text.normalized(QString::NormalizationForm_KD).toCaseFolded();
    QString out;
    out.reserve(decomposed.size());
    for (const char32_t c : decomposed.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing
            || category == QChar::Mark_SpacingCombining)
            continue;
        if (const QString special = foldSpecial(c); !special.isEmpty()) {
            out += special;
            continue;
        }
        out += QString::fromUcs4(&c, 1);
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
