#include "spool/polling_cycle.h"

#include "net/result_codes.h"
#include "spool/spool_layout.h"
#include "spool/test_station.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

TEST(PollingInterval, SecondsBecomeMillisecondsWithinWhatATimerTakes)
{
    EXPECT_EQ(PollingInterval(60), 60000u);
    EXPECT_EQ(PollingInterval(1), 1000u);
    EXPECT_EQ(PollingInterval(0), kShortestPollingInterval);
    EXPECT_EQ(PollingInterval(-5), kShortestPollingInterval);
    EXPECT_EQ(PollingInterval(INT_MAX), static_cast<unsigned>(INT_MAX));
}

class PollingCycleTest : public ::testing::Test {
protected:
    PollingCycleTest() : station(test.Make(LocalKorvidSettings(test.folder.Path())))
    {
        fs::create_directories(test.folder / "spool");
        CreateSpoolFolders(station.Settings(), station.Log());
        source = test.folder / "source/4711/SPOOL";
        spool = test.folder / "spool/SPOOL";
        test.desktop.logList.lines.clear();
    }
    Lines ListMessages() const { return Messages(test.desktop.logList.lines); }
    // Switches to a store with everything set that the fetch reads.
    void UseStore()
    {
        StationSettings& settings = station.Settings();
        settings.LocalFsMode = 0;
        settings.KV_FTP_Store = "store.example";
        settings.KV_FTP_Store_User = "bib";
        settings.KV_FTP_Store_Dir = "/pub";
    }

    TestStation test;
    Station& station;
    std::string source;
    std::string spool;
};

TEST_F(PollingCycleTest, TheTimerIsSetWithItsIdAndKilledByItsHandle)
{
    station.Settings().Polling_Rate = 60;
    StartPollingTimer(station.Cycle());
    EXPECT_EQ(station.Run().TimerHandle(), POLL_TIMER_ID);
    ASSERT_EQ(test.desktop.timer.sets.size(), 1u);
    EXPECT_EQ(test.desktop.timer.sets[0].id, 4712u);
    EXPECT_EQ(test.desktop.timer.sets[0].milliseconds, 60000u);
    StopPollingTimer(station.Cycle());
    StopPollingTimer(station.Cycle());
    EXPECT_EQ(test.desktop.timer.kills, std::vector<unsigned>{4712});
    EXPECT_EQ(station.Run().TimerHandle(), 0u);

    test.desktop.timer.failSet = true;
    StartPollingTimer(station.Cycle());
    EXPECT_EQ(station.Run().TimerHandle(), 0u);
}

TEST_F(PollingCycleTest, OnlyATickOfTheStationsTimerRunsACycle)
{
    WriteTestFile(source + "/DELV/a.pdf", "%PDF a");
    station.OnPollingTick(POLL_TIMER_ID);  // no timer set yet
    station.Run().TimerSet(POLL_TIMER_ID);
    station.OnPollingTick(4713);
    EXPECT_TRUE(test.desktop.logList.lines.empty());
    EXPECT_TRUE(test.desktop.display.statusTexts.empty());

    {
        auto boxOpen = station.Run().ErrorBox();
        station.OnPollingTick(POLL_TIMER_ID);
        EXPECT_TRUE(test.desktop.logList.lines.empty());
        EXPECT_TRUE(fs::exists(source + "/DELV/a.pdf"));
    }
    station.OnPollingTick(POLL_TIMER_ID);
    EXPECT_EQ(ListMessages(), (Lines{"----------------> Polling ...", "Drucke nun a.pdf (0KB)"}));
    EXPECT_EQ(test.desktop.display.statusTexts, (Lines{"RUNNING", ""}));
    EXPECT_EQ(test.PrintCalls().size(), 1u);
    EXPECT_FALSE(fs::exists(source + "/DELV/a.pdf"));
    EXPECT_EQ(test.desktop.waitCursor.depth, 0);
    // In the local mode the fetch shows nothing and opens no store; the print shows
    // its folder and file, and clears both.
    EXPECT_EQ(test.desktop.display.changes, 4);
    EXPECT_TRUE(test.store.calls.empty());
    // The polling line is not written to the file.
    Lines file = Messages(FileLines(station.Settings().LogFileName));
    EXPECT_EQ(std::count(file.begin(), file.end(), "----------------> Polling ..."), 0);
}

