// A download from an SFTP store cut while many of its reads are in flight, and with it
// the opens and first reads of the documents announced after it: the station prints no
// document half or twice and loses none, and no document leaves the store while its copy
// is still on its way.
#include "support/test_files.h"
#include "spool/free_file_name.h"
#include "spool/loopback_store.h"
#include "spool/polling_cycle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <set>
#include <thread>

namespace fs = std::filesystem;

TEST(SftpCut, ADownloadCutWithManyReadsInFlightLosesNothingAndPrintsEachDocumentOnce)
{
    SftpLoopbackStore store;
    std::string error;
    ASSERT_TRUE(store.Start(error)) << error;
    StoreStation station;
    Station& korvid = MakeLoggingStation(store, station);
    const std::string delivered = store.TreeFolder() + "/4711/SPOOL/DELV";
    fs::create_directories(delivered);
    std::map<std::string, std::string> documents = {{"a.pdf", "%PDF-1.4 " + PatternBytes(100000)},
                                                    {"b.pdf", "%PDF-1.4 " + PatternBytes(24 << 20)}};
    // Of one size, so that only its bytes tell one from another.
    for (int i = 0; i < 7; ++i) {
        const std::string name = "c" + std::to_string(i) + ".pdf";
        documents[name] = Document(name, 150000);
    }
    for (const auto& [name, bytes] : documents)
        WriteTestFile(delivered + "/" + name, bytes);
    store.GiveTree();

    // The server drops the connection as soon as the large document began to arrive.
    const std::string partial = PartialPath(station.SpoolRoot() + "/DELV", "b.pdf");
    auto names = [](const std::string& folder) {
        std::set<std::string> found;
        std::error_code error;
        for (fs::directory_iterator it(folder, error); !error && it != fs::directory_iterator(); it.increment(error))
            found.insert(it->path().filename().string());
        return found;
    };
    // While a download is under way, a document gone from the store has its copy held.
    std::set<std::string> goneEarly;
    std::atomic<bool> cycleOver = false;
    std::atomic<bool> cut = false;
    std::thread cutter([&] {
        std::error_code missing;
        while (!cycleOver) {
            const std::set<std::string> stored = names(delivered);
            const std::set<std::string> spooled = names(station.SpoolRoot() + "/DELV");
            const bool arriving = std::any_of(spooled.begin(), spooled.end(),
                                              [](const std::string& name) { return name.ends_with(".part"); });
            for (const auto& [name, bytes] : documents) {
                const bool held = std::any_of(spooled.begin(), spooled.end(), [&](const std::string& file) {
                    return file.starts_with(name + ".") && file.ends_with(".held");
                });
                if (arriving && !stored.count(name) && !held)
                    goneEarly.insert(name);
            }
            if (!cut && fs::exists(partial, missing) && fs::file_size(partial, missing) > 0) {
                store.DropSessions();
                cut = true;
            }
        }
    });
    korvid.StartPolling();
    cycleOver = true;
    cutter.join();
    ASSERT_TRUE(cut);
    EXPECT_EQ(goneEarly, std::set<std::string>{});
    EXPECT_EQ(FilesBelow(station.SpoolRoot()), std::vector<std::string>{});

    for (int cycle = 0; cycle < 3 && !FilesBelow(delivered).empty(); ++cycle)
        korvid.OnPollingTick(POLL_TIMER_ID);
    std::map<std::string, int> printed;
    for (const PrintCall& call : station.test.PrintCalls()) {
        const std::string name = fs::path(call.arguments.back()).filename().string();
        ++printed[name];
        EXPECT_EQ(call.fileBytes, documents.at(name)) << name << " printed half";
    }
    for (const auto& [name, bytes] : documents)
        EXPECT_EQ(printed[name], 1) << name;
    EXPECT_EQ(printed.size(), documents.size());
    EXPECT_EQ(FilesBelow(delivered), std::vector<std::string>{});
    EXPECT_EQ(FilesBelow(station.SpoolRoot()), std::vector<std::string>{});
}
