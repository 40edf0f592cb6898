// A download from an SFTP store cut while many of its reads are in flight: the station
// prints no document half or twice and loses none.
#include "support/test_files.h"
#include "spool/free_file_name.h"
#include "spool/loopback_store.h"
#include "spool/polling_cycle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <thread>

namespace fs = std::filesystem;

TEST(SftpCut, ADownloadCutWithManyReadsInFlightLosesNothingAndPrintsEachDocumentOnce)
{
    SftpLoopbackStore store;
    std::string error;
    ASSERT_TRUE(store.Start(error)) << error;
    StoreStation station;
    StationSettings settings = StoreKorvidSettings(station.test.folder.Path(), "", "");
    settings.OnErrorLogOnly = 1;
    store.Configure(settings, station.access);
    Station& korvid = station.Make(settings);
    const std::string delivered = store.TreeFolder() + "/4711/SPOOL/DELV";
    fs::create_directories(delivered);
    const std::map<std::string, std::string> documents = {
        {"a.pdf", "%PDF-1.4 " + PatternBytes(100000)},
        {"b.pdf", "%PDF-1.4 " + PatternBytes(24 << 20)},
        {"c.pdf", "%PDF-1.4 " + PatternBytes(100001)}};
    for (const auto& [name, bytes] : documents)
        WriteTestFile(delivered + "/" + name, bytes);
    store.GiveTree();

    // The server drops the connection as soon as the large document began to arrive.
    const std::string partial = PartialPath(station.SpoolRoot() + "/DELV", "b.pdf");
    std::atomic<bool> cycleOver = false;
    std::atomic<bool> cut = false;
    std::thread cutter([&] {
        std::error_code missing;
        while (!cycleOver && !cut) {
            if (fs::exists(partial, missing) && fs::file_size(partial, missing) > 0) {
                store.DropSessions();
                cut = true;
            }
            std::this_thread::yield();
        }
    });
    korvid.StartPolling();
    cycleOver = true;
    cutter.join();
    ASSERT_TRUE(cut);
    EXPECT_EQ(FilesBelow(station.SpoolRoot()), std::vector<std::string>{});

    for (int cycle = 0; cycle < 3 && !FilesBelow(delivered).empty(); ++cycle)
        korvid.OnPollingTick(POLL_TIMER_ID);
    std::map<std::string, int> printed;
    for (const PrintCall& call : station.test.PrintCalls()) {
        const std::string name = fs::path(call.arguments.back()).filename().string();
        ++printed[name];
        EXPECT_EQ(call.fileBytes, documents.at(name)) << name << " printed half";
    }
    EXPECT_EQ(printed, (std::map<std::string, int>{{"a.pdf", 1}, {"b.pdf", 1}, {"c.pdf", 1}}));
    EXPECT_EQ(FilesBelow(delivered), std::vector<std::string>{});
    EXPECT_EQ(FilesBelow(station.SpoolRoot()), std::vector<std::string>{});
}
