#include "support/sorted_string_list.h"

#include "support/collection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

std::list<std::string> Sorted(std::list<std::string> list)
{
    EXPECT_TRUE(SortStringList(list));
    return list;
}

using Texts = std::list<std::string>;

}  // namespace

TEST(SortStringList, EmptyAndSingleLists)
{
    Texts empty;
    EXPECT_FALSE(SortStringList(empty));
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(Sorted({"only.pdf"}), Texts{"only.pdf"});
}

TEST(SortStringList, TheListedOrders)
{
    EXPECT_EQ(Sorted({"B.pdf", "a.pdf"}), (Texts{"a.pdf", "B.pdf"}));
    EXPECT_EQ(Sorted({"b.pdf", "A.pdf", "a.pdf"}), (Texts{"A.pdf", "a.pdf", "b.pdf"}));
    EXPECT_EQ(Sorted({"b.pdf", "a.pdf", "A.pdf"}), (Texts{"a.pdf", "A.pdf", "b.pdf"}));
    EXPECT_EQ(Sorted({"x.pdf", "x.pdf"}), (Texts{"x.pdf", "x.pdf"}));
    EXPECT_EQ(Sorted({"a1.pdf", "a.pdf"}), (Texts{"a.pdf", "a1.pdf"}));
    EXPECT_EQ(Sorted({"9.pdf", "10.pdf"}), (Texts{"10.pdf", "9.pdf"}));
    EXPECT_EQ(Sorted({"aZ.pdf", "a_b.pdf"}), (Texts{"a_b.pdf", "aZ.pdf"}));
    EXPECT_EQ(Sorted({"\xc3\xa4pfel.pdf", "\xc3\x84pfel.pdf", "Zebra.pdf"}),
              (Texts{"Zebra.pdf", "\xc3\x84pfel.pdf", "\xc3\xa4pfel.pdf"}));
    EXPECT_EQ(Sorted({"/spool/DELV/b.pdf", "/spool/DELV/A.pdf", "/spool/DELV/.pdf"}),
              (Texts{"/spool/DELV/.pdf", "/spool/DELV/A.pdf", "/spool/DELV/b.pdf"}));
}

TEST(SortStringList, CompareTextFoldsOnlyAsciiLetters)
{
    EXPECT_EQ(CompareText("ABC", "abc"), 0);
    EXPECT_LT(CompareText("abc", "abcd"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_LT(CompareText("[", "a"), 0);
    EXPECT_LT(CompareText("`", "A"), 0);
    EXPECT_LT(CompareText(".", "0"), 0);
    EXPECT_LT(CompareText("9", "a"), 0);
    EXPECT_GT(CompareText("\xc4", "z"), 0);
    EXPECT_LT(CompareText("\xc4", "\xe4"), 0);
    EXPECT_EQ(CompareText(std::string("a\0b", 3), "a"), 0);
    EXPECT_EQ(CompareText("", ""), 0);
}

// Every run length up to 40 reaches the merge and each of the small networks; the
// result must be the stable order of the comparison.
TEST(SortStringList, MatchesAStableSortForEveryLength)
{
    std::mt19937 random(4711);
    const std::string letters = "aAbB_[9.\xc3\xa4";
    for (std::size_t n = 1; n <= 40; ++n) {
        for (int round = 0; round < 20; ++round) {
            std::vector<std::string> texts(n);
            for (std::string& text : texts) {
                std::size_t length = random() % 4;
                for (std::size_t i = 0; i < length; ++i)
                    text += letters[random() % letters.size()];
            }
            std::vector<std::string> expected = texts;
            std::stable_sort(expected.begin(), expected.end(),
                             [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
            Texts list(texts.begin(), texts.end());
            ASSERT_TRUE(SortStringList(list));
            ASSERT_EQ(std::vector<std::string>(list.begin(), list.end()), expected) << n;
        }
    }
}
