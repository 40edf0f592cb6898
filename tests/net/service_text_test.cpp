#include "net/service_text.h"

#include <gtest/gtest.h>

TEST(ServiceText, ValidUtf8StaysAsItIs)
{
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("Stadtbibliothek"));
    EXPECT_TRUE(IsValidUtf8("Universitätsbibliothek €ß 𝄞"));
    EXPECT_EQ(ServiceTextToUtf8("Universitätsbibliothek"), "Universitätsbibliothek");
    EXPECT_EQ(ServiceTextToUtf8("€ 5"), "€ 5");
}

TEST(ServiceText, AnythingElseIsReadAsWindows1252)
{
    EXPECT_FALSE(IsValidUtf8("Universit\xE4t"));
    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));          // overlong NUL
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));      // overlong "/"
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond Unicode
    EXPECT_FALSE(IsValidUtf8("\xC3"));              // cut short
    EXPECT_FALSE(IsValidUtf8("a\xF8" "b"));         // the field separator

    EXPECT_EQ(ServiceTextToUtf8("Universit\xE4tsbibliothek M\xFCnchen"), "Universitätsbibliothek München");
    EXPECT_EQ(ServiceTextToUtf8("\x80 \x84Zitat\x93 \x96 \x9F"), "€ „Zitat“ – Ÿ");
    EXPECT_EQ(ServiceTextToUtf8("\x81\x8D"), "\xC2\x81\xC2\x8D");
    // One invalid byte makes the whole text Windows-1252, even where it looked like UTF-8.
    EXPECT_EQ(ServiceTextToUtf8("\xC3\xA4 und \xE4"), "Ã¤ und ä");
}

TEST(ServiceText, FoldCaseLowersAsciiAndLatinLetters)
{
    EXPECT_EQ(FoldCase("ÄÖÜ Straße ÉCOLE"), "äöü straße école");
    EXPECT_EQ(FoldCase("×"), "×");
    EXPECT_EQ(FoldCase("stadt"), FoldCase("STADT"));
}
