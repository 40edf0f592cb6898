#include "config/password_scrambling.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Scramble(const std::string& password)
{
    return ScramblePassword(password, 3, 4, 5);
}

std::string Unscramble(const std::string& text)
{
    return UnscramblePassword(text, 3, 4, 5);
}

bool IsUpperHex(const std::string& text)
{
    return text.find_first_not_of("0123456789ABCDEF") == std::string::npos;
}

}  // namespace

TEST(PasswordScrambling, LengthsAndRoundTrips)
{
    const std::pair<std::string, std::size_t> cases[] = {
        {"", 16}, {"x", 28}, {"Geheim#123", 136}, {"P\xc3\xa4sswort \xe2\x82\xac", 6 * 13 * 2 + 16},
    };
    for (const auto& [password, digits] : cases) {
        std::string text = Scramble(password);
        EXPECT_EQ(text.size(), digits) << password;
        EXPECT_TRUE(IsUpperHex(text)) << text;
        EXPECT_EQ(Unscramble(text), password);
    }
}

TEST(PasswordScrambling, EverySaveWritesAnotherText)
{
    std::string first = Scramble("Geheim#123");
    std::string second = Scramble("Geheim#123");
    EXPECT_NE(first, second);
    EXPECT_EQ(Unscramble(first), "Geheim#123");
    EXPECT_EQ(Unscramble(second), "Geheim#123");
}

TEST(PasswordScrambling, SizeLimits)
{
    EXPECT_EQ(Scramble(std::string(5332, 'a')), "");
    EXPECT_EQ(Scramble(std::string(5331, 'a')).size(), 2u * 31994);
    EXPECT_EQ(Unscramble(Scramble(std::string(5331, 'a'))), "");  // 32000 digits or more

    const std::string longest(2665, 'q');
    EXPECT_EQ(Unscramble(Scramble(longest)), longest);
    EXPECT_EQ(Unscramble(Scramble(longest + "q")), "");
}

TEST(PasswordScrambling, OnlyUpperCaseDigitsGiveThePassword)
{
    std::string text = Scramble("Geheim#123");
    std::string lower = text;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    ASSERT_NE(lower, text);
    EXPECT_NE(Unscramble(lower), "Geheim#123");
}

TEST(PasswordScrambling, DigitsBeyondTheNeededOnesAreIgnored)
{
    std::string text = Scramble("Geheim#123");
    EXPECT_EQ(Unscramble(text + "00"), "Geheim#123");
    EXPECT_EQ(Unscramble(text + "7"), "Geheim#123");
    EXPECT_EQ(Unscramble(text + "123456789"), "Geheim#123");
}

TEST(PasswordScrambling, BadTextNeverCrashes)
{
    EXPECT_EQ(Unscramble(""), "");
    EXPECT_EQ(Unscramble("A"), "");
    EXPECT_EQ(Unscramble(std::string(15, 'F')), "");
    EXPECT_EQ(Unscramble(std::string(32000, '0')), "");
    EXPECT_EQ(Unscramble(std::string(100000, 'Z')), "");
    const std::string odd[] = {
        std::string(29, '7'), "ZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZ", std::string(31999, '\xff'),
        std::string("\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 28), "!@#$%^&*()_+{}|:<>?~`-=[];',./",
    };
    for (const std::string& text : odd) {
        std::string password = Unscramble(text);
        EXPECT_LE(password.size(), text.size() / 12 + 1);
        EXPECT_EQ(password.find('\0'), std::string::npos);
    }
    EXPECT_EQ(UnscramblePassword(Scramble("abc"), 0, -1, -2).find('\0'), std::string::npos);
    // A lead below 1 counts as 1 on both sides.
    EXPECT_EQ(ScramblePassword("abc", 0, 4, 5).size(), 2u * (3 * 6 + 4 + 1 + 1));
    EXPECT_EQ(UnscramblePassword(ScramblePassword("abc", 0, 4, 5), -3, 4, 5), "abc");
    EXPECT_EQ(ScramblePassword("abc", 3, 4, 1 << 30), "");
}

TEST(ScrambleStage, AddsTheKeyAndMasksEachByte)
{
    // With the mask the same for both inputs, their outputs differ exactly where
    // key + input differ.
    const std::string key = "\x01\x02\xff";
    const std::string a = "ABCDEF";
    const std::string b = "ABCDEG";
    std::string outA = ScrambleStage(a, key, false);
    std::string outB = ScrambleStage(b, key, false);
    ASSERT_EQ(outA.size(), 6u);
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char sumA = static_cast<unsigned char>(a[i] + key[i % key.size()]);
        unsigned char sumB = static_cast<unsigned char>(b[i] + key[i % key.size()]);
        EXPECT_EQ(static_cast<unsigned char>(outA[i] ^ outB[i]), sumA ^ sumB) << i;
    }

    std::string hex = ScrambleStage(a, key, true);
    ASSERT_EQ(hex.size(), 12u);
    EXPECT_TRUE(IsUpperHex(hex));
    EXPECT_EQ(UnscrambleStage(hex, key, true), a);
    EXPECT_EQ(UnscrambleStage(outA, key, false), a);
}

TEST(ScrambleStage, RefusesEmptyAndOversizedInput)
{
    const std::string key = "key";
    EXPECT_EQ(ScrambleStage("", key, false), "");
    EXPECT_EQ(ScrambleStage("abc", "", false), "");
    EXPECT_EQ(ScrambleStage(std::string(32000, 'a'), key, false), "");
    EXPECT_EQ(ScrambleStage(std::string(31999, 'a'), key, false).size(), 31999u);
    EXPECT_EQ(UnscrambleStage(std::string(32000, 'A'), key, true), "");
    EXPECT_EQ(UnscrambleStage(std::string(31999, 'A'), key, true).size(), 15999u);
    std::string all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<char>(i);
    EXPECT_EQ(UnscrambleStage(ScrambleStage(all, key, true), key, true), all);
}
