#include "spool/activity_log.h"

#include "config/password_scrambling.h"
#include "fakes/recording_log_list.h"
#include "fakes/recording_log_viewer.h"
#include "fakes/recording_message_boxes.h"
#include "spool/settings_file_check.h"
#include "spool/test_station.h"
#include "support/scratch_folder.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class ActivityLogTest : public ::testing::Test {
protected:
    ActivityLogTest() { settings.LogFileName = folder / "kv_print.log"; }

    ScratchFolder folder;
    StationSettings settings;
    RecordingLogList list;
    RecordingMessageBoxes boxes;
};

TEST(LogTimeStamp, DayMonthAndTimeWithoutYear)
{
    std::tm time{};
    time.tm_mday = 7;
    time.tm_mon = 11;
    time.tm_hour = 10;
    time.tm_min = 5;
    time.tm_sec = 9;
    time.tm_year = 126;
    EXPECT_EQ(LogTimeStamp(time), "07.12. 10:05:09");
}

TEST_F(ActivityLogTest, EveryLineIsNumberedWhateverItsTarget)
{
    settings.DoLog = 0;
    ActivityLog log(settings, list);
    int first = LineCounter() + 1;
    log.AddLogLine("Stopp");
    log.AddLogLine("nur in die Datei", LogTarget::FileOnly);
    log.AddLogLine("Drucke nun a.pdf (0KB)", LogTarget::ListOnly);

    std::vector<LoggedLine> lines = ParseLogLines(list.lines);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].number, first);
    EXPECT_EQ(lines[0].message, "Stopp");
    EXPECT_EQ(lines[1].number, first + 2);
    EXPECT_EQ(lines[1].message, "Drucke nun a.pdf (0KB)");
    EXPECT_EQ(LineCounter(), first + 2);
    EXPECT_EQ(list.shownLast, 2);
    EXPECT_EQ(list.repaints, 2);
    EXPECT_FALSE(std::filesystem::exists(settings.LogFileName));
}

TEST_F(ActivityLogTest, TheListLosesItsOldest1000LinesOnlyBeyond10000)
{
    ActivityLog log(settings, list);
    for (int i = 0; i < kLogListLimit; ++i)
        list.lines.push_back("old " + std::to_string(i));
    log.AddLogLine("10001");
    EXPECT_EQ(list.Count(), 10001);
    EXPECT_TRUE(list.removals.empty());

    log.AddLogLine("9002");
    EXPECT_EQ(list.Count(), 9002);
    EXPECT_EQ(list.lines.front(), "old 1000");
    EXPECT_EQ(Messages({list.lines.back()}), std::vector<std::string>{"9002"});

    // A line for the file alone trims the list as well.
    while (list.Count() <= kLogListLimit)
        list.lines.push_back("filler");
    log.AddLogLine("nur Datei", LogTarget::FileOnly);
    EXPECT_EQ(list.Count(), 9001);
    EXPECT_EQ(list.removals, (std::vector<int>{1000, 1000}));
}

TEST_F(ActivityLogTest, TheFileGetsListAndFileLinesAndKeepsItsHandle)
{
    settings.DoLog = 1;
    ActivityLog log(settings, list);
    log.AddLogLine("nur Liste", LogTarget::ListOnly);
    EXPECT_FALSE(log.IsLogFileOpen());
    int first = LineCounter() + 1;
    log.AddLogLine("Start (Polling-Rate 60 Sekunden)");
    log.AddLogLine("Druck: /spool/SPOOL/DELV/a.pdf (2 KB)", LogTarget::FileOnly);
    EXPECT_TRUE(log.IsLogFileOpen());
    // Each line is on disk at once, and the station writes on through its open file.
    std::filesystem::rename(settings.LogFileName, folder / "moved.log");
    log.AddLogLine("Stopp");

    std::vector<LoggedLine> lines = ParseLogLines(FileLines(folder / "moved.log"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].number, first);
    EXPECT_EQ(lines[0].message, "Start (Polling-Rate 60 Sekunden)");
    EXPECT_EQ(lines[1].message, "Druck: /spool/SPOOL/DELV/a.pdf (2 KB)");
    EXPECT_EQ(lines[2].number, first + 2);
    EXPECT_FALSE(std::filesystem::exists(settings.LogFileName));
}

TEST_F(ActivityLogTest, ALogFileThatCannotBeOpenedCostsOnlyTheLine)
{
    settings.DoLog = 1;
    settings.LogFileName = folder / "later/kv_print.log";
    ActivityLog log(settings, list);
    log.AddLogLine("lost");
    EXPECT_FALSE(log.IsLogFileOpen());
    EXPECT_EQ(Messages(list.lines), std::vector<std::string>{"lost"});
    EXPECT_TRUE(boxes.boxes.empty());

    std::filesystem::create_directory(folder / "later");
    log.AddLogLine("kept");
    EXPECT_EQ(Messages(FileLines(settings.LogFileName)), std::vector<std::string>{"kept"});
}

