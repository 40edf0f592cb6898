// The save of the settings after a settings command: a failure and a station without
// a settings file are told in a box.
#include "spool/settings_save.h"

#include "config/station_settings.h"
#include "fakes/recording_message_boxes.h"
#include "support/scratch_folder.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace {

StationSettings FreshSettings(const std::string& iniPath)
{
    StationSettings settings;
    settings.IniPath = iniPath;
    settings.ProgramFolder = "/opt/station";
    return settings;
}

}  // namespace

TEST(SaveSettings, AFailedSaveShowsOneBoxAndLeavesTheFileWhole)
{
    namespace fs = std::filesystem;
    ScratchFolder folder;
    const std::string file = folder / "kv_print.ini";
    const std::string old = "[MAIN]\nPolling_Rate=30\n";
    WriteTestFile(file, old);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read
                                       | fs::perms::others_exec);
    // Root writes anywhere: the save runs as nobody, and its exit code says what it showed.
    pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(100);
        RecordingMessageBoxes boxes;
        StationSettings settings = FreshSettings(file);
        settings.MainFolders = {"a"};
        SaveSettings(settings);
        bool told = boxes.boxes.size() == 1
            && boxes.boxes[0].text.rfind("Die Einstellungsdatei konnte nicht geschrieben werden:\n\nDatei: " + file, 0) == 0;
        ::_exit(told ? 0 : 10 + static_cast<int>(boxes.boxes.size()));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    fs::permissions(folder.Path(), fs::perms::owner_all);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadTestFile(file), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST(SaveSettings, NoSettingsFileGivesDefaultsAndSaysSoOnce)
{
    RecordingMessageBoxes boxes;
    StationSettings settings = FreshSettings("");
    LoadSettings(settings);
    EXPECT_EQ(settings.Polling_Rate, 60);
    SaveSettings(settings);
    SaveSettings(settings);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].text.find("keine Einstellungsdatei"), std::string::npos);
}
