#include "ui/file_filter.h"

#include <gtest/gtest.h>

TEST(FileFilter, ProgramFilterOffersProgramsThenAllFiles)
{
    const std::vector<FileFilter> filters = ParseFileFilter(kProgramFileFilter);
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].name, "Programm-Dateien");
    EXPECT_EQ(filters[0].pattern, "*");
    EXPECT_EQ(filters[1].name, "Alle Dateien");
    EXPECT_EQ(filters[1].pattern, "*.*");
    EXPECT_EQ(NameFilterText(filters[0]), "Programm-Dateien (*)");
    // Every file, also a program without a dot in its name.
    EXPECT_EQ(NameFilterText(filters[1]), "Alle Dateien (*)");
}

TEST(FileFilter, ParsingStopsAtTheEnd)
{
    EXPECT_TRUE(ParseFileFilter("").empty());
    EXPECT_TRUE(ParseFileFilter("^^").empty());
    EXPECT_EQ(ParseFileFilter("Nur^*.a").size(), 1u);
    EXPECT_EQ(ParseFileFilter("Nur^*.a^Halb^^Rest^*.r^^").size(), 1u);
    const std::vector<FileFilter> several = ParseFileFilter("Texte^*.txt;*.log^^");
    ASSERT_EQ(several.size(), 1u);
    EXPECT_EQ(NameFilterText(several[0]), "Texte (*.txt *.log)");
}
