#include "listing_line.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <ctime>

namespace {

class ListingLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("TZ", "UTC", 1);
        tzset();
        attributes.flags = SSH_FILEXFER_ATTR_SIZE | SSH_FILEXFER_ATTR_PERMISSIONS
            | SSH_FILEXFER_ATTR_ACMODTIME;
        attributes.owner = owner;
        attributes.group = group;
    }

    char owner[8] = "kv";
    char group[8] = "store";
    char name[32] = "report 1.pdf";
    sftp_attributes_struct attributes{};
    // 2024-03-04 12:30 UTC
    const std::time_t march = 1709555400;
};

TEST_F(ListingLineTest, MadeFromTheAttributesInTheFormOfLsL)
{
    attributes.name = name;
    attributes.permissions = S_IFREG | 0644;
    attributes.size = 123456;
    attributes.mtime = uint32_t(march);
    // Older than half a year: the year; within: the time.
    EXPECT_EQ(ListingLine(attributes, march + 400 * 86400),
              "-rw-r--r--   1 kv       store      123456 Mar  4  2024 report 1.pdf");
    EXPECT_EQ(ListingLine(attributes, march + 86400),
              "-rw-r--r--   1 kv       store      123456 Mar  4 12:30 report 1.pdf");
    // A date in the future is not recent.
    EXPECT_EQ(ListingLine(attributes, march - 60),
              "-rw-r--r--   1 kv       store      123456 Mar  4  2024 report 1.pdf");

    attributes.permissions = S_IFDIR | 02775 | S_ISVTX;
    attributes.owner = nullptr;
    attributes.uid = 1001;
    EXPECT_EQ(ListingLine(attributes, march + 400 * 86400),
              "drwxrwsr-t   1 1001     store      123456 Mar  4  2024 report 1.pdf");
}

TEST_F(ListingLineTest, TakesTheServersLongNameOnlyWhenItEndsInTheName)
{
    char longName[] = "-rw-------    1 kv       store           5 Jan  2  2023 report 1.pdf";
    attributes.name = name;
    attributes.longname = longName;
    attributes.permissions = S_IFREG | 0644;
    attributes.size = 9;
    attributes.mtime = uint32_t(march);
    EXPECT_EQ(ListingLine(attributes, march), longName);

    char otherName[] = "-rw-------    1 kv       store           5 Jan  2  2023 other.pdf";
    attributes.longname = otherName;
    EXPECT_EQ(ListingLine(attributes, march + 400 * 86400),
              "-rw-r--r--   1 kv       store           9 Mar  4  2024 report 1.pdf");
}

}  // namespace
