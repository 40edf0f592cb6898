#include "spool/run_control.h"

#include "net/result_codes.h"
#include "spool/polling_cycle.h"
#include "spool/test_station.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

class RunControlTest : public ::testing::Test {
protected:
    RunControlTest() : test(true) {}

    Station& Make(StationSettings settings)
    {
        settings.ProgramFolder = SFTP_STUB_COMPLETE_DIR;
        fs::create_directories(settings.SpoolDir);
        Station& station = test.Make(std::move(settings));
        station.CreateSpoolFolders();
        test.desktop.logList.lines.clear();
        return station;
    }
    StationSettings StoreSettings() const
    {
        StationSettings settings = LocalKorvidSettings(test.folder.Path());
        settings.LocalFsMode = 0;
        settings.KV_Server = "service.example";
        settings.KV_Port = "8080";
        settings.KV_FTP_Store = "store.example";
        settings.KV_FTP_Store_Dir = "/pub";
        settings.KV_FTP_Store_User = "bib";
        settings.KV_FTP_Store_Password = "geheim";
        return settings;
    }
    Lines Logged() const { return Messages(test.desktop.logList.lines); }

    TestStation test;
};

TEST_F(RunControlTest, StartLogsItsLinesRunsACycleAndSetsTheTimer)
{
    Station& station = Make(LocalKorvidSettings(test.folder.Path()));
    WriteTestFile(test.folder / "source/4711/SPOOL/DELV/a.pdf", "%PDF a");
    station.Settings().Polling_Rate = 30;

    station.StartPolling();

    EXPECT_EQ(Logged(), (Lines{"Start (Polling-Rate 30 Sekunden)", "Lokaler Modus, kein FTP/SFTP Server !",
                               "Drucker (Lieferungen):      Lieferdrucker",
                               "Drucker (rote Leihscheine): Leihschein Drucker",
                               "Drucker (Deckblätter):      Deckblatt", "Drucke nun a.pdf (0KB)"}));
    EXPECT_TRUE(test.boxes.boxes.empty());
    EXPECT_TRUE(station.IsRunning());
    EXPECT_FALSE(test.desktop.runButtons.start);
    EXPECT_TRUE(test.desktop.runButtons.stop);
    ASSERT_EQ(test.desktop.timer.sets.size(), 1u);
    EXPECT_EQ(test.desktop.timer.sets[0].id, POLL_TIMER_ID);
    EXPECT_EQ(test.desktop.timer.sets[0].milliseconds, 30000u);
    EXPECT_EQ(station.Run().TimerHandle(), POLL_TIMER_ID);
    EXPECT_EQ(test.recordingRunner.started.size(), 1u);

    station.StartPolling();
    EXPECT_EQ(Logged().size(), 6u);
    EXPECT_EQ(test.desktop.timer.sets.size(), 1u);
}

TEST_F(RunControlTest, TheConnectionLinesFollowTheModes)
{
    Station& station = Make(StoreSettings());
    station.StartPolling();
    Lines logged = Logged();
    ASSERT_GE(logged.size(), 3u);
    EXPECT_EQ(Lines(logged.begin() + 1, logged.begin() + 3),
              (Lines{"Korvid-Server: service.example auf Port 8080", "FTP-Lager auf FTP-Server store.example:/pub ..."}));
    station.StopPolling();

    station.Settings().KorvidMode = 0;
    station.Settings().KV_Sftp_Mode = 1;
    test.desktop.logList.lines.clear();
    station.StartPolling();
    EXPECT_EQ(Logged().at(1), "FTP-Lager auf SFTP-Server store.example:/pub ...");
    EXPECT_EQ(Logged().at(2), "Drucker (Lieferungen):      Lieferdrucker");
}

TEST_F(RunControlTest, TessalineListsAPrinterLinePerSpoolFolder)
{
    StationSettings settings = StoreSettings();
    settings.TessalineMode = 1;
    settings.MainFolders = {"north"};
    settings.SpoolFolders = {{"Aufsätze", "articles", "Artikeldrucker", "", ""}, {"", "loans/red", "Rotdrucker", "", ""}};
    Station& station = Make(settings);

    station.StartPolling();

    Lines logged = Logged();
    ASSERT_GE(logged.size(), 4u);
    EXPECT_EQ(Lines(logged.begin(), logged.begin() + 4),
              (Lines{"Start (Polling-Rate 60 Sekunden)", "FTP-Lager auf FTP-Server store.example:/pub ...",
                     // Padded to forty characters: the "ä" is one of them.
                     "Drucker (Aufsätze):                      Artikeldrucker",
                     "Drucker (loans/red):                     Rotdrucker"}));
}

