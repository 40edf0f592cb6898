// The fetch stage against lftp and one large download against curl, on the same
// pyftpdlib server on loopback and the same files.
#include "bench/bench_table.h"
#include "bench/side_by_side.h"

#include "fakes/fake_desktop.h"
#include "fakes/recording_message_boxes.h"
#include "fixtures/local_ftp_server.h"
#include "fixtures/run_program.h"
#include "net/result_codes.h"
#include "platform/posix_process_runner.h"
#include "spool/polling_cycle.h"
#include "spool/spool_layout.h"
#include "spool/store_connection.h"
#include "spool/store_station.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kSmallFiles = 200;
constexpr std::size_t kSmallSize = 100 * 1024;
constexpr std::size_t kLargeSize = 200 * 1024 * 1024;
constexpr int kRounds = 3;
const char* const kCategory = "kv/4711/SPOOL/DELV";

void WriteSmallFiles(const LocalFtpServer& server)
{
    std::string folder = server / kCategory;
    fs::create_directories(folder);
    std::string bytes = "%PDF-1.4 bench\n" + std::string(kSmallSize - 15, 'b');
    for (int i = 0; i < kSmallFiles; ++i)
        std::ofstream(folder + "/Lieferschein_" + std::to_string(1000 + i) + ".pdf", std::ios::binary) << bytes;
}

StationSettings BenchSettings(const std::string& root)
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
    settings.DoLog = 0;
    fs::create_directories(settings.ProgramFolder);
    fs::create_directories(settings.SpoolDir);
    return settings;
}

double StationFetch(const LocalFtpServer& server, const std::string& root)
{
    WriteSmallFiles(server);
    RecordingMessageBoxes boxes;
    PosixProcessRunner runner;
    FakeDesktop desktop(runner);
    TestPortStoreAccess access;
    access.ftpPort = server.Port();
    Station station(BenchSettings(root), desktop.desktop, access);
    station.CreateSpoolFolders();
    auto start = std::chrono::steady_clock::now();
    FetchAll(station.Cycle());
    double seconds = SecondsSince(start);
    std::size_t fetched = 0;
    for (const auto& entry : fs::directory_iterator(LocalSpoolRoot(station.Settings()) + "/DELV"))
        fetched += entry.is_regular_file() ? 1 : 0;
    if (fetched != kSmallFiles || !fs::is_empty(server / kCategory) || !boxes.boxes.empty())
        std::fprintf(stderr, "station fetch: %zu of %d files fetched\n", fetched, kSmallFiles);
    return seconds;
}

double LftpFetch(const LocalFtpServer& server, const std::string& root)
{
    WriteSmallFiles(server);
    std::string target = root + "/lftp";
    fs::create_directories(target);
    std::vector<std::string> argv = {"/usr/bin/lftp", "-u",
                                     std::string(LocalFtpServer::kUser) + "," + LocalFtpServer::kPassword, "-p",
                                     std::to_string(server.Port()), "-e",
                                     std::string("set ftp:passive-mode on; set cmd:fail-exit yes; cd /") + kCategory +
                                         "; mget -E *.pdf; quit",
                                     "127.0.0.1"};
    auto start = std::chrono::steady_clock::now();
    ProgramRun run = RunProgram(argv, target);
    double seconds = SecondsSince(start);
    std::size_t fetched = 0;
    for (const auto& entry : fs::directory_iterator(target))
        fetched += entry.is_regular_file() ? 1 : 0;
    if (run.exitCode != 0 || fetched != kSmallFiles || !fs::is_empty(server / kCategory))
        std::fprintf(stderr, "lftp: exit %d, %zu files: %s\n", run.exitCode, fetched, run.err.c_str());
    return seconds;
}

double StationDownload(const LocalFtpServer& server, const std::string& root)
{
    StationSettings settings = BenchSettings(root);
    StoreConnection connection;
    connection.SetControlPort(server.Port());
    std::string target = root + "/large.pdf.part";
    auto start = std::chrono::steady_clock::now();
    int code = OpenStore(connection, settings);
    if (code == UTE_SUCCESS) {
        connection.SetPassiveMode(1);
        code = connection.GetFile("/kv/large.pdf", target);
    }
    CloseStore(connection);
    double seconds = SecondsSince(start);
    std::error_code error;
    if (code != UTE_SUCCESS || fs::file_size(target, error) != kLargeSize)
        std::fprintf(stderr, "station download: code %d\n", code);
    fs::remove(target, error);
    return seconds;
}

double CurlDownload(const LocalFtpServer& server, const std::string& root)
{
    std::string target = root + "/large-curl.pdf";
    std::string url = "ftp://127.0.0.1:" + std::to_string(server.Port()) + "/kv/large.pdf";
    std::string user = std::string(LocalFtpServer::kUser) + ":" + LocalFtpServer::kPassword;
    auto start = std::chrono::steady_clock::now();
    ProgramRun run = RunProgram({"/usr/bin/curl", "-s", "-S", "-u", user, "-o", target, url});
    double seconds = SecondsSince(start);
    std::error_code error;
    if (run.exitCode != 0 || fs::file_size(target, error) != kLargeSize)
        std::fprintf(stderr, "curl: exit %d: %s\n", run.exitCode, run.err.c_str());
    fs::remove(target, error);
    return seconds;
}

}  // namespace

std::vector<BenchRow> FetchRows(const std::string& scratch)
{
    LocalFtpServer server;
    std::string error;
    if (!server.Start(error)) {
        std::fprintf(stderr, "FTP server: %s\n", error.c_str());
        return {};
    }
    double station = 1e9;
    double lftp = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        std::string root = scratch + "/fetch" + std::to_string(round);
        station = std::min(station, StationFetch(server, root));
        lftp = std::min(lftp, LftpFetch(server, root));
        fs::remove_all(root);
    }

    {
        std::ofstream large(server / "kv/large.pdf", std::ios::binary);
        std::string block(1024 * 1024, 'L');
        for (std::size_t written = 0; written < kLargeSize; written += block.size())
            large.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    double download = 1e9;
    double curl = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        download = std::min(download, StationDownload(server, scratch));
        curl = std::min(curl, CurlDownload(server, scratch));
    }
    const double megabytes = static_cast<double>(kLargeSize) / (1024 * 1024);
    return {
        {"fetch 200 x 100 KB and delete on the store (best of 3)", Format("%.3f s", station),
         Format("%.3f s (lftp mget -E)", lftp), Format("%.2f x", station / lftp), "<= 1.25 x"},
        {"download of one 200 MB file (best of 3)", Format("%.0f MB/s", megabytes / download),
         Format("%.0f MB/s (curl)", megabytes / curl), Format("%.0f %%", 100.0 * curl / download), ">= 80 %"},
    };
}
