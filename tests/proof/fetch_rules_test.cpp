// The fetch rules through the whole station: a deletion whose answer is lost, a document
// that grows while it is fetched, links and unreadable folders in the local tree, and
// the order of flushes and deletions on the system-call level.
#include "fixtures/run_program.h"
#include "spool/loopback_store.h"
#include "spool/polling_cycle.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

std::string Category(const FtpLoopbackStore& store, const std::string& name)
{
    std::filesystem::create_directories(store.TreeFolder() + "/4711/SPOOL/" + name);
    return store.TreeFolder() + "/4711/SPOOL/" + name;
}

Lines PrintedNames(const TestStation& test)
{
    Lines names;
    for (const PrintCall& call : test.PrintCalls())
        names.push_back(fs::path(call.arguments.back()).filename().string());
    return names;
}

}  // namespace

TEST(FetchRules, ADeletionWhoseAnswerIsLostIsPrintedOnceTheListingShowsItGone)
{
    FtpLoopbackStore store(true, StoreServerOptions(0, {"dele-dropped=1"}));
    std::string error;
    ASSERT_TRUE(store.Start(error)) << error;
    WriteTestFile(Category(store, "DELV") + "/a.pdf", "%PDF a");
    store.GiveTree();
    StoreStation station;
    Station& korvid = MakeLoggingStation(store, station);

    korvid.StartPolling();
    EXPECT_TRUE(PrintedNames(station.test).empty());
    EXPECT_FALSE(fs::exists(Category(store, "DELV") + "/a.pdf"));
    korvid.OnPollingTick(POLL_TIMER_ID);

    EXPECT_EQ(PrintedNames(station.test), Lines{"a.pdf"});
    EXPECT_EQ(FilesBelow(station.SpoolRoot()), Lines{});
    EXPECT_EQ(store.Injected()["dele-dropped"], 1);
}

TEST(FetchRules, ADocumentThatGrowsWhileItIsFetchedWaitsAndIsPrintedWhole)
{
    FtpLoopbackStore store(true);
    std::string error;
    ASSERT_TRUE(store.Start(error)) << error;
    const std::string document = Category(store, "RL") + "/growing.pdf";
    WriteTestFile(document, "%PDF first half");
    store.GiveTree();
    StoreStation station;
    Station& korvid = MakeLoggingStation(store, station);
    bool received = false;
    station.display.onFileProgress = [&](std::int64_t position) {
        // Once the download has ended, the uploader adds the rest.
        if (position > 0)
            received = true;
        else if (received && ReadTestFile(document) == "%PDF first half")
            std::ofstream(document, std::ios::app) << " and the rest";
    };

    korvid.StartPolling();
    EXPECT_TRUE(PrintedNames(station.test).empty());
    EXPECT_EQ(ReadTestFile(document), "%PDF first half and the rest");
    korvid.OnPollingTick(POLL_TIMER_ID);

    ASSERT_EQ(station.test.PrintCalls().size(), 1u);
    EXPECT_EQ(station.test.PrintCalls()[0].fileBytes, "%PDF first half and the rest");
    EXPECT_FALSE(fs::exists(document));
}

// The connection is lost in a folder and the new log-in cannot go back into it: nothing
// fetched there is judged by what another folder holds.
TEST(FetchRules, ADocumentIsPrintedOnceWhenTheFolderIsClosedToTheNewLogIn)
{
    FtpLoopbackStore store(true);
    std::string error;
    ASSERT_TRUE(store.Start(error)) << error;
    const std::string folder = Category(store, "DELV");
    WriteTestFile(folder + "/a.pdf", "%PDF a");
    WriteTestFile(folder + "/b.pdf", "%PDF b");
    store.GiveTree();
    StoreStation station;
    Station& korvid = MakeLoggingStation(store, station);
    station.display.onFileProgress = [&](std::int64_t position) {
        if (position > 0 && fs::status(folder).permissions() != fs::perms::none) {
            fs::permissions(folder, fs::perms::none);
            store.FaultNext("RETR=closed");
        }
    };

    RunCycle(korvid.Cycle());
    station.display.onFileProgress = nullptr;
    fs::permissions(folder, fs::perms::owner_all);
    RunCycle(korvid.Cycle());

    EXPECT_EQ(PrintedNames(station.test), (Lines{"a.pdf", "b.pdf"}));
    EXPECT_EQ(FilesBelow(folder), Lines{});
}

TEST(FetchRules, TheLocalTreeGivesNoLinkAndAnUnreadableFolderIsLoggedOnce)
{
    TestStation test;
    Station& station = test.Make(LocalKorvidSettings(test.folder.Path()));
    fs::create_directories(test.folder / "spool");
    station.CreateSpoolFolders();
    const std::string source = test.folder / "source/4711/SPOOL";
    WriteTestFile(test.folder / "secret", "private key");
    fs::create_directories(source + "/DELV");
    fs::create_symlink(test.folder / "secret", source + "/DELV/key.pdf");
    WriteTestFile(source + "/DELV/letter.pdf", "%PDF letter");
    // A folder that cannot be walked, as after a hiccup of a network mount.
    WriteTestFile(source + "/RL", "no folder");

    station.StartPolling();
    station.OnPollingTick(POLL_TIMER_ID);

    EXPECT_EQ(PrintedNames(test), Lines{"letter.pdf"});
    EXPECT_TRUE(fs::is_symlink(source + "/DELV/key.pdf"));
    EXPECT_TRUE(station.IsRunning());
    Lines log = Messages(FileLines(station.Settings().LogFileName));
    EXPECT_EQ(std::count(log.begin(), log.end(), "konnte das Verzeichnis " + source + "/RL nicht lesen"), 1);
}

