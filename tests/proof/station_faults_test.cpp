// The station under faults of its own machine: a print program that crashes, hangs or
// prints to a queue that refuses, a full disk under the spool folder, a log file and a
// settings file that cannot be written. After each fault no document is lost or printed
// half, and the next cycle works.
#include "fixtures/cups_fixture.h"
#include "fixtures/make_pdf.h"
#include "fixtures/run_program.h"
#include "proof/tmpfs_mount.h"
#include "spool/polling_cycle.h"
#include "spool/settings_save.h"
#include "spool/test_station.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

// The file names the print program was given, in order, each with the bytes it read;
// a test fails when any of them was not the whole document.
Lines PrintedNames(const std::vector<PrintCall>& calls)
{
    Lines names;
    for (const PrintCall& call : calls)
        names.push_back(fs::path(call.arguments.back()).filename().string());
    return names;
}

void ExpectPrintedWhole(const std::vector<PrintCall>& calls, const std::map<std::string, std::string>& documents)
{
    for (const PrintCall& call : calls) {
        std::string name = fs::path(call.arguments.back()).filename().string();
        auto document = documents.find(name);
        ASSERT_NE(document, documents.end()) << name;
        // A call whose file is gone afterwards has no bytes only when it read none.
        ASSERT_TRUE(call.fileBytes.has_value()) << name;
        EXPECT_EQ(*call.fileBytes, document->second) << name << " printed half";
    }
}

// The first child of this process that runs the test print program, or 0.
pid_t PrintProgramChild()
{
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::string stat = ReadTestFile(entry.path().string() + "/stat");
        std::size_t close = stat.rfind(')');
        if (close == std::string::npos)
            continue;
        int parent = 0;
        char state = 0;
        if (std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &parent) != 2 || parent != getpid())
            continue;
        std::error_code error;
        if (fs::read_symlink(entry.path() / "exe", error) == fs::path(TEST_PRINT_PROGRAM))
            return static_cast<pid_t>(std::stoi(name));
    }
    return 0;
}

class StationFaults : public ::testing::Test {
protected:
    Station& MakeLocal()
    {
        fs::create_directories(test.folder / "spool");
        Station& station = test.Make(LocalKorvidSettings(test.folder.Path()));
        return station;
    }
    void Offer(const std::string& name, std::size_t size)
    {
        documents[name] = Document(name, size);
        WriteTestFile(Source() + "/" + name, documents[name]);
    }
    std::string Source() const { return test.folder / "source/4711/SPOOL/DELV"; }
    std::string Spool() const { return test.folder / "spool/SPOOL/DELV"; }

    TestStation test;
    std::map<std::string, std::string> documents;
};

}  // namespace

TEST_F(StationFaults, APrintProgramThatCrashesKeepsItsDocumentForTheNextCycle)
{
    Station& station = MakeLocal();
    Offer("a.pdf", 3000);
    Offer("b.pdf", 2000);
    test.SetPrintControl("a.pdf signal 11\n");
    station.CreateSpoolFolders();
    station.StartPolling();

    EXPECT_EQ(PrintedNames(test.PrintCalls()), (Lines{"a.pdf", "b.pdf"}));
    EXPECT_EQ(FilesBelow(Spool()), Lines{"a.pdf"});
    EXPECT_EQ(ReadTestFile(Spool() + "/a.pdf"), documents["a.pdf"]);

    // The next cycle fetches a new document and prints the one kept as well.
    test.SetPrintControl("");
    Offer("c.pdf", 100);
    station.OnPollingTick(POLL_TIMER_ID);
    std::vector<PrintCall> calls = test.PrintCalls();
    EXPECT_EQ(PrintedNames(calls), (Lines{"a.pdf", "b.pdf", "a.pdf", "c.pdf"}));
    ExpectPrintedWhole(calls, documents);
    EXPECT_EQ(FilesBelow(Spool()), Lines{});
    EXPECT_EQ(FilesBelow(Source()), Lines{});
    EXPECT_TRUE(station.IsRunning());
}

