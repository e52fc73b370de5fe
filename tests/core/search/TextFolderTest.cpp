#include "core/search/TextFolder.h"

#include <gtest/gtest.h>

using namespace quillery;

namespace {

// The part of `text` that `query` highlights in `locale`, or "-" when it
// does not occur.
QString found(const char *locale, const QString &text, const QString &query)
{
    const TextFolder folder { icu::Locale(locale) };
    const auto range = folder.find(text, folder.fold(query));
    return range ? text.mid(range->start, range->length) : QStringLiteral("-");
}

} // namespace

TEST(TextFolder, caseAndAccentsFoldAwayAndTheMatchCoversWholeCharacters)
{
    EXPECT_EQ(found("fr_FR", QStringLiteral("Un Café au lait"), QStringLiteral("cafe")), QStringLiteral("Café"));
    // Written with a combining accent: the accent belongs to the match.
    EXPECT_EQ(found("fr_FR", QStringLiteral("Cafe\u0301 noir"), QStringLiteral("cafe")), QStringLiteral("Cafe\u0301"));
    EXPECT_EQ(found("de_DE", QStringLiteral("Hauptstraße 5"), QStringLiteral("STRASSE")), QStringLiteral("straße"));
    // Half of ß's "ss" still lights the whole letter.
    EXPECT_EQ(found("de_DE", QStringLiteral("Straße"), QStringLiteral("stras")), QStringLiteral("Straß"));
    EXPECT_EQ(
        found("da_DK", QStringLiteral("Tur til København"), QStringLiteral("kobenhavn")), QStringLiteral("København"));
    EXPECT_EQ(found("en_US", QStringLiteral("ＣＡＦＥ"), QStringLiteral("cafe")), QStringLiteral("ＣＡＦＥ"));
    EXPECT_EQ(
        found("en_US", QStringLiteral("Read\nthe letter"), QStringLiteral("read the")), QStringLiteral("Read\nthe"));
    EXPECT_EQ(found("en_US", QStringLiteral("Café"), QStringLiteral("tea")), QStringLiteral("-"));
    EXPECT_EQ(found("en_US", QStringLiteral("Café"), QStringLiteral("  ").trimmed()), QStringLiteral("-"))
        << "an empty query finds nothing";
}

TEST(TextFolder, dotlessIPairsWithCapitalIInTurkishAndMeetsEveryIElsewhere)
{
    // Turkish: I is the capital of ı, İ of i.
    EXPECT_EQ(found("tr_TR", QStringLiteral("ISPARTA"), QStringLiteral("ısparta")), QStringLiteral("ISPARTA"));
    EXPECT_EQ(found("tr_TR", QStringLiteral("İstanbul"), QStringLiteral("istanbul")), QStringLiteral("İstanbul"));
    EXPECT_EQ(found("tr_TR", QStringLiteral("ISPARTA"), QStringLiteral("isparta")), QStringLiteral("-"));
    EXPECT_EQ(found("tr_TR", QStringLiteral("Işık"), QStringLiteral("IŞIK")), QStringLiteral("Işık"));
    // Other languages have no dotless letter: the dot is an accent.
    EXPECT_EQ(found("en_US", QStringLiteral("ISPARTA"), QStringLiteral("isparta")), QStringLiteral("ISPARTA"));
    EXPECT_EQ(found("en_US", QStringLiteral("Işık"), QStringLiteral("isik")), QStringLiteral("Işık"));
    EXPECT_EQ(found("en_US", QStringLiteral("İstanbul"), QStringLiteral("ISTANBUL")), QStringLiteral("İstanbul"));
}

TEST(TextFolder, greekAndJapaneseFoldTheirOwnWay)
{
    // Tonos and final sigma.
    EXPECT_EQ(found("el_GR", QStringLiteral("Οδός Ερμού"), QStringLiteral("ΟΔΟΣ")), QStringLiteral("Οδός"));
    EXPECT_EQ(found("el_GR", QStringLiteral("ΣΩΚΡΆΤΗΣ"), QStringLiteral("σωκρατης")), QStringLiteral("ΣΩΚΡΆΤΗΣ"));
    // Katakana, half-width katakana and hiragana meet…
    EXPECT_EQ(found("ja_JP", QStringLiteral("カフェに行く"), QStringLiteral("かふぇ")), QStringLiteral("カフェ"));
    EXPECT_EQ(found("ja_JP", QStringLiteral("ｶﾌｪ"), QStringLiteral("カフェ")), QStringLiteral("ｶﾌｪ"));
    // …but the voicing marks make another word.
    EXPECT_EQ(found("ja_JP", QStringLiteral("がっこう"), QStringLiteral("かっこう")), QStringLiteral("-"));
    EXPECT_EQ(found("ja_JP", QStringLiteral("ｶﾞｯｺｳ"), QStringLiteral("がっこう")), QStringLiteral("ｶﾞｯｺｳ"));
}
