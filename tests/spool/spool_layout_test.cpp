#include "spool/spool_layout.h"

#include "fakes/recording_log_list.h"
#include "fakes/recording_message_boxes.h"
#include "spool/activity_log.h"
#include "spool/test_station.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

class CreateSpoolFoldersTest : public ::testing::Test {
protected:
    CreateSpoolFoldersTest() { settings.SpoolDir = folder / "spool"; }

    std::vector<std::string> Logged() const { return Messages(list.lines); }

    ScratchFolder folder;
    StationSettings settings;
    RecordingLogList list;
    RecordingMessageBoxes boxes;
    ActivityLog log{settings, list};
};

TEST_F(CreateSpoolFoldersTest, KorvidCreatesTheRootAndItsThreeCategories)
{
    fs::create_directory(settings.SpoolDir);
    std::string root = settings.SpoolDir + "/SPOOL";
    EXPECT_TRUE(CreateSpoolFolders(settings, log));
    EXPECT_EQ(Logged(), (std::vector<std::string>{"Verz. " + root + " erzeugt!", "Verz. " + root + "/RL erzeugt!",
                                                   "Verz. " + root + "/FRONTSH erzeugt!",
                                                   "Verz. " + root + "/DELV erzeugt!"}));
    EXPECT_TRUE(fs::is_directory(root + "/DELV"));

    list.lines.clear();
    EXPECT_TRUE(CreateSpoolFolders(settings, log));
    EXPECT_EQ(Logged(), std::vector<std::string>{"Spool-Verzeichnis ist: " + root});
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(CreateSpoolFoldersTest, TheRootIsCreatedAsOneLevelOnly)
{
    EXPECT_FALSE(CreateSpoolFolders(settings, log));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Fehler -1 beim Erzeugen des Verzeichnisses: " + settings.SpoolDir + "/SPOOL");
    EXPECT_EQ(boxes.boxes[0].caption, "FEHLER");
    EXPECT_EQ(boxes.boxes[0].style, 0x2010u);
    EXPECT_FALSE(fs::exists(settings.SpoolDir));
    EXPECT_TRUE(list.lines.empty());

    settings.TessalineMode = 1;
    EXPECT_FALSE(CreateSpoolFolders(settings, log));
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[1].text, "1 Fehler -1 beim Erzeugen des Verzeichnisses: " + settings.SpoolDir + "/SPOOL");
}

TEST_F(CreateSpoolFoldersTest, AFailedCategoryDoesNotStopTheOthers)
{
    std::string root = settings.SpoolDir + "/SPOOL";
    fs::create_directories(root);
    // A link to nowhere fails the existence test and is in the way of the new folder.
    fs::create_symlink(folder / "nowhere", root + "/RL");

    EXPECT_FALSE(CreateSpoolFolders(settings, log));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Fehler -1 beim Erzeugen des Verzeichnisses: " + root + "/RL");
    EXPECT_EQ(boxes.boxes[0].caption, "FEHLER");
    EXPECT_EQ(Logged(), (std::vector<std::string>{"Spool-Verzeichnis ist: " + root, "Verz. " + root + "/FRONTSH erzeugt!",
                                                   "Verz. " + root + "/DELV erzeugt!"}));
}

TEST_F(CreateSpoolFoldersTest, TheRootSeparatorIsNotDoubledAndAnEmptySpoolDirIsTheProgramFolder)
{
    fs::create_directory(folder / "spool");
    settings.SpoolDir = folder / "spool/";
    EXPECT_TRUE(CreateSpoolFolders(settings, log));
    EXPECT_EQ(Logged().front(), "Verz. " + folder / "spool/SPOOL erzeugt!");
    EXPECT_EQ(LocalSpoolRoot(settings), folder / "spool/SPOOL");

    fs::create_directory(folder / "program");
    settings.ProgramFolder = folder / "program";
    settings.SpoolDir = "";
    list.lines.clear();
    EXPECT_TRUE(CreateSpoolFolders(settings, log));
    EXPECT_EQ(Logged().front(), "Verz. " + folder / "program/SPOOL erzeugt!");
    EXPECT_EQ(LocalSpoolRoot(settings), folder / "program/SPOOL");
    EXPECT_TRUE(fs::is_directory(folder / "program/SPOOL/DELV"));
}

