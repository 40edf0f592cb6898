#include "net/sftp_listing_line.h"

#include <gtest/gtest.h>

TEST(SftpListingLine, ReadsTheLongFormOfTheComponent)
{
    FtpDirEntry entry;
    entry.month = 7;
    entry.hour = 9;
    ParseSftpListingLine("-rw-r--r--    1 kv       store        5123 Mar  4 12:30 report 1.pdf", entry);
    EXPECT_EQ(entry.name, "report 1.pdf");
    EXPECT_EQ(entry.size, 5123);
    EXPECT_EQ(entry.day, 4);
    EXPECT_EQ(entry.year, 12);
    EXPECT_EQ(entry.month, 0);
    EXPECT_EQ(entry.hour, 0);
    EXPECT_EQ(entry.minute, 0);
    EXPECT_EQ(entry.isDir, 0);

    ParseSftpListingLine("drwxr-xr-x    2 kv       store        4096 Jan 17  2023 DELV/", entry);
    EXPECT_EQ(entry.name, "DELV");
    EXPECT_EQ(entry.year, 2023);
    EXPECT_EQ(entry.day, 17);
    EXPECT_EQ(entry.isDir, 1);
}

TEST(SftpListingLine, NameLosesSurroundingBlanksAndOneMark)
{
    FtpDirEntry entry;
    ParseSftpListingLine("-rwxr-xr-x 1 a b 10 Jan 1 2020   run me.pdf*  ", entry);
    EXPECT_EQ(entry.name, "run me.pdf");
    ParseSftpListingLine("drwx------ 1 a b 0 Jan 1 2020 twice//", entry);
    EXPECT_EQ(entry.name, "twice/");
    // A file that only looks like a directory by its name is none.
    ParseSftpListingLine("-rw------- 1 a b 0 Jan 1 2020 x.pdf/", entry);
    EXPECT_EQ(entry.name, "x.pdf");
    EXPECT_EQ(entry.isDir, 0);
    // Only a lower-case "d" in front marks a directory.
    ParseSftpListingLine("Drw------- 1 a b 0 Jan 1 2020 upper", entry);
    EXPECT_EQ(entry.isDir, 0);
}

TEST(SftpListingLine, ShortLinesLeaveTheMissingFieldsEmpty)
{
    FtpDirEntry entry;
    entry.name = "before";
    entry.size = 99;
    ParseSftpListingLine("-rw-r--r-- 1 kv store 77 Mar 4 2024", entry);
    EXPECT_EQ(entry.name, "");
    EXPECT_EQ(entry.size, 77);
    EXPECT_EQ(entry.year, 2024);
    ParseSftpListingLine("", entry);
    EXPECT_EQ(entry.name, "");
    EXPECT_EQ(entry.size, 0);
    EXPECT_EQ(entry.day, 0);
    EXPECT_EQ(entry.isDir, 0);
}
