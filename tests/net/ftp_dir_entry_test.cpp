#include "net/ftp_dir_entry.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

int ThisYear()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

}  // namespace

TEST(ParseUnixEntry, NineTokensWithTimeGiveTheCurrentYear)
{
    FtpDirEntry entry;
    ParseUnixEntry("-rw-r--r--   1 lager    gruppe     123456 Mar  7 12:30 Lieferung 17.pdf", entry);
    EXPECT_EQ(entry.name, "Lieferung 17.pdf");
    EXPECT_EQ(entry.size, 123456);
    EXPECT_EQ(entry.month, 3);
    EXPECT_EQ(entry.day, 7);
    EXPECT_EQ(entry.year, ThisYear());
    EXPECT_EQ(entry.hour, 12);
    EXPECT_EQ(entry.minute, 30);
    EXPECT_EQ(entry.isDir, 0);
}

TEST(ParseUnixEntry, EightTokensHaveNoGroupColumn)
{
    FtpDirEntry entry;
    ParseUnixEntry("drwxr-xr-x 2 lager 4096 DEC 31 2005 DELV", entry);
    EXPECT_EQ(entry.name, "DELV");
    EXPECT_EQ(entry.size, 4096);
    EXPECT_EQ(entry.month, 12);
    EXPECT_EQ(entry.day, 31);
    EXPECT_EQ(entry.year, 2005);
    EXPECT_EQ(entry.hour, 0);
    EXPECT_EQ(entry.minute, 0);
    EXPECT_EQ(entry.isDir, 1);
}

TEST(ParseUnixEntry, MissingAndUnknownFieldsTakeTheirDefaults)
{
    FtpDirEntry entry;
    entry.name = "vorher";
    ParseUnixEntry("-rw-r--r-- 1 lager", entry);
    EXPECT_EQ(entry.name, "");
    EXPECT_EQ(entry.size, 0);
    EXPECT_EQ(entry.month, 1);
    EXPECT_EQ(entry.day, 1);
    EXPECT_EQ(entry.year, 0);

    ParseUnixEntry("-rw-r--r-- 1 a b 10 Foo 3 1999 x", entry);
    EXPECT_EQ(entry.month, 1);
    EXPECT_EQ(entry.day, 3);
    EXPECT_EQ(entry.year, 1999);

    ParseUnixEntry("-rw-r--r-- 1 a b 10 Jan 3 " + std::string(300, 'n'), entry);
    EXPECT_EQ(entry.name.size(), 260u);
}

TEST(ParseDosEntry, DatesTimesAndDirectories)
{
    FtpDirEntry entry;
    ParseDosEntry("01-15-05  10:30AM       <DIR>          Rote Leihscheine", entry);
    EXPECT_EQ(entry.name, "Rote Leihscheine");
    EXPECT_EQ(entry.isDir, 1);
    EXPECT_EQ(entry.size, 0);
    EXPECT_EQ(entry.month, 1);
    EXPECT_EQ(entry.day, 15);
    EXPECT_EQ(entry.year, 2005);
    EXPECT_EQ(entry.hour, 10);
    EXPECT_EQ(entry.minute, 30);

    ParseDosEntry("12-31-99  03:05PM              20480 deckblatt.pdf", entry);
    EXPECT_EQ(entry.name, "deckblatt.pdf");
    EXPECT_EQ(entry.isDir, 0);
    EXPECT_EQ(entry.size, 20480);
    EXPECT_EQ(entry.month, 12);
    EXPECT_EQ(entry.day, 31);
    EXPECT_EQ(entry.year, 1999);
    EXPECT_EQ(entry.hour, 15);
    EXPECT_EQ(entry.minute, 5);

    ParseDosEntry("06-01-70  12:10AM  1 a.pdf", entry);
    EXPECT_EQ(entry.year, 1970);
    EXPECT_EQ(entry.hour, 0);
    ParseDosEntry("06-01-69  12:10PM  1 a.pdf", entry);
    EXPECT_EQ(entry.year, 2069);
    EXPECT_EQ(entry.hour, 12);

    ParseDosEntry("07", entry);
    EXPECT_EQ(entry.month, 7);
    EXPECT_EQ(entry.day, 1);
    EXPECT_EQ(entry.hour, 12);
    EXPECT_EQ(entry.name, "");
}
