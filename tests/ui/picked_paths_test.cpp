#include "ui/picked_paths.h"

#include <gtest/gtest.h>

TEST(PickedPaths, LogFileGetsTheExtensionWhenItHasNone)
{
    EXPECT_EQ(PickedLogFile("/var/log/history"), "/var/log/history.log");
    EXPECT_EQ(PickedLogFile("/var/log/history.txt"), "/var/log/history.txt");
    EXPECT_EQ(PickedLogFile("/var/log/history.log"), "/var/log/history.log");
    // A dot in a folder name is no extension of the file.
    EXPECT_EQ(PickedLogFile("/srv/station.d/history"), "/srv/station.d/history.log");
    EXPECT_EQ(PickedLogFile("/srv/.hidden"), "/srv/.hidden.log");
}

TEST(PickedPaths, FoldersWithAndWithoutTrailingSeparator)
{
    EXPECT_EQ(PickedSpoolFolder("/srv/spool"), "/srv/spool");
    EXPECT_EQ(PickedSpoolFolder("/srv/spool/"), "/srv/spool");
    EXPECT_EQ(PickedSpoolFolder("/"), "/");
    EXPECT_EQ(PickedLocalFolder("/srv/quelle"), "/srv/quelle/");
    EXPECT_EQ(PickedLocalFolder("/srv/quelle/"), "/srv/quelle/");
    EXPECT_EQ(PickedLocalFolder("/"), "/");
}
