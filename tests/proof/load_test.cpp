// The station under load: a store with 1000 documents in each of the three categories
// of the Korvid mode. One cycle fetches and prints them all in order, the window's log
// list loses its oldest lines in blocks as it grows, and memory stays flat from one
// such cycle to the next.
#include "spool/loopback_store.h"
#include "spool/polling_cycle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

constexpr int kPerCategory = 1000;
const std::vector<std::string> kCategories = {"DELV", "RL", "FRONTSH"};  // in print order

long ResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// The documents of one category; their names sort in the order of their numbers, and
// they are written in another order.
Lines Offer(const std::string& folder, const std::string& prefix)
{
    Lines names;
    for (int i = 0; i < kPerCategory; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "%s_%04d.pdf", prefix.c_str(), (i * 7) % kPerCategory);
        WriteTestFile(folder + "/" + name, std::string("%PDF-1.4 ") + name + "\n" + std::string(300, 'x'));
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(StationLoad, ThreeThousandDocumentsInOneCycleAndMemoryStaysFlat)
{
    FtpLoopbackStore store(true);
    std::string error;
    ASSERT_TRUE(store.Start(error)) << error;
    StoreStation station;
    Station& korvid = MakeLoggingStation(store, station);
    RecordingLogList& list = station.test.desktop.logList;
    // A station that has run for a while: its list is close to the limit.
    while (list.lines.size() < static_cast<std::size_t>(kLogListLimit - 500))
        korvid.Log().AddLogLine("Drucke nun alt.pdf (1KB)", LogTarget::ListOnly);

    std::size_t printedBefore = 0;
    long heapAfter[4] = {};
    long residentAfter[4] = {};
    for (int cycle = 1; cycle <= 3; ++cycle) {
        SCOPED_TRACE("cycle " + std::to_string(cycle));
        Lines expected;
        for (const std::string& category : kCategories) {
            Lines names = Offer(store.TreeFolder() + "/4711/SPOOL/" + category, category + std::to_string(cycle));
            expected.insert(expected.end(), names.begin(), names.end());
        }
        store.GiveTree();
        std::size_t removalsBefore = list.removals.size();

        if (cycle == 1)
            korvid.StartPolling();
        else
            korvid.OnPollingTick(POLL_TIMER_ID);

        std::vector<PrintCall> calls = station.test.PrintCalls();
        ASSERT_EQ(calls.size(), printedBefore + expected.size());
        Lines printed;
        for (std::size_t i = printedBefore; i < calls.size(); ++i)
            printed.push_back(fs::path(calls[i].arguments.back()).filename().string());
        EXPECT_EQ(printed, expected);
        printedBefore = calls.size();
        EXPECT_EQ(FilesBelow(store.TreeFolder()), Lines{});
        EXPECT_EQ(FilesBelow(station.SpoolRoot()), Lines{});

        // The list dropped its oldest lines in blocks of kLogListTrim whenever it grew
        // beyond kLogListLimit, and kept the newest ones in order.
        for (std::size_t i = removalsBefore; i < list.removals.size(); ++i)
            EXPECT_EQ(list.removals[i], kLogListTrim);
        EXPECT_GE(list.removals.size() - removalsBefore, 2u);
        EXPECT_LE(list.lines.size(), static_cast<std::size_t>(kLogListLimit) + 1);
        EXPECT_GT(list.lines.size(), static_cast<std::size_t>(kLogListLimit - kLogListTrim - 10));
        std::vector<LoggedLine> lines = ParseLogLines(list.lines);
        for (std::size_t i = 1; i < lines.size(); ++i)
            ASSERT_GT(lines[i].number, lines[i - 1].number) << i;
        EXPECT_EQ(lines.back().message.rfind("Drucke nun " + expected.back(), 0), 0u) << lines.back().message;

        // The recording fake keeps every status text; the window keeps only the last.
        station.display.statusTexts = {};
        calls = {};
        heapAfter[cycle] = static_cast<long>(mallinfo2().uordblks);
        residentAfter[cycle] = ResidentKilobytes();
    }
    // Cycle 3 did what cycle 2 did; it may not hold on to more (generous bounds: the
    // allocator keeps some of what was freed).
    EXPECT_LT(heapAfter[3] - heapAfter[2], 1024 * 1024) << heapAfter[2] << " -> " << heapAfter[3];
    EXPECT_LT(residentAfter[3] - residentAfter[2], 16 * 1024) << residentAfter[2] << " kB -> " << residentAfter[3];
}
