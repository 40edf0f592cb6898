#include "spool/param_table.h"

#include <gtest/gtest.h>

#include <string>

TEST(ParamTable, NamesAreStoredUpperCaseAndFoundWithoutRegardToCase)
{
    ParamTable table;
    EXPECT_TRUE(table.AddParam("Printer", "P1"));
    EXPECT_TRUE(table.AddParam("file"));
    EXPECT_EQ(table.FindParam("PRINTER"), 0);
    EXPECT_EQ(table.FindParam("printer"), 0);
    EXPECT_EQ(table.FindParam("FiLe"), 1);
    EXPECT_EQ(table.Value(0), "P1");
    EXPECT_EQ(table.Value(1), "");
    EXPECT_EQ(table.FindParam("PRINTERS"), -1);
    EXPECT_EQ(table.FindParam(""), -1);
    // Letters beyond ASCII keep their case: "ä" and "Ä" are different names.
    EXPECT_TRUE(table.AddParam("mä"));
    EXPECT_EQ(table.FindParam("Mä"), 2);
    EXPECT_EQ(table.FindParam("MÄ"), -1);
}

TEST(ParamTable, AddRefusesADuplicateAndAFullTable)
{
    ParamTable table(3);
    EXPECT_TRUE(table.AddParam("A", "1"));
    EXPECT_FALSE(table.AddParam("a", "2"));
    EXPECT_EQ(table.Value(table.FindParam("A")), "1");
    EXPECT_TRUE(table.AddParam("B"));
    EXPECT_TRUE(table.AddParam("C"));
    EXPECT_FALSE(table.AddParam("D"));
    EXPECT_EQ(table.FindParam("D"), -1);

    ParamTable full;
    for (int i = 0; i < kParamSlots; ++i)
        ASSERT_TRUE(full.AddParam("P" + std::to_string(i))) << i;
    EXPECT_FALSE(full.AddParam("ONE_TOO_MANY"));
    EXPECT_EQ(full.FindParam("p199"), 199);
}

TEST(ParamTable, SetReplacesValuesButNeverAddsNames)
{
    ParamTable table;
    table.AddParam("CWD", "old");
    EXPECT_TRUE(table.SetParam("cwd", "DELV"));
    EXPECT_EQ(table.Value(0), "DELV");
    EXPECT_TRUE(table.SetParam("CWD", std::nullopt));
    EXPECT_EQ(table.Value(0), "");
    EXPECT_FALSE(table.SetParam("PATH", "/x"));
    EXPECT_EQ(table.FindParam("PATH"), -1);
    EXPECT_EQ(table.Value(-1), "");
    EXPECT_EQ(table.Value(kParamSlots), "");
}
