#include "job_options.h"

#include <gtest/gtest.h>

using Options = std::vector<std::pair<std::string, std::string>>;

TEST(JobOptions, SendsOnlyWhatWasAskedFor)
{
    EXPECT_EQ(JobOptions(PrintOptions{}), Options{});

    PrintOptions fitColor;
    fitColor.fitToPage = true;
    fitColor.color = ColorMode::Color;
    EXPECT_EQ(JobOptions(fitColor), (Options{{"fit-to-page", "true"}, {"print-color-mode", "color"}}));

    PrintOptions monoCopies;
    monoCopies.color = ColorMode::Monochrome;
    monoCopies.copies = 12;
    EXPECT_EQ(JobOptions(monoCopies), (Options{{"print-color-mode", "monochrome"}, {"copies", "12"}}));
}
