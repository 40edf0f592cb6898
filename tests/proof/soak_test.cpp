// A seeded soak: documents of every category offered in waves by a store that drops the
// connection after a deletion, refuses or cuts downloads and answers late, at random.
// At the end every document was printed once and whole, and store and spool are empty.
#include "spool/loopback_store.h"
#include "spool/polling_cycle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

namespace {

constexpr int kWaves = 3;
constexpr int kPerWave = 100;
constexpr int kMostCycles = 400;

}  // namespace

TEST(StationSoak, EveryDocumentIsPrintedOnceAndWholeUnderRandomFaults)
{
    FtpLoopbackStore store(
        true, StoreServerOptions(0, {"dele-dropped=0.05", "refused=0.04", "cut=0.04", "slow=0.03"}, 20261208));
    std::string error;
    ASSERT_TRUE(store.Start(error)) << error;
    StoreStation station;
    Station& korvid = MakeLoggingStation(store, station);
    const std::string spool = store.TreeFolder() + "/4711/SPOOL/";
    const std::vector<std::string> categories = {"DELV", "RL", "FRONTSH"};
    std::map<std::string, std::string> offered;  // name -> bytes

    int cycle = 0;
    for (; cycle < kMostCycles; ++cycle) {
        int wave = cycle / 4;
        if (cycle % 4 == 0 && wave < kWaves) {
            for (int i = 0; i < kPerWave; ++i) {
                std::string name = "w" + std::to_string(wave) + "_" + std::to_string(i) + ".pdf";
                std::string bytes = "%PDF-1.4 " + name + "\n" + std::string(2000 + 37 * i, 'x');
                WriteTestFile(spool + categories[i % categories.size()] + "/" + name, bytes);
                offered[name] = bytes;
            }
            store.GiveTree();
        }
        if (cycle == 0)
            korvid.StartPolling();
        else
            korvid.OnPollingTick(POLL_TIMER_ID);
        if (wave >= kWaves && FilesBelow(store.TreeFolder()).empty() && FilesBelow(station.SpoolRoot()).empty())
            break;
    }

    std::map<std::string, int> printed;
    for (const PrintCall& call : station.test.PrintCalls()) {
        std::string name = std::filesystem::path(call.arguments.back()).filename().string();
        ++printed[name];
        EXPECT_EQ(call.fileBytes, offered[name]) << name;
    }
    for (const auto& [name, bytes] : offered)
        EXPECT_EQ(printed[name], 1) << name;
    EXPECT_EQ(printed.size(), offered.size());
    EXPECT_EQ(FilesBelow(store.TreeFolder()), std::vector<std::string>{});
    EXPECT_EQ(FilesBelow(station.SpoolRoot()), std::vector<std::string>{});
    std::map<std::string, int> faults = store.Injected();
    std::printf("%zu documents in %d cycles; faults:", offered.size(), cycle + 1);
    for (const auto& [kind, count] : faults)
        std::printf(" %s %d", kind.c_str(), count);
    std::printf("\n");
    for (const char* kind : {"dele-dropped", "refused", "cut", "slow"})
        EXPECT_GT(faults[kind], 0) << kind;
}