TEST_F(PollingCycleTest, AMissingPrintProgramStopsTheCycleBeforeTheFetch)
{
    WriteTestFile(source + "/DELV/a.pdf", "%PDF a");
    station.Settings().Printer_PDF_Prog = test.folder / "gone/print";
    station.Run().TimerSet(POLL_TIMER_ID);
    // A tick that comes while the box of the cycle is open does not start another cycle.
    test.boxes.onShow = [&] { station.OnPollingTick(POLL_TIMER_ID); };

    station.OnPollingTick(POLL_TIMER_ID);

    ASSERT_EQ(test.boxes.boxes.size(), 1u);
    EXPECT_EQ(test.boxes.boxes[0].text,
              "Das PDF-Ausdruck-Programm '" + test.folder / "gone/print" +
                  "' wurde nicht an diesem Ort gefunden.\nEventuell ist die Einstellung falsch, oder aber das "
                  "Programm wurde entfernt!\n\nEs werden keine Dateien verarbeitet !\n\nBitte korrigieren Sie "
                  "zunächst die Konfiguration !");
    EXPECT_EQ(test.boxes.boxes[0].caption, "ERROR");
    EXPECT_EQ(test.boxes.boxes[0].style, 0x2010u);
    EXPECT_TRUE(fs::exists(source + "/DELV/a.pdf"));
    EXPECT_FALSE(station.Run().CycleRunning());
}

TEST_F(PollingCycleTest, WhatWaitsIsTriedAtEveryCycleAndEachOutcomeLoggedOnce)
{
    WriteTestFile(spool + "/RL/left.pdf", "%PDF left over");
    setenv("STATION_PRINT_MESSAGE", "Auftrag 7\nWarteschlange \x1b[1mgestoppt\n", 1);
    std::string failed = "Drucken der Datei: left.pdf: " TEST_PRINT_PROGRAM " hat Code ";
    for (const char* control : {"left.pdf 4\n", "left.pdf 4\n", "left.pdf 5\n", "left.pdf 5\n", "", ""}) {
        test.SetPrintControl(control);
        RunCycle(station.Cycle());
    }
    unsetenv("STATION_PRINT_MESSAGE");
    EXPECT_EQ(test.PrintCalls().size(), 5u);
    EXPECT_FALSE(fs::exists(spool + "/RL/left.pdf"));
    std::string message = "Meldung des Druckprogramms: Warteschlange ?[1mgestoppt";
    EXPECT_EQ(ListMessages(), (Lines{"Drucke nun left.pdf (0KB)", failed + "4 zurückgeliefert!", message,
                                     "Drucke nun left.pdf (0KB)", failed + "5 zurückgeliefert!", message,
                                     "Drucke nun left.pdf (0KB)"}));
}

TEST_F(PollingCycleTest, ADownloadLeftHalfByAStationThatDiedIsClearedAway)
{
    WriteTestFile(spool + "/DELV/gone.pdf.part", "%PDF half");
    WriteTestFile(source + "/DELV/new.pdf", "%PDF new");
    RunCycle(station.Cycle());
    EXPECT_FALSE(fs::exists(spool + "/DELV/gone.pdf.part"));
    ASSERT_EQ(test.PrintCalls().size(), 1u);
    EXPECT_EQ(fs::path(test.PrintCalls()[0].arguments.back()).filename(), "new.pdf");
}

TEST_F(PollingCycleTest, KorvidFetchesTheThreeCategoriesThroughOneSession)
{
    UseStore();
    test.store.script.folders["/pub/4711/SPOOL/DELV"]["fetched.pdf"] = {};

    RunCycle(station.Cycle());

    EXPECT_EQ(test.store.calls,
              (Lines{"create", "open", "enter /pub/4711/SPOOL", "enter /pub/4711/SPOOL/FRONTSH", "list",
                     "enter /pub/4711/SPOOL/RL", "list", "enter /pub/4711/SPOOL/DELV", "list", "fetch fetched.pdf",
                     "delete fetched.pdf", "close", "destroy"}));
    EXPECT_TRUE(test.store.script.folders["/pub/4711/SPOOL/DELV"].empty());
    EXPECT_EQ(test.PrintCalls().size(), 1u);
    EXPECT_TRUE(test.boxes.boxes.empty());
}

