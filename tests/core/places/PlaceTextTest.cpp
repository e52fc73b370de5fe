#include "core/places/PlaceText.h"

#include <gtest/gtest.h>

using namespace quillery;

TEST(PlaceText, cleanKeepsOnlyShowableOneLineText)
{
    EXPECT_EQ(PlaceText::clean(QStringLiteral("  Café\tde\n\nla   Paix\r ")), QStringLiteral("Café de la Paix"));
    // Controls, bidirectional overrides and byte-order marks would hide or
    // reorder what is shown.
    EXPECT_EQ(PlaceText::clean(QString::fromUtf8("Bank\x07 of\u202E evil\u2066\uFEFF\x1B[31m")),
        QStringLiteral("Bank of evil[31m"));
    // Markup stays text; it is never interpreted.
    EXPECT_EQ(PlaceText::clean(QStringLiteral("<b>Bold</b> &amp;")), QStringLiteral("<b>Bold</b> &amp;"));
    // Letters of other scripts and joiners stay.
    EXPECT_EQ(PlaceText::clean(QString::fromUtf8("東京都 👩\u200D💻")), QString::fromUtf8("東京都 👩\u200D💻"));
    EXPECT_EQ(PlaceText::clean(QString()), QString());
}

TEST(PlaceText, cleanCutsLongTextWithoutSplittingACharacter)
{
    const QString emoji = QString::fromUtf8("😀"); // two UTF-16 units
    QString text = QString(PlaceText::MaxLength - 1, u'a') + emoji + QStringLiteral("tail");
    const QString cleaned = PlaceText::clean(text);
    EXPECT_EQ(cleaned, QString(PlaceText::MaxLength - 1, u'a'));
    EXPECT_FALSE(cleaned.back().isHighSurrogate());

    // A lone surrogate (broken UTF-16) is dropped, not passed on.
    QString broken = QStringLiteral("ab");
    broken.insert(1, QChar(0xD800));
    EXPECT_EQ(PlaceText::clean(broken), QStringLiteral("ab"));
}

TEST(PlaceText, foldIgnoresCaseAndAccents)
{
    EXPECT_EQ(PlaceText::fold(QStringLiteral("São Paulo")), QStringLiteral("sao paulo"));
    EXPECT_EQ(PlaceText::fold(QStringLiteral("Straße")), QStringLiteral("strasse"));
    EXPECT_EQ(PlaceText::fold(QStringLiteral("ZÜRICH")), QStringLiteral("zurich"));
    EXPECT_EQ(PlaceText::fold(QStringLiteral("Łódź")), QStringLiteral("lodz"));
    EXPECT_EQ(PlaceText::fold(QStringLiteral("Ærøskøbing")), QStringLiteral("aeroskobing"));
}

TEST(PlaceText, wordsAreFoldedRunsOfLettersAndDigits)
{
    EXPECT_EQ(PlaceText::words(QStringLiteral("St. John's, Newfoundland")),
        QStringList({ "st", "john", "s", "newfoundland" }));
    EXPECT_EQ(
        PlaceText::words(QStringLiteral("  Frankfurt-am-Main 2 ")), QStringList({ "frankfurt", "am", "main", "2" }));
    EXPECT_TRUE(PlaceText::words(QStringLiteral(" ,.- ")).isEmpty());
}

TEST(PlaceText, trimTakesOnlySpacesAndTabs)
{
    EXPECT_EQ(PlaceText::trimSpacesAndTabs(QStringLiteral(" \t Ber \t")), QStringLiteral("Ber"));
    EXPECT_EQ(PlaceText::trimSpacesAndTabs(QStringLiteral(" \t ")), QString());
    EXPECT_EQ(PlaceText::trimSpacesAndTabs(QStringLiteral("\nBer")), QStringLiteral("\nBer"));
}
