// A station polling an empty store once a second: its processor time and resident
// memory, measured on a child process that does nothing else.
#include "bench/bench_table.h"
#include "bench/side_by_side.h"

#include "fakes/fake_desktop.h"
#include "fakes/recording_message_boxes.h"
#include "fixtures/local_ftp_server.h"
#include "platform/posix_process_runner.h"
#include "spool/polling_cycle.h"
#include "spool/store_station.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

long ResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// The child: a station whose timer ticks once a second for `seconds`; writes its
// resident memory at the end to the pipe.
[[noreturn]] void PollEmptyStore(int port, const std::string& root, int seconds, int report)
{
    StationSettings settings;
    settings.ProgramFolder = root + "/station";
    settings.SpoolDir = root + "/spool";
    settings.KorvidMode = 0;
    settings.KV_Inst_ID = "4711";
    settings.KV_FTP_Store = "127.0.0.1";
    settings.KV_FTP_Store_Dir = "/kv";
    settings.KV_FTP_Store_User = LocalFtpServer::kUser;
    settings.KV_FTP_Store_Password = LocalFtpServer::kPassword;
    settings.KV_Ftp_Passive = 1;
    settings.OnErrorLogOnly = 1;
    settings.Polling_Rate = 1;
    settings.DoLog = 1;
    settings.LogFileName = settings.ProgramFolder + "/kv_print.log";
    settings.Printer_PDF_Prog = "/bin/true";
    fs::create_directories(settings.ProgramFolder);
    fs::create_directories(settings.SpoolDir);
    RecordingMessageBoxes boxes;
    PosixProcessRunner runner;
    FakeDesktop desktop(runner);
    TestPortStoreAccess access;
    access.ftpPort = port;
    Station station(settings, desktop.desktop, access);
    station.CreateSpoolFolders();
    auto next = std::chrono::steady_clock::now();
    for (int tick = 0; tick < seconds; ++tick) {
        next += std::chrono::seconds(1);
        std::this_thread::sleep_until(next);
        RunCycle(station.Cycle());
    }
    long resident = ResidentKilobytes();
    if (write(report, &resident, sizeof resident) != sizeof resident)
        _exit(1);
    _exit(0);
}

}  // namespace

BenchRow IdleRow(const std::string& scratch)
{
    int seconds = 60;
    if (const char* asked = std::getenv("BENCH_IDLE_SECONDS"))
        seconds = std::max(1, std::atoi(asked));
    LocalFtpServer server;
    std::string error;
    if (!server.Start(error)) {
        std::fprintf(stderr, "FTP server: %s\n", error.c_str());
        return {};
    }
    for (const char* category : {"DELV", "RL", "FRONTSH"})
        fs::create_directories(server / (std::string("kv/4711/SPOOL/") + category));
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return {};
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        PollEmptyStore(server.Port(), scratch + "/idle", seconds, pipeEnds[1]);
    }
    close(pipeEnds[1]);
    long resident = -1;
    if (read(pipeEnds[0], &resident, sizeof resident) != sizeof resident)
        resident = -1;
    close(pipeEnds[0]);
    int status = 0;
    struct rusage usage {};
    wait4(child, &status, 0, &usage);
    double cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                 static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    double share = 100.0 * cpu / seconds;
    return {"idle: empty store polled once a second for " + std::to_string(seconds) + " s",
            Format("%.3f s CPU", cpu) + Format(", %.0f MB resident", static_cast<double>(resident) / 1024),
            "-", Format("%.3f %% of one core", share), "< 0.5 %"};
}
