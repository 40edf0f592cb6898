#include "ui/list_order.h"

#include <gtest/gtest.h>

TEST(ListOrder, LettersCompareWithoutRegardToCase)
{
    EXPECT_TRUE(LessWithoutCase("apfel", "Birne"));
    EXPECT_TRUE(LessWithoutCase("APFEL", "birne"));
    EXPECT_FALSE(LessWithoutCase("Apfel", "apfel"));
    EXPECT_FALSE(LessWithoutCase("apfel", "Apfel"));
    EXPECT_TRUE(LessWithoutCase("Ab", "abc"));
    // Umlauts fold too, and come after the plain letters.
    EXPECT_FALSE(LessWithoutCase("Ärger", "ärger"));
    EXPECT_FALSE(LessWithoutCase("ärger", "Ärger"));
    EXPECT_TRUE(LessWithoutCase("zebra", "Ärger"));
    // The blank padding of a line comes before any letter.
    EXPECT_TRUE(LessWithoutCase("RL   x", "RLA  x"));
}

TEST(ListOrder, NewLinesGoAfterTheirEquals)
{
    const std::vector<std::string> lines{"alpha", "Beta", "beta", "gamma"};
    EXPECT_EQ(SortedPosition(lines, "BETA"), 3u);
    EXPECT_EQ(SortedPosition(lines, "Aaa"), 0u);
    EXPECT_EQ(SortedPosition(lines, "Zeta"), 4u);
    EXPECT_EQ(SortedPosition({}, "x"), 0u);
}