TEST_F(CreateSpoolFoldersTest, TessalineCreatesEveryLevelOfEachSpoolFolder)
{
    settings.TessalineMode = 1;
    settings.SpoolFolders = {{"Aufsätze", "a/b", "P1", "", ""},
                             {"Fernleihe", "c\\d", "P2", "", ""},
                             {"Blocked", "x/y", "P3", "", ""},
                             {"Again", "a/b", "P4", "", ""}};
    std::string root = settings.SpoolDir + "/SPOOL";
    fs::create_directories(root);
    fs::create_symlink(folder / "nowhere", root + "/x");

    EXPECT_FALSE(CreateSpoolFolders(settings, log));
    EXPECT_TRUE(fs::is_directory(root + "/a/b"));
    EXPECT_TRUE(fs::is_directory(root + "/c/d"));
    EXPECT_EQ(Logged(), (std::vector<std::string>{"Spool-Verzeichnis ist: " + root, "Verz. " + root + "/a/b erzeugt!",
                                                   "Verz. " + root + "/c/d erzeugt!"}));
    // The folder utility's own report comes first.
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "ut_create_complete_path: could not create folder: " + root + "/x\nError: File exists");
    EXPECT_EQ(boxes.boxes[0].caption, "ERROR");
    EXPECT_EQ(boxes.boxes[0].style, 0x2010u);
    EXPECT_EQ(boxes.boxes.back().text, "2 Fehler beim Erzeugen des Verzeichnisses: " + root + "/x/y");
    EXPECT_EQ(boxes.boxes.back().caption, "FEHLER");
    EXPECT_EQ(boxes.boxes.back().style, 0x2010u);
}

TEST(SpoolLayout, CategoriesAndTheirFolders)
{
    StationSettings settings;
    settings.Printer_Delivery = "D";
    settings.Printer_RL_Driver_Port = "rl-port";
    settings.Printer_FrontSheet_Port = "fs-port";
    std::vector<SpoolCategory> korvid = SpoolCategories(settings);
    ASSERT_EQ(korvid.size(), 3u);
    EXPECT_EQ(korvid[0].folder, "FRONTSH");
    EXPECT_EQ(korvid[0].label, "Deckblätter");
    EXPECT_EQ(korvid[0].port, "fs-port");
    EXPECT_EQ(korvid[1].folder, "RL");
    EXPECT_EQ(korvid[1].label, "rote Leihscheine");
    EXPECT_EQ(korvid[1].port, "rl-port");
    EXPECT_EQ(korvid[2].folder, "DELV");
    EXPECT_EQ(korvid[2].label, "Auslieferungen");
    EXPECT_EQ(korvid[2].printer, "D");

    settings.SpoolDir = "/var/spool/station";
    settings.LocalMainDir = "/srv/docs";
    settings.KV_FTP_Store_Dir = "/pub";
    EXPECT_EQ(LocalSpoolRoot(settings), "/var/spool/station/SPOOL");
    EXPECT_EQ(LocalSourceBase(settings, "4711"), "/srv/docs/4711/SPOOL");
    EXPECT_EQ(RemoteSpoolBase(settings, "4711"), "/pub/4711/SPOOL");
    EXPECT_EQ(LocalSubfolder("/root", "a\\b/c"), "/root/a/b/c");

    settings.TessalineMode = 1;
    settings.SpoolFolders = {{"", "x", "PX", "dx", "px"}};
    EXPECT_EQ(LocalSourceBase(settings, "north"), "/srv/docs/north");
    std::vector<SpoolCategory> tessaline = SpoolCategories(settings);
    ASSERT_EQ(tessaline.size(), 1u);
    EXPECT_EQ(tessaline[0].folder, "x");
    EXPECT_EQ(tessaline[0].driver, "dx");
}

}  // namespace
