// Colour texts as iCalendar files carry them, read without a graphics library.
#include "core/ical/CssColors.h"
#include "core/ical/PageColors.h"

#include <gtest/gtest.h>

using namespace quillery;

TEST(CssColors, keywordsAndEveryHexFormReadAsTheSameColour)
{
    for (const char *text :
        { "cornflowerblue", "Cornflower Blue", "#6495ED", "#ff6495ed", "#640950ED0", "#64649595eded" })
        EXPECT_EQ(CssColors::parse(QString::fromLatin1(text)), 0x6495EDu) << text;
    EXPECT_EQ(CssColors::parse(QStringLiteral("#f0a")), 0xFF00AAu) << "one digit stands for two";
    for (const char *text : { "", "#", "#12345", "#12345g", "bluish", "rgb(1,2,3)", "#١٢٣" })
        EXPECT_FALSE(CssColors::parse(QString::fromUtf8(text))) << text;
    // Each page colour is written as a keyword that reads back as that colour.
    for (int index = 0; index < 7; ++index)
        EXPECT_EQ(PageColors::nearestIndex(PageColors::cssName(index)), index) << index;
}