TEST_F(StationFaults, APrintProgramKilledWhileItHangsKeepsItsDocument)
{
    Station& station = MakeLocal();
    Offer("a.pdf", 3000);
    Offer("b.pdf", 2000);
    test.SetPrintControl("a.pdf hang\n");
    station.CreateSpoolFolders();

    // The station waits for the print program without a limit; the test plays the
    // operator who kills it.
    std::thread cycle([&] { station.StartPolling(); });
    pid_t hanging = 0;
    for (int i = 0; i < 600 && hanging == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        hanging = PrintProgramChild();
    }
    if (hanging != 0)
        kill(hanging, SIGKILL);
    cycle.join();
    ASSERT_NE(hanging, 0) << "the print program never ran";

    EXPECT_EQ(PrintedNames(test.PrintCalls()), (Lines{"a.pdf", "b.pdf"}));
    EXPECT_EQ(FilesBelow(Spool()), Lines{"a.pdf"});
    EXPECT_EQ(ReadTestFile(Spool() + "/a.pdf"), documents["a.pdf"]);

    test.SetPrintControl("");
    Offer("c.pdf", 100);
    station.OnPollingTick(POLL_TIMER_ID);
    EXPECT_EQ(PrintedNames(test.PrintCalls()), (Lines{"a.pdf", "b.pdf", "a.pdf", "c.pdf"}));
    ExpectPrintedWhole(test.PrintCalls(), documents);
    EXPECT_EQ(FilesBelow(Spool()), Lines{});
}

TEST_F(StationFaults, AQueueThatRefusesJobsKeepsTheDocumentsUntilItTakesThemAgain)
{
    CupsPdfQueue queue;
    std::string reason;
    ASSERT_TRUE(SetUpCupsPdfQueue(queue, reason, "station-refusing")) << reason;
    ASSERT_EQ(RunProgram({"/usr/sbin/cupsreject", queue.queue}).exitCode, 0);

    fs::create_directories(test.folder / "spool");
    StationSettings settings = LocalKorvidSettings(test.folder.Path());
    settings.Printer_PDF_Prog = "/usr/bin/lp";
    settings.Printer_PDF_Prog_Params = "-d \"$PRINTER$\" \"$FILE$\"";
    settings.Printer_Delivery = queue.queue;
    Station& station = test.Make(settings);
    const std::string token = "refused" + std::to_string(getpid());
    const std::string name = token + ".pdf";
    WriteTestFile(Source() + "/" + name, MakePdf(token));
    station.CreateSpoolFolders();
    station.StartPolling();
    EXPECT_EQ(FilesBelow(Spool()), Lines{name});

    ASSERT_EQ(RunProgram({"/usr/sbin/cupsaccept", queue.queue}).exitCode, 0);
    WriteTestFile(Source() + "/later.pdf", MakePdf("later"));
    station.OnPollingTick(POLL_TIMER_ID);
    EXPECT_EQ(FilesBelow(Spool()), Lines{});
    EXPECT_NE(WaitForPrintedPdf(queue, token, std::chrono::seconds(60)), "");
}

TEST_F(StationFaults, AFullDiskUnderTheSpoolFolderLeavesTheSourceForTheNextCycle)
{
    fs::create_directories(test.folder / "spool");
    TmpfsMount disk(test.folder / "spool", 256);
    ASSERT_TRUE(disk.Mounted()) << disk.Error();
    Station& station = MakeLocal();
    Offer("a.pdf", 20000);
    Offer("big.pdf", 400000);
    Offer("c.pdf", 20000);
    station.CreateSpoolFolders();
    station.StartPolling();

    // What fit was fetched and printed; the document that did not fit is still whole
    // in the source, and nothing of it is in the spool tree.
    EXPECT_EQ(PrintedNames(test.PrintCalls()), (Lines{"a.pdf", "c.pdf"}));
    EXPECT_EQ(FilesBelow(Source()), Lines{"big.pdf"});
    EXPECT_EQ(ReadTestFile(Source() + "/big.pdf"), documents["big.pdf"]);
    EXPECT_EQ(FilesBelow(test.folder / "spool"), Lines{});

    ASSERT_TRUE(disk.Resize(2048));
    station.OnPollingTick(POLL_TIMER_ID);
    EXPECT_EQ(PrintedNames(test.PrintCalls()), (Lines{"a.pdf", "c.pdf", "big.pdf"}));
    ExpectPrintedWhole(test.PrintCalls(), documents);
    EXPECT_EQ(FilesBelow(Source()), Lines{});
    EXPECT_EQ(FilesBelow(test.folder / "spool"), Lines{});
}

