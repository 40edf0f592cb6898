#include "print_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

PrintOptions Accepted(const std::vector<std::string>& args)
{
    const ParsedOptions parsed = ParsePrintOptions(args);
    EXPECT_TRUE(parsed.ok) << parsed.reason;
    return parsed.options;
}

std::string Refusal(const std::vector<std::string>& args)
{
    const ParsedOptions parsed = ParsePrintOptions(args);
    EXPECT_FALSE(parsed.ok);
    EXPECT_EQ(parsed.reason.find('\n'), std::string::npos);
    return parsed.reason;
}

}  // namespace

TEST(ParsePrintOptions, TakesTheStationsDefaultTemplate)
{
    const PrintOptions options = Accepted({"-dPDFFitPage", "-color", "-printer", "Ausleihe 2", "a.pdf"});
    EXPECT_EQ(options.printer, "Ausleihe 2");
    EXPECT_TRUE(options.fitToPage);
    EXPECT_EQ(options.color, ColorMode::Color);
    EXPECT_EQ(options.copies, 1);
    EXPECT_EQ(options.file, "a.pdf");
    EXPECT_FALSE(options.help);
}

TEST(ParsePrintOptions, DefaultsWhenOnlyTheFileIsGiven)
{
    const PrintOptions options = Accepted({"a.pdf"});
    EXPECT_EQ(options.printer, "");
    EXPECT_FALSE(options.fitToPage);
    EXPECT_EQ(options.color, ColorMode::QueueDefault);
    EXPECT_EQ(options.file, "a.pdf");

    // An empty printer parameter in the template arrives as an empty argument.
    EXPECT_EQ(Accepted({"-printer", "", "a.pdf"}).printer, "");
}

TEST(ParsePrintOptions, ColorCopiesAndTheLastColorOptionWins)
{
    const PrintOptions options = Accepted({"-color", "-mono", "-copies", "3", "a.pdf"});
    EXPECT_EQ(options.color, ColorMode::Monochrome);
    EXPECT_EQ(options.copies, 3);
    EXPECT_EQ(Accepted({"-mono", "-color", "a.pdf"}).color, ColorMode::Color);
    EXPECT_EQ(Accepted({"-copies", "999", "a.pdf"}).copies, 999);
}

TEST(ParsePrintOptions, TheLastArgumentIsAlwaysTheFile)
{
    EXPECT_EQ(Accepted({"-color", "-mono.pdf"}).file, "-mono.pdf");
    EXPECT_EQ(Accepted({"-printer", "q", "-printer"}).file, "-printer");
    EXPECT_EQ(Accepted({"-printer", "q", "-printer"}).printer, "q");
}

TEST(ParsePrintOptions, PutsAFileNameSplitAtItsBlanksTogetherAgain)
{
    const PrintOptions options = Accepted({"-dPDFFitPage", "-printer", "q", "Bestellung", "vom", "Mai.pdf"});
    EXPECT_EQ(options.file, "Bestellung vom Mai.pdf");
    EXPECT_EQ(options.printer, "q");
    EXPECT_TRUE(options.fitToPage);
}

TEST(ParsePrintOptions, RefusesWhatItDoesNotKnow)
{
    EXPECT_NE(Refusal({"-x", "a.pdf"}).find("-x"), std::string::npos);
    EXPECT_NE(Refusal({"-Color", "a.pdf"}).find("-Color"), std::string::npos);
    EXPECT_NE(Refusal({"-", "a.pdf"}).find("unknown option -"), std::string::npos);
    EXPECT_NE(Refusal({"-sDEVICE=pdfwrite", "-color", "a.pdf"}).find("-sDEVICE"), std::string::npos);
}

TEST(ParsePrintOptions, RefusesMissingOrBadValuesAndAMissingFile)
{
    EXPECT_NE(Refusal({"-printer", "a.pdf"}).find("-printer"), std::string::npos);
    EXPECT_NE(Refusal({"-color", "-copies", "a.pdf"}).find("-copies"), std::string::npos);
    for (const char* copies : {"0", "-1", "1000", "3x", "", " 2"})
        EXPECT_NE(Refusal({"-copies", copies, "a.pdf"}).find("-copies"), std::string::npos) << copies;
    EXPECT_EQ(Refusal({}), "no file given");
    EXPECT_EQ(Refusal({"-color", ""}), "no file given");
}

TEST(ParsePrintOptions, HelpOnlyWhenAskedForAloneAndOtherwiseTheLastArgumentIsTheFile)
{
    EXPECT_TRUE(Accepted({"--help"}).help);
    EXPECT_TRUE(Accepted({"-h"}).help);
    using Args = std::vector<std::string>;
    for (const Args& args : {Args{"-h.pdf"}, Args{"--help.pdf"}, Args{"-color", "-h"}, Args{"-printer", "q", "--help"}, Args{"-color", "-h.pdf"},
                             Args{"-printer", "q", "-printer.pdf"}, Args{"-color", "x -h y.pdf"},
                             Args{"-dPDFFitPage", "-color", "-printer", "q", "-copies 999 b.pdf"}}) {
        const PrintOptions options = Accepted(args);
        EXPECT_FALSE(options.help) << args.back();
        EXPECT_EQ(options.file, args.back());
        EXPECT_EQ(options.copies, 1) << args.back();
    }
    EXPECT_NE(Refusal({"-x", "--help", "a.pdf"}).find("-x"), std::string::npos);
}

TEST(ParsePrintOptions, WaitsFiveMinutesUnlessToldOtherwise)
{
    EXPECT_EQ(Accepted({"a.pdf"}).waitSeconds, 300);
    EXPECT_EQ(Accepted({"-wait", "0", "a.pdf"}).waitSeconds, 0);
    EXPECT_EQ(Accepted({"-wait", "86400", "a.pdf"}).waitSeconds, 86400);
    for (const char* bad : {"-1", "86401", "5s"})
        EXPECT_NE(Refusal({"-wait", bad, "a.pdf"}).find("-wait needs a number of seconds"), std::string::npos) << bad;
}