TEST_F(RunControlTest, AFailedCheckLeavesTheStationStoppedAndSilent)
{
    StationSettings settings = LocalKorvidSettings(test.folder.Path());
    settings.Printer_RL = "   ";
    Station& station = Make(settings);

    station.StartPolling();

    ASSERT_EQ(test.boxes.boxes.size(), 1u);
    EXPECT_EQ(test.boxes.boxes[0].text, "Kein Drucker für rote Leihscheine konfiguriert");
    EXPECT_TRUE(test.desktop.logList.lines.empty());
    EXPECT_FALSE(station.IsRunning());
    EXPECT_EQ(test.desktop.runButtons.updates, 0);
    EXPECT_TRUE(test.desktop.timer.sets.empty());
    EXPECT_TRUE(test.desktop.display.statusTexts.empty());
}

TEST_F(RunControlTest, StopKillsTheTimerAndLogsStopp)
{
    Station& station = Make(LocalKorvidSettings(test.folder.Path()));
    station.StopPolling();
    EXPECT_TRUE(test.desktop.logList.lines.empty());

    station.StartPolling();
    station.StopPolling();
    EXPECT_FALSE(station.IsRunning());
    EXPECT_EQ(test.desktop.timer.kills, std::vector<unsigned>{POLL_TIMER_ID});
    EXPECT_EQ(station.Run().TimerHandle(), 0u);
    EXPECT_EQ(Logged().back(), "Stopp");
    EXPECT_EQ(test.desktop.display.statusTexts.back(), "");
    EXPECT_TRUE(test.desktop.runButtons.start);
    EXPECT_FALSE(test.desktop.runButtons.stop);

    station.StopPolling();
    Lines logged = Logged();
    EXPECT_EQ(std::count(logged.begin(), logged.end(), "Stopp"), 1);
}

TEST_F(RunControlTest, SettingsCommandsAreRefusedOnlyWhileRunning)
{
    Station& station = Make(LocalKorvidSettings(test.folder.Path()));
    EXPECT_FALSE(station.RefuseWhileRunning());
    EXPECT_TRUE(test.boxes.boxes.empty());

    station.StartPolling();
    EXPECT_TRUE(station.RefuseWhileRunning());
    ASSERT_EQ(test.boxes.boxes.size(), 1u);
    EXPECT_EQ(test.boxes.boxes[0].text, "Stoppen Sie zunächst die Aktivitäten durch Betätigen des STOPP-Buttons.");
    EXPECT_EQ(test.boxes.boxes[0].caption, "Operation nicht möglich");
    EXPECT_EQ(test.boxes.boxes[0].style, 0x2010u);

    station.StopPolling();
    EXPECT_FALSE(station.RefuseWhileRunning());
}

TEST_F(RunControlTest, StopDuringTheFirstCycleSetsNoTimer)
{
    Station& station = Make(StoreSettings());
    test.store.script.loginCode = UTE_CONNECT_FAILED;
    test.boxes.onShow = [&] { station.StopPolling(); };

    station.StartPolling();

    EXPECT_FALSE(station.IsRunning());
    EXPECT_TRUE(test.desktop.timer.sets.empty());
    EXPECT_EQ(station.Run().TimerHandle(), 0u);
}

TEST_F(RunControlTest, WithoutATimerOnlyTheFirstCycleRuns)
{
    Station& station = Make(LocalKorvidSettings(test.folder.Path()));
    station.Settings().Polling_Rate = 0;
    test.desktop.timer.failSet = true;

    station.StartPolling();

    EXPECT_TRUE(station.IsRunning());
    EXPECT_EQ(station.Run().TimerHandle(), 0u);
    ASSERT_EQ(test.desktop.timer.sets.size(), 1u);
    EXPECT_EQ(test.desktop.timer.sets[0].milliseconds, kShortestPollingInterval);
    EXPECT_EQ(Logged().front(), "Start (Polling-Rate 0 Sekunden)");
    std::size_t lines = test.desktop.logList.lines.size();
    station.OnPollingTick(POLL_TIMER_ID);
    EXPECT_EQ(test.desktop.logList.lines.size(), lines);
}

}  // namespace