TEST_F(StationFaults, ALogFileThatCannotBeWrittenCostsOnlyItsLines)
{
    for (const std::string& logFile : {std::string("/dev/full"), test.folder / "station"}) {
        SCOPED_TRACE(logFile);
        TestStation run;
        fs::create_directories(run.folder / "spool");
        StationSettings settings = LocalKorvidSettings(run.folder.Path());
        settings.LogFileName = logFile;
        Station& station = run.Make(settings);
        WriteTestFile(run.folder / "source/4711/SPOOL/DELV/a.pdf", Document("a", 500));
        station.CreateSpoolFolders();
        station.StartPolling();
        WriteTestFile(run.folder / "source/4711/SPOOL/DELV/b.pdf", Document("b", 500));
        station.OnPollingTick(POLL_TIMER_ID);

        EXPECT_EQ(PrintedNames(run.PrintCalls()), (Lines{"a.pdf", "b.pdf"}));
        EXPECT_EQ(FilesBelow(run.folder / "spool"), Lines{});
        EXPECT_TRUE(station.IsRunning());
        // The window's list still has every line.
        Lines list = Messages(run.desktop.logList.lines);
        EXPECT_EQ(std::count(list.begin(), list.end(), "Drucke nun a.pdf (0KB)"), 1);
        EXPECT_EQ(std::count(list.begin(), list.end(), "Start (Polling-Rate 60 Sekunden)"), 1);
        EXPECT_EQ(list.back(), "Drucke nun b.pdf (0KB)");
    }
}

TEST_F(StationFaults, ASettingsFileThatCannotBeWrittenKeepsItsLastWholeState)
{
    fs::create_directories(test.folder / "station");
    TmpfsMount disk(test.folder / "station", 64);
    ASSERT_TRUE(disk.Mounted()) << disk.Error();
    fs::create_directories(test.folder / "spool");
    Station& station = test.Make(LocalKorvidSettings(test.folder.Path()));
    SaveSettings(station.Settings());
    const std::string saved = ReadTestFile(station.Settings().IniPath);
    ASSERT_NE(saved.find("Polling_Rate"), std::string::npos);

    // A full disk: whatever the save writes must not cost the file it replaces.
    {
        std::ofstream filler(test.folder / "station/filler", std::ios::binary);
        std::string block(4096, 'x');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
        }
    }
    station.Settings().Polling_Rate = 7;
    station.Settings().LocalMainDir = std::string(3000, 'p');
    SaveSettings(station.Settings());
    EXPECT_EQ(ReadTestFile(station.Settings().IniPath), saved);

    // A disk that takes no writes at all.
    fs::remove(test.folder / "station/filler");
    ASSERT_TRUE(disk.SetReadOnly(true));
    SaveSettings(station.Settings());
    EXPECT_EQ(ReadTestFile(station.Settings().IniPath), saved);
    ASSERT_TRUE(disk.SetReadOnly(false));
    EXPECT_EQ(FilesBelow(test.folder / "station"), Lines{"kv_print.ini"});

    // The station polls on with the settings it holds.
    station.Settings().LocalMainDir = test.folder / "source";
    station.Settings().DoLog = 0;
    Offer("a.pdf", 100);
    station.CreateSpoolFolders();
    station.StartPolling();
    EXPECT_EQ(PrintedNames(test.PrintCalls()), Lines{"a.pdf"});
    EXPECT_TRUE(station.IsRunning());
}
