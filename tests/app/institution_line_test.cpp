#include "app/institution_line.h"

#include <gtest/gtest.h>

TEST(InstitutionLine, ServiceModeNamesTheAbbreviationToo)
{
    StationSettings settings;
    settings.KV_Inst_Name = "Stadtbibliothek Nord";
    settings.KV_Inst_ID = "4711";
    settings.KV_Inst_Abbrev = "SBN";
    EXPECT_EQ(InstitutionLine(settings), "Zugeordnete Institution: Stadtbibliothek Nord (4711, SBN)");

    settings.KorvidMode = 0;
    EXPECT_EQ(InstitutionLine(settings), "Zugeordnete Institution: Stadtbibliothek Nord (4711)");
}

TEST(InstitutionLine, EmptyValuesStayEmptyAndTheSecondModeHasNone)
{
    StationSettings settings;
    EXPECT_EQ(InstitutionLine(settings), "Zugeordnete Institution:  (, )");

    settings.KV_Inst_Name = "Stadtbibliothek Nord";
    settings.TessalineMode = 1;
    EXPECT_EQ(InstitutionLine(settings), "");
}
