// The print pass over 500 documents with a print program that does nothing, against a
// shell loop that starts the same program with the same arguments.
#include "bench/bench_table.h"
#include "bench/side_by_side.h"

#include "fakes/fake_desktop.h"
#include "platform/posix_process_runner.h"
#include "spool/fake_store.h"
#include "spool/print_dispatch.h"
#include "spool/spool_layout.h"
#include "spool/station.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kDocuments = 500;
constexpr int kRounds = 3;
const char* const kDoNothing = "/bin/true";

void WriteDocuments(const std::string& folder)
{
    fs::create_directories(folder);
    for (int i = 0; i < kDocuments; ++i)
        std::ofstream(folder + "/Lieferschein_" + std::to_string(1000 + i) + ".pdf") << "%PDF-1.4 bench\n";
}

double StationPrintPass(const std::string& root)
{
    StationSettings settings;
    settings.ProgramFolder = root + "/station";
    settings.SpoolDir = root + "/spool";
    settings.LocalFsMode = 1;
    settings.LocalMainDir = root + "/source";
    settings.KV_Inst_ID = "4711";
    settings.Printer_Delivery = "Lieferdrucker";
    settings.Printer_PDF_Prog = kDoNothing;
    settings.Printer_PDF_Prog_Params = "-printer \"$PRINTER$\" \"$FILE$\"";
    settings.DoLog = 0;
    fs::create_directories(settings.ProgramFolder);
    fs::create_directories(settings.SpoolDir);
    PosixProcessRunner runner;
    FakeDesktop desktop(runner);
    FakeStoreAccess store;
    Station station(settings, desktop.desktop, store);
    station.CreateSpoolFolders();
    WriteDocuments(LocalSpoolRoot(settings) + "/DELV");
    auto start = std::chrono::steady_clock::now();
    PrintAll(station.Cycle().Printing());
    double seconds = SecondsSince(start);
    if (!fs::is_empty(LocalSpoolRoot(settings) + "/DELV"))
        std::fprintf(stderr, "print pass: documents left in the spool folder\n");
    return seconds;
}

double ShellLoop(const std::string& root)
{
    std::string folder = root + "/shell";
    WriteDocuments(folder);
    std::string command = "for f in '" + folder + "'/*.pdf; do " + kDoNothing + " -printer Lieferdrucker \"$f\"; done";
    auto start = std::chrono::steady_clock::now();
    int status = std::system(command.c_str());
    double seconds = SecondsSince(start);
    if (status != 0)
        std::fprintf(stderr, "shell loop failed\n");
    return seconds;
}

}  // namespace

BenchRow PrintPassRow(const std::string& scratch)
{
    double station = 1e9;
    double shell = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        std::string root = scratch + "/print" + std::to_string(round);
        station = std::min(station, StationPrintPass(root));
        shell = std::min(shell, ShellLoop(root));
        fs::remove_all(root);
    }
    return {"print pass, 500 files, program that does nothing (best of 3)", Format("%.3f s", station),
            Format("%.3f s (sh loop)", shell), Format("%.2f x", station / shell), "<= 1.2 x"};
}
