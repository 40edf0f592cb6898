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

TEST(FitsCommandLine, TheWholeCommandLineStaysWithin1020Characters)
{
    std::string program = "/usr/bin/print";  // 14 characters, 16 with quotes
    EXPECT_TRUE(FitsCommandLine(program, {std::string(kCommandLineLimit - 17, 'e')}));
    EXPECT_FALSE(FitsCommandLine(program, {std::string(kCommandLineLimit - 16, 'e')}));
    EXPECT_TRUE(FitsCommandLine(program, {std::string(kCommandLineLimit - 18, 'e'), ""}));
    EXPECT_FALSE(FitsCommandLine(program, {std::string(kCommandLineLimit - 17, 'e'), ""}));
}

TEST(ExpandArguments, ANameStaysInsideTheOneArgumentItsParameterStandsIn)
{
    ParamTable table;
    for (const char* name : {"PRINTER", "FILE", "CWD"})
        table.AddParam(name, "");
    table.SetParam("PRINTER", "HP 4050 \"Ausleihe\"");
    const std::string defaultTemplate = "-dPDFFitPage -color -printer \"$PRINTER$\" $FILE$";
    for (const char* file : {"x -h y.pdf", "-copies 999 b.pdf", "two  blanks.pdf", "a\"b.pdf", "$(touch x).pdf",
                             "a;rm -rf ~.pdf", "`id`.pdf", "-h.pdf", "\"", "$PRINTER$.pdf"}) {
        table.SetParam("FILE", file);
        EXPECT_EQ(ExpandArguments(defaultTemplate, table),
                  (Arguments{"-dPDFFitPage", "-color", "-printer", "HP 4050 \"Ausleihe\"", file}))
            << file;
    }
    table.SetParam("FILE", "a.pdf");
    table.SetParam("PRINTER", "");
    EXPECT_EQ(ExpandArguments("-printer \"$PRINTER$\" $NOPE$ $CWD$ -o$FILE$x $file", table),
              (Arguments{"-printer", "", "-oa.pdfx", "a.pdf"}));
}
