#include "app/start_values.h"

#include <gtest/gtest.h>

namespace {
const std::string kStamp = "Jun 25 2013 16:27:31";
}

TEST(StartValues, ProductModeAndFilesFollowTheNameStartedUnder)
{
    StartValues kv = DeriveStartValues("/usr/bin/kv_print", "/home/lib/station", kStamp);
    EXPECT_EQ(kv.ProgramName, "kv_print");
    EXPECT_EQ(kv.TessalineMode, 0);
    EXPECT_EQ(kv.ProgramFolder, "/home/lib/station");
    EXPECT_EQ(kv.IniPath, "/home/lib/station/kv_print.ini");
    EXPECT_EQ(kv.WindowTitle,
              "kv_print - KORVID-PDF-Ausgabeprogramm Version 3.0.2 (Jun 25 2013 16:27:31)");
    EXPECT_EQ(kv.AboutText, "Info über kv_print");

    StartValues ts = DeriveStartValues("./ts_print", "/srv/ts", kStamp);
    EXPECT_EQ(ts.TessalineMode, 1);
    EXPECT_EQ(ts.IniPath, "/srv/ts/ts_print.ini");
    EXPECT_EQ(ts.VersionText, "Tessaline-PDF-Ausgabeprogramm Version 3.0.2 (Jun 25 2013 16:27:31)");
    EXPECT_EQ(ts.AboutText, "Info über ts_print");
}

TEST(StartValues, UpperCaseNameAndExtensionStillSelectTheMode)
{
    StartValues kv = DeriveStartValues("/opt/KV_PRINT", "/work", kStamp);
    EXPECT_EQ(kv.IniPath, "/work/kv_print.ini");
    EXPECT_EQ(kv.WindowTitle.rfind("KV_PRINT - KORVID", 0), 0u) << kv.WindowTitle;

    StartValues ts = DeriveStartValues("links/Ts_Print.bin", "/work", kStamp);
    EXPECT_EQ(ts.ProgramName, "Ts_Print");
    EXPECT_EQ(ts.TessalineMode, 1);
    EXPECT_EQ(ts.IniPath, "/work/ts_print.ini");
}

TEST(StartValues, AnotherNameRunsTheFirstModeWithoutSettingsFile)
{
    StartValues v = DeriveStartValues("/usr/bin/station", "/work", kStamp);
    EXPECT_EQ(v.TessalineMode, 0);
    EXPECT_EQ(v.IniPath, "");
    EXPECT_EQ(v.AboutText, "Info über kv_print");
}

TEST(StartValues, RootFolderLosesItsSeparator)
{
    StartValues v = DeriveStartValues("kv_print", "/", kStamp);
    EXPECT_EQ(v.ProgramFolder, "");
    EXPECT_EQ(v.IniPath, "/kv_print.ini");
}