TEST_F(PollingCycleTest, AFailedLoginIsReportedWhileTicksAreHeldBack)
{
    UseStore();
    station.Settings().KV_Sftp_Mode = 1;
    test.store.script.loginCode = UTE_USER_NA;
    test.store.script.protocol = "SFTP";
    test.store.script.lastResponse = "access denied";
    bool heldBack = false;
    test.boxes.onShow = [&] { heldBack = station.Run().ErrorBoxOpen(); };

    RunCycle(station.Cycle());

    std::string report = "Konnte nicht am SFTP-Server store.example mit Nutzer bib anmelden!\n\n"
                         "Server-Response: err-code: 62, 'access denied'";
    EXPECT_EQ(test.store.calls, (Lines{"create", "open", "destroy"}));
    ASSERT_EQ(test.boxes.boxes.size(), 1u);
    EXPECT_EQ(test.boxes.boxes[0].text, report);
    EXPECT_EQ(test.boxes.boxes[0].caption, "Error during SFTP-Operation");
    EXPECT_EQ(test.boxes.boxes[0].style, 0x2010u);
    EXPECT_TRUE(heldBack);
    EXPECT_FALSE(station.Run().ErrorBoxOpen());
    EXPECT_EQ(ListMessages(), Lines{report});

    // Only logged, without a box.
    station.Settings().OnErrorLogOnly = 1;
    station.Settings().KV_Sftp_Mode = 0;
    test.store.script.protocol = "FTP";
    RunCycle(station.Cycle());
    EXPECT_EQ(test.boxes.boxes.size(), 1u);
    EXPECT_EQ(ListMessages().back(), "Konnte nicht am FTP-Server store.example mit Nutzer bib anmelden!\n\n"
                                     "Server-Response: err-code: 62, 'access denied'");
}

TEST_F(PollingCycleTest, AMissingBaseFolderSkipsItsCategories)
{
    UseStore();
    test.store.script.enterCodes["/pub/4711/SPOOL"] = UTE_SVR_REQUEST_DENIED;
    test.store.script.lastResponse = "550 No such file or directory.";
    bool heldBack = false;
    test.boxes.onShow = [&] { heldBack = station.Run().ErrorBoxOpen(); };

    RunCycle(station.Cycle());

    EXPECT_EQ(test.store.calls, (Lines{"create", "open", "enter /pub/4711/SPOOL", "close", "destroy"}));
    ASSERT_EQ(test.boxes.boxes.size(), 1u);
    EXPECT_EQ(test.boxes.boxes[0].text, "Konnte nicht in das Verzeichnis /pub/4711/SPOOL wechseln !\n\n"
                                        "Server-Response: err-code: " +
                                            std::to_string(UTE_SVR_REQUEST_DENIED) +
                                            ", '550 No such file or directory.'");
    EXPECT_EQ(test.boxes.boxes[0].caption, "Error during FTP-Operation");
    EXPECT_TRUE(heldBack);
    EXPECT_EQ(ListMessages(), Lines{test.boxes.boxes[0].text});
}

TEST_F(PollingCycleTest, TessalineGoesOnWithTheNextMainFolder)
{
    UseStore();
    StationSettings& settings = station.Settings();
    settings.TessalineMode = 1;
    settings.MainFolders = {"north", "south", "west"};
    settings.SpoolFolders = {{"Aufsätze", "articles", "P1", "", ""}, {"", "loans/red", "P2", "", ""}};
    settings.OnErrorLogOnly = 1;
    test.store.script.enterCodes["/pub/north/SPOOL"] = 3;
    test.store.script.enterCodes["/pub/west/SPOOL"] = 4;

    RunCycle(station.Cycle());

    EXPECT_EQ(test.store.calls,
              (Lines{"create", "open", "enter /pub/north/SPOOL", "enter /pub/south/SPOOL",
                     "enter /pub/south/SPOOL/articles", "list", "enter /pub/south/SPOOL/loans/red", "list",
                     "enter /pub/west/SPOOL", "close", "destroy"}));
    // Only the last report is logged.
    EXPECT_EQ(ListMessages(), Lines{"Konnte nicht in das Verzeichnis /pub/west/SPOOL wechseln !\n\n"
                                    "Server-Response: err-code: 4, '530 Login incorrect.'"});

    settings.MainFolders.clear();
    test.store.calls.clear();
    RunCycle(station.Cycle());
    EXPECT_EQ(test.store.calls, (Lines{"create", "open", "close", "destroy"}));
}

}  // namespace