TEST_F(ActivityLogTest, TheSizeWarningComesOnlyAboveTheLimit)
{
    settings.DoLog = 1;
    settings.LogFileMaxSize = 0;
    ActivityLog log(settings, list);
    WriteTestFile(settings.LogFileName, std::string(1023, 'x'));
    log.CheckLogFileSize();
    EXPECT_TRUE(boxes.boxes.empty());

    settings.LogFileMaxSize = 2;
    WriteTestFile(settings.LogFileName, std::string(2 * 1024 + 1023, 'x'));
    log.CheckLogFileSize();
    EXPECT_TRUE(boxes.boxes.empty());

    WriteTestFile(settings.LogFileName, std::string(3 * 1024, 'x'));
    log.CheckLogFileSize();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "Log-Datei ist zu gross geworden!");
    EXPECT_EQ(boxes.boxes[0].text, "Die Größe der Log-Datei\n\n" + settings.LogFileName +
                                       "\n\nbeträgt 3 KBytes.\nAls Maximalgröße war 2 KBytes angegeben!\n\n"
                                       "Bitte leeren Sie ggfs. die Log-Datei!");
    EXPECT_EQ(boxes.boxes[0].style, 0x2010u);
    EXPECT_TRUE(std::filesystem::exists(settings.LogFileName));

    settings.DoLog = 0;
    log.CheckLogFileSize();
    EXPECT_EQ(boxes.boxes.size(), 1u);
}

TEST_F(ActivityLogTest, ViewLogOpensAnExistingFileElseSaysThereIsNone)
{
    settings.DoLog = 1;
    settings.LogFileName = folder / "mit Leerzeichen.log";
    RecordingLogViewer viewer;
    ActivityLog log(settings, list);
    log.ViewLog(viewer);
    EXPECT_TRUE(viewer.opened.empty());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Die Logdatei ist leer, bzw. (noch) nicht vorhanden !");
    EXPECT_EQ(boxes.boxes[0].caption, "Information");
    EXPECT_EQ(boxes.boxes[0].style, 0x2040u);

    log.AddLogLine("eine Zeile");
    log.ViewLog(viewer);
    EXPECT_EQ(viewer.opened, std::vector<std::string>{settings.LogFileName});

    settings.DoLog = 0;
    log.ViewLog(viewer);
    EXPECT_EQ(viewer.opened.size(), 1u);
    EXPECT_EQ(boxes.boxes.size(), 2u);
}

TEST_F(ActivityLogTest, ClearLogAsksAndOnlyYesDeletesTheFile)
{
    settings.DoLog = 0;
    ActivityLog log(settings, list);
    WriteTestFile(settings.LogFileName, "<01.01. 00:00:00 1> alt\n");
    log.ClearLog();
    EXPECT_TRUE(boxes.boxes.empty());

    settings.DoLog = 1;
    log.AddLogLine("vorher");
    boxes.answers = {BoxButton::No, BoxButton::Cancel, BoxButton::Yes};
    log.ClearLog();
    log.ClearLog();
    EXPECT_TRUE(std::filesystem::exists(settings.LogFileName));
    EXPECT_TRUE(log.IsLogFileOpen());
    log.ClearLog();
    EXPECT_FALSE(std::filesystem::exists(settings.LogFileName));
    EXPECT_FALSE(log.IsLogFileOpen());
    ASSERT_EQ(boxes.boxes.size(), 3u);
    EXPECT_EQ(boxes.boxes[0].caption, "Log-Datei leeren");
    EXPECT_EQ(boxes.boxes[0].text, "Wollen Sie die Logdatei\n\n" + settings.LogFileName +
                                       "\n\nwirklich komplett leeren ?");
    EXPECT_EQ(boxes.boxes[0].style, 0x2003u);

    int next = LineCounter() + 1;
    log.AddLogLine("nachher");
    std::vector<LoggedLine> lines = ParseLogLines(FileLines(settings.LogFileName));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].number, next);
    EXPECT_GT(next, 1);
}

}  // namespace

namespace {

TEST_F(ActivityLogTest, ANewLogFileIsTheUsersOnlyAndASettingsFileOthersCanReadIsWarnedAbout)
{
    mode_t before = umask(0);
    settings.DoLog = 1;
    {
        ActivityLog log(settings, list);
        log.AddLogLine("Start");
    }
    umask(before);
    EXPECT_EQ(fs::status(settings.LogFileName).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    const std::string ini = folder / "kv_print.ini";
    WriteTestFile(ini, "[MAIN]\nKV_FTP_Store_Password=" + ScramblePassword("geheim", 3, 4, 5) + "\n");
    struct Case {
        mode_t mode;
        bool warned;
    };
    for (const Case& c : {Case{0600, false}, Case{0400, false}, Case{0640, true}, Case{0604, true}}) {
        ASSERT_EQ(chmod(ini.c_str(), c.mode), 0);
        list.lines.clear();
        ActivityLog log(settings, list);
        WarnAboutSettingsFile(ini, log);
        ASSERT_EQ(list.lines.size(), c.warned ? 1u : 0u) << std::oct << c.mode;
        if (c.warned) {
            EXPECT_NE(list.lines[0].find(ini), std::string::npos);
        }
    }
    EXPECT_EQ(SettingsFileWarning(folder / "missing.ini"), "");
}

}  // namespace