// The download is on disk, under its held name, and the folder entry on disk, before the
// source is asked to delete; only then does it get its printable name. The SFTP server
// runs inside the traced driver, so its deletion is in the same trace.
TEST(FetchRules, FlushesComeBeforeTheDeletionAtEverySource)
{
    FtpLoopbackStore ftp(true);
    std::string error;
    ASSERT_TRUE(ftp.Start(error)) << error;
    WriteTestFile(Category(ftp, "DELV") + "/a.pdf", "%PDF a");
    ftp.GiveTree();
    const std::pair<std::vector<std::string>, std::string> sources[] = {
        {{"ftp", std::to_string(ftp.Port()), kStoreUser, kStorePassword}, R"(sendto\(.*"DELE a\.pdf)"},
        {{"sftp"}, R"(unlink.*/kv/4711/SPOOL/DELV/a\.pdf")"},
        {{"local"}, R"(unlink.*/source/4711/SPOOL/DELV/a\.pdf")"},
    };
    for (const auto& [arguments, deletion] : sources) {
        SCOPED_TRACE(arguments.front());
        ScratchFolder folder;
        WriteTestFile(folder / "station/source/4711/SPOOL/DELV/a.pdf", "%PDF a");
        const std::string trace = folder / "trace";
        std::vector<std::string> command = {"/usr/bin/strace", "-f", "-y", "-o", trace, "-s", "60", "-e",
                                            "trace=fsync,fdatasync,rename,renameat,renameat2,unlink,unlinkat,sendto",
                                            STATION_CYCLE_DRIVER, folder / "station"};
        command.insert(command.end(), arguments.begin(), arguments.end());
        // The leak check cannot run under ptrace.
        ProgramRun run = RunProgram(command, "", {"ASAN_OPTIONS=detect_leaks=0"});
        ASSERT_EQ(run.exitCode, 0) << run.err;

        const std::vector<std::pair<std::regex, std::string>> steps = {
            {std::regex(R"(fdatasync\(\d+<[^>]*/DELV/a\.pdf\.part>)"), "file flushed"},
            {std::regex(R"(rename.*DELV/a\.pdf\.part".*DELV/a\.pdf\.[0-9a-f]{8}\.held")"), "held"},
            {std::regex(R"(fsync\(\d+<[^>]*/SPOOL/DELV>)"), "folder flushed"},
            {std::regex(deletion), "deleted at the source"},
            {std::regex(R"(rename.*\.held".*DELV/a\.pdf")"), "named"},
            {std::regex(R"(unlink.*spool/SPOOL/DELV/a\.pdf")"), "printed and removed"},
        };
        Lines order;
        for (const std::string& line : FileLines(trace))
            for (const auto& [pattern, step] : steps)
                if (std::regex_search(line, pattern))
                    order.push_back(step);
        EXPECT_EQ(order, (Lines{"file flushed", "held", "folder flushed", "deleted at the source", "named",
                                "printed and removed"}));
    }
}

// Every command of a fetch answered once with every reply class, or with none, a cut one or
// a closed connection: each document is printed once or still on the store after every
// cycle, never fetched twice in one cycle, and printed once when the store answers again.
TEST(FetchRules, NoReplyOfAnyCommandCostsADocumentOrPrintsOneTwice)
{
    FtpLoopbackStore passive(true), active(false);
    std::string error;
    ASSERT_TRUE(passive.Start(error)) << error;
    ASSERT_TRUE(active.Start(error)) << error;
    const Lines names = {"a.pdf", "b.pdf"};
    for (const char* verb : {"USER", "CWD", "TYPE", "LIST", "PASV", "PORT", "RETR", "SIZE", "DELE", "QUIT"}) {
        for (const char* reply : {"1xx", "2xx", "3xx", "4xx", "5xx", "none", "cut", "closed"}) {
            const std::string fault = std::string(verb) + "=" + reply;
            SCOPED_TRACE(fault);
            FtpLoopbackStore& store = fault.starts_with("PORT") ? active : passive;
            for (const std::string& name : names)
                WriteTestFile(Category(store, "DELV") + "/" + name, "%PDF " + name);
            store.GiveTree();
            StoreStation station;
            Station& korvid = MakeLoggingStation(store, station);
            station.access.receiveTimeoutMs = 500;
            store.FaultNext(fault);
            for (int cycle = 0; cycle < 3; ++cycle) {
                std::map<std::string, int> before = store.Injected();
                RunCycle(korvid.Cycle());
                std::map<std::string, int> after = store.Injected();
                Lines printed = PrintedNames(station.test);
                // A fault that strikes one document holds back no other.
                if (cycle == 0 && std::string("RETR SIZE DELE").find(verb) != std::string::npos) {
                    EXPECT_GE(printed.size(), 1u);
                }
                for (const std::string& name : names) {
                    EXPECT_LE(after["RETR " + name] - before["RETR " + name], 1) << name << " " << cycle;
                    // A held copy waits in between, neither printed nor on the store.
                    const long count = std::count(printed.begin(), printed.end(), name);
                    EXPECT_EQ(count, cycle == 2 ? 1 : std::min(count, 1L)) << name << " " << cycle;
                    EXPECT_FALSE(count == 1 && fs::exists(Category(store, "DELV") + "/" + name)) << name << cycle;
                }
            }
            EXPECT_EQ(store.Injected()[fault], 1);
            EXPECT_EQ(FilesBelow(station.SpoolRoot()), Lines{});
        }
    }
}
