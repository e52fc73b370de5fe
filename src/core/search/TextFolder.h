#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <unordered_map>

#include <unicode/locid.h>

namespace quillery {

// Brings text to the form search compares: case and accents folded away in
// the rules of one locale, so that "cafe" meets "Café", "strasse" meets
// "Straße", "ΟΔΟΣ" meets "οδός" and "かふぇ" meets "カフェ".
//
// Every character is folded on its own (the result of each is remembered),
// which keeps folding a large book fast and lets a match in folded text be
// traced back to the characters it came from. What a character folds to:
// - lowered in the locale's rules, then case-folded (ß → ss, ς → σ);
// - compatibility-decomposed with its marks dropped (é → e, ｶ → カ, ﬁ → fi),
//   except the kana voicing marks, which make different words (か ≠ が);
// - letters with a stroke or a ligature spelt plainly (ø → o, æ → ae);
// - katakana as hiragana; every kind of white space as one space.
// In Turkish and Azeri, I and ı pair as a letter of their own, distinct from
// i and İ; elsewhere the dotless ı is an i without its dot, so all four meet.
//
// Not for use from several threads at once.
class TextFolder final
{
public:
    explicit TextFolder(const icu::Locale &locale = icu::Locale::getDefault());

    QString fold(QStringView text) const;

    // Where the folded form of `needle` (already folded) first occurs in
    // `text`, as a range of `text`: start and length in UTF-16 units,
    // widened to whole characters with their marks. None when it does not
    // occur or `needle` is empty.
    struct Range {
        int start = 0;
        int length = 0;
        friend bool operator==(const Range &, const Range &) = default;
    };
    std::optional<Range> find(QStringView text, QStringView foldedNeedle) const;

private:
    // The folded form of one character (null: it folds to nothing).
    const QString &foldChar(char32_t c) const;
    QString computeFold(char32_t c) const;
    void appendFold(QString &out, char32_t c) const;

    icu::Locale m_locale;
    bool m_turkic = false;
    mutable std::unordered_map<char32_t, QString> m_cache;
};

} // namespace quillery
