#include "core/pages/FooterRules.h"

#include <gtest/gtest.h>

using namespace quillery;

TEST(FooterRules, chevronsPerPagePosition)
{
    // Alone: the first page cannot go back, but shows that it cannot.
    EXPECT_EQ(previousChevron(1, PageSide::Single), ChevronLook::Faded);
    EXPECT_EQ(previousChevron(0, PageSide::Window), ChevronLook::Faded);
    EXPECT_EQ(previousChevron(2, PageSide::Single), ChevronLook::Active);
    EXPECT_EQ(nextChevron(PageSide::Single), ChevronLook::Active) << "never limited by the page count";

    // A spread shows only its outward chevrons.
    EXPECT_EQ(previousChevron(5, PageSide::Right), ChevronLook::Hidden);
    EXPECT_EQ(nextChevron(PageSide::Right), ChevronLook::Active);
    EXPECT_EQ(previousChevron(4, PageSide::Left), ChevronLook::Active);
    EXPECT_EQ(previousChevron(1, PageSide::Left), ChevronLook::Faded);
    EXPECT_EQ(nextChevron(PageSide::Left), ChevronLook::Hidden);
}
