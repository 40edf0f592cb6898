// Google Benchmark for the station's inner loops: the print order of a spool folder,
// the print template's expansion, the two listing forms of the store and the trim of
// the log list.
#include "config/station_settings.h"
#include "net/ftp_dir_entry.h"
#include "platform/log_list.h"
#include "spool/activity_log.h"
#include "spool/param_expander.h"
#include "spool/param_table.h"
#include "support/sorted_string_list.h"

#include <benchmark/benchmark.h>

#include <list>
#include <random>
#include <string>
#include <vector>

namespace {

std::list<std::string> ShuffledNames(std::size_t count)
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < count; ++i)
        names.push_back((i % 3 ? "Lieferschein_" : "rl_") + std::to_string(i * 7919 % 100003) + ".pdf");
    std::mt19937 random(4711);
    std::shuffle(names.begin(), names.end(), random);
    return {names.begin(), names.end()};
}

void BM_SortStringList(benchmark::State& state)
{
    const std::list<std::string> names = ShuffledNames(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        std::list<std::string> list = names;
        state.ResumeTiming();
        benchmark::DoNotOptimize(SortStringList(list));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SortStringList)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ExpandTemplate(benchmark::State& state)
{
    ParamTable table;
    table.AddParam("PRINTER", "Lieferdrucker im Erdgeschoss");
    table.AddParam("DRIVER", "pdf-driver");
    table.AddParam("PORT", "lpt1");
    table.AddParam("FILE", "/var/spool/station/SPOOL/DELV/Lieferschein 2026-12-08 4711.pdf");
    const std::string text = kDefaultPrintParams;
    for (auto _ : state) {
        ParamExpander expander(text, &table);
        expander.ExpandTemplate();
        benchmark::DoNotOptimize(expander.Text().data());
    }
}
BENCHMARK(BM_ExpandTemplate);

void BM_ParseUnixEntry(benchmark::State& state)
{
    const std::string line = "-rw-r--r--   1 kv       store      102400 Jan 15 12:30 Lieferschein 4711.pdf";
    for (auto _ : state) {
        FtpDirEntry entry;
        ParseUnixEntry(line, entry);
        benchmark::DoNotOptimize(entry.size);
    }
}
BENCHMARK(BM_ParseUnixEntry);

void BM_ParseDosEntry(benchmark::State& state)
{
    const std::string line = "01-15-05  10:30AM               102400 Lieferschein 4711.pdf";
    for (auto _ : state) {
        FtpDirEntry entry;
        ParseDosEntry(line, entry);
        benchmark::DoNotOptimize(entry.size);
    }
}
BENCHMARK(BM_ParseDosEntry);

// A list that holds its lines like the window's list.
class VectorLogList : public LogList {
public:
    int Count() const override { return static_cast<int>(lines.size()); }
    void Append(const std::string& line) override { lines.push_back(line); }
    void RemoveFirst(int count) override { lines.erase(lines.begin(), lines.begin() + count); }
    void ShowLast() override {}
    void RepaintNow() override {}
    std::vector<std::string> lines;
};

// One line into a full list: the list loses its oldest block and takes the line.
void BM_LogTrim(benchmark::State& state)
{
    StationSettings settings;
    settings.DoLog = 0;
    VectorLogList list;
    ActivityLog log(settings, list);
    while (list.Count() < kLogListLimit)
        log.AddLogLine("konnte die Datei Lieferschein.pdf nicht vom FTP-Lager abholen", LogTarget::ListOnly);
    for (auto _ : state) {
        state.PauseTiming();
        while (list.Count() <= kLogListLimit)
            list.Append("<08.12. 01:00:00 1> filler");
        state.ResumeTiming();
        log.AddLogLine("----------------> Polling ...", LogTarget::ListOnly);
    }
}
BENCHMARK(BM_LogTrim)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
