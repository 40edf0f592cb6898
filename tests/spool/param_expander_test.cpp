#include "spool/param_expander.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ParamExpanderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"PRINTER", "FILE", "FILENAME", "DRIVER", "PORT", "CWD", "PATH"})
            table.AddParam(name, "");
        table.SetParam("PRINTER", "HP 4050");
        table.SetParam("FILE", "a b.pdf");
    }
    std::string Expand(const std::string& text, const ParamTable* with)
    {
        ParamExpander expander(text, with);
        expander.ExpandTemplate();
        return expander.Text();
    }
    std::string Expand(const std::string& text) { return Expand(text, &table); }

    ParamTable table;
};

TEST_F(ParamExpanderTest, ReplacesNamesWithoutRegardToCaseAndAddsNoQuotes)
{
    EXPECT_EQ(Expand("-dPDFFitPage -color -printer \"$PRINTER$\" $FILE$"),
              "-dPDFFitPage -color -printer \"HP 4050\" a b.pdf");
    EXPECT_EQ(Expand("$printer$"), "HP 4050");
    EXPECT_EQ(Expand("$Printer$/$FILE$"), "HP 4050/a b.pdf");
    EXPECT_EQ(Expand("[$CWD$]"), "[]");
    EXPECT_EQ(Expand("no parameters"), "no parameters");
}

TEST_F(ParamExpanderTest, WhatEndsANameAndWhatHappensToIt)
{
    EXPECT_EQ(Expand("$FILE"), "a b.pdf");
    EXPECT_EQ(Expand("$FILE x"), "a b.pdf x");
    EXPECT_EQ(Expand("'$FILE'"), "'a b.pdf'");
    EXPECT_EQ(Expand("\"$FILE\""), "\"a b.pdf\"");
    EXPECT_EQ(Expand("$FILE\nnext"), "a b.pdf\nnext");
    EXPECT_EQ(Expand("$FILE$$PRINTER$"), "a b.pdfHP 4050");
    EXPECT_EQ(Expand("$FILE\xB6"), "a b.pdf\xB6");
    // The pilcrow in UTF-8 is 0xC2 0xB6: its first byte belongs to the name.
    EXPECT_EQ(Expand("$FILE\xC2\xB6"), "\xB6");
    EXPECT_EQ(Expand("$$"), "");
    EXPECT_EQ(Expand("end $"), "end ");
    EXPECT_EQ(Expand("-x $NOPE$ y"), "-x  y");
    EXPECT_EQ(Expand("$NOPE"), "");
}

TEST_F(ParamExpanderTest, ValuesAreNotExpandedAgain)
{
    table.SetParam("FILE", "$(id).pdf");
    table.SetParam("PATH", "$PRINTER$");
    EXPECT_EQ(Expand("$FILE$ $PATH$"), "$(id).pdf $PRINTER$");
}

TEST_F(ParamExpanderTest, WithoutATableOrTextNothingChanges)
{
    EXPECT_EQ(Expand("$PRINTER$", nullptr), "$PRINTER$");
    EXPECT_EQ(Expand("", &table), "");
}

TEST_F(ParamExpanderTest, TheExpansionStopsShortOf62000Characters)
{
    // Long texts are compared with == so that a failure does not print them.
    std::string longText(kExpansionLimit + 50, 'x');
    EXPECT_TRUE(Expand(longText) == std::string(kExpansionLimit, 'x'));

    // "HP 4050" has 7 characters. A value that would make the output reach the limit
    // is left out whole; one that stays below it is written.
    std::string reaching(kExpansionLimit - 7, 'h');
    EXPECT_TRUE(Expand(reaching + "$PRINTER$!") == reaching + "!");
    std::string below(kExpansionLimit - 8, 'h');
    std::string expanded = Expand(below + "$PRINTER$!?");
    EXPECT_TRUE(expanded == below + "HP 4050!");
    EXPECT_EQ(expanded.size(), kExpansionLimit);
}

TEST_F(ParamExpanderTest, ANameHasAtMost254Characters)
{
    std::string name254(kParamNameLimit, 'N');
    ASSERT_TRUE(table.AddParam(name254, "long"));
    EXPECT_EQ(Expand("<$" + name254 + "$>"), "<long>");
    // The 255th character is no longer part of the name but ordinary text, and the
    // closing '$' then starts an empty name.
    EXPECT_EQ(Expand("<$" + name254 + "Q$ >"), "<longQ >");
    EXPECT_EQ(Expand("<$" + std::string(kParamNameLimit + 1, 'N') + "$ >"), "<longN >");
    EXPECT_EQ(Expand("<$" + std::string(kParamNameLimit + 1, 'M') + "$ >"), "<M >");
}

}  // namespace
