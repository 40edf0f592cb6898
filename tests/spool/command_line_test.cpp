#include "spool/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Arguments = std::vector<std::string>;

TEST(SplitCommandLine, BlanksSeparateAndQuotesGroup)
{
    EXPECT_EQ(SplitCommandLine("-dPDFFitPage -color -printer \"HP 4050\" a.pdf"),
              (Arguments{"-dPDFFitPage", "-color", "-printer", "HP 4050", "a.pdf"}));
    EXPECT_EQ(SplitCommandLine("  a \t b  "), (Arguments{"a", "b"}));
    EXPECT_EQ(SplitCommandLine("-printer \"\" x"), (Arguments{"-printer", "", "x"}));
    EXPECT_EQ(SplitCommandLine("pre\"mid dle\"post"), (Arguments{"premid dlepost"}));
    EXPECT_EQ(SplitCommandLine("\"open to the end"), (Arguments{"open to the end"}));
    EXPECT_EQ(SplitCommandLine(""), Arguments{});
    EXPECT_EQ(SplitCommandLine("   "), Arguments{});
}

TEST(SplitCommandLine, ShellCharactersAreOrdinary)
{
    EXPECT_EQ(SplitCommandLine("\"x;touch y.pdf\" $(id).pdf `id` a\\b >out |"),
              (Arguments{"x;touch y.pdf", "$(id).pdf", "`id`", "a\\b", ">out", "|"}));
}

TEST(CutParameters, TheWholeCommandLineStaysWithin1020Characters)
{
    std::string program = "/usr/bin/print";  // 14 characters, 17 with quotes and blank
    std::string parameters(2000, 'p');
    EXPECT_EQ(CutParameters(program, parameters).size(), kCommandLineLimit - 17);
    EXPECT_EQ(CutParameters(program, "short"), "short");
    std::string exact(kCommandLineLimit - 17, 'e');
    EXPECT_EQ(CutParameters(program, exact), exact);
    EXPECT_EQ(CutParameters(std::string(kCommandLineLimit, 'x'), "a"), "");
}
