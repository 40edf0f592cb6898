// One large FTP download against curl and the same over FTPS against curl --ssl-reqd,
// each with log-in, download and deletion; and the system calls each side makes per MB,
// counted once under strace (not over FTPS).
#include "bench/bench_table.h"
#include "bench/side_by_side.h"

#include "fixtures/ftps_server.h"
#include "fixtures/local_ftp_server.h"
#include "fixtures/run_program.h"
#include "net/result_codes.h"
#include "spool/store_connection.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kFtpSize = 200 * 1024 * 1024;
constexpr int kRounds = 3;

void WriteLargeFile(const std::string& path, std::size_t size)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    std::string block(1024 * 1024, 'L');
    for (std::size_t written = 0; written < size; written += block.size())
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
}

bool Downloaded(const std::string& path, std::size_t size)
{
    std::error_code error;
    bool complete = fs::file_size(path, error) == size;
    fs::remove(path, error);
    return complete;
}

// The calls strace -c counted in its summary line.
long CountedCalls(std::vector<std::string> argv, const std::string& scratch)
{
    const std::string summary = scratch + "/strace.txt";
    argv.insert(argv.begin(), {"/usr/bin/strace", "-c", "-f", "-o", summary});
    RunProgram(argv);
    std::ifstream in(summary);
    long calls = -1;
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::vector<std::string> words;
        for (std::string word; fields >> word;)
            words.push_back(word);
        if (words.size() >= 5 && words.back() == "total")
            calls = std::atol(words[3].c_str());
    }
    return calls;
}

std::string PerMegabyte(long calls, std::size_t size)
{
    return Format("%.0f calls/MB", static_cast<double>(calls) / (static_cast<double>(size) / (1024 * 1024)));
}

std::string Self()
{
    return fs::read_symlink("/proc/self/exe").string();
}

// Over TLS when tls is 1; the server's certificate must then be trusted.
int StationFtp(int port, const std::string& target, int tls = 0)
{
    StationSettings settings;
    settings.KV_Ftp_Tls = tls;
    settings.ProgramFolder = fs::path(target).parent_path().string();
    settings.KV_FTP_Store = "127.0.0.1";
    settings.KV_FTP_Store_User = LocalFtpServer::kUser;
    settings.KV_FTP_Store_Password = LocalFtpServer::kPassword;
    StoreConnection connection;
    connection.SetControlPort(port);
    int code = OpenStore(connection, settings);
    if (code == UTE_SUCCESS) {
        connection.SetPassiveMode(1);
        code = connection.GetFile("/kv/large.pdf", target);
    }
    if (code == UTE_SUCCESS)
        code = connection.DeleteFile("/kv/large.pdf");
    CloseStore(connection);
    return code;
}

std::vector<std::string> CurlArguments(int port, const std::string& target)
{
    return {"/usr/bin/curl", "-s", "-S", "-u", std::string(LocalFtpServer::kUser) + ":" + LocalFtpServer::kPassword,
            "-o", target, "-Q", "-DELE large.pdf",
            "ftp://127.0.0.1:" + std::to_string(port) + "/kv/large.pdf"};
}

BenchRow FtpRow(const std::string& scratch)
{
    LocalFtpServer server;
    std::string error;
    if (!server.Start(error)) {
        std::fprintf(stderr, "FTP server: %s\n", error.c_str());
        return {};
    }
    const std::string source = server / "kv/large.pdf";
    const std::string target = scratch + "/large.pdf.part";
    double station = 1e9;
    double curl = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        WriteLargeFile(source, kFtpSize);
        auto start = std::chrono::steady_clock::now();
        int code = StationFtp(server.Port(), target);
        station = std::min(station, SecondsSince(start));
        if (code != UTE_SUCCESS || !Downloaded(target, kFtpSize) || fs::exists(source))
            std::fprintf(stderr, "station FTP download: code %d\n", code);

        WriteLargeFile(source, kFtpSize);
        start = std::chrono::steady_clock::now();
        ProgramRun run = RunProgram(CurlArguments(server.Port(), target));
        curl = std::min(curl, SecondsSince(start));
        if (run.exitCode != 0 || !Downloaded(target, kFtpSize) || fs::exists(source))
            std::fprintf(stderr, "curl: exit %d: %s\n", run.exitCode, run.err.c_str());
    }
    WriteLargeFile(source, kFtpSize);
    long stationCalls =
        CountedCalls({Self(), "--once", std::to_string(server.Port()), target}, scratch);
    Downloaded(target, kFtpSize);
    WriteLargeFile(source, kFtpSize);
    long curlCalls = CountedCalls(CurlArguments(server.Port(), target), scratch);
    Downloaded(target, kFtpSize);
    const double megabytes = static_cast<double>(kFtpSize) / (1024 * 1024);
    return {"FTP download of 200 MB with log-in and deletion (best of 3; system calls once)",
            Format("%.0f MB/s, ", megabytes / station) + PerMegabyte(stationCalls, kFtpSize),
            Format("%.0f MB/s, ", megabytes / curl) + PerMegabyte(curlCalls, kFtpSize) + " (curl -Q DELE)",
            Format("%.0f %%", 100.0 * curl / station), ">= 90 %"};
}

// The cipher of the last control connection the FTPS server recorded.
std::string LastCipher(const FtpsServer& server)
{
    std::string cipher;
    for (const std::string& line : server.Record())
        if (line.starts_with("TLS "))
            cipher = line.substr(4);
    return cipher;
}

BenchRow FtpsRow(const std::string& scratch)
{
    FtpsServer server;
    std::string error;
    if (!server.Start(error)) {
        std::fprintf(stderr, "FTPS server: %s\n", error.c_str());
        return {};
    }
    // The station trusts the server's test authority, curl is handed it.
    setenv("SSL_CERT_FILE", server.AuthorityFile().c_str(), 1);
    const std::string source = server / "kv/large.pdf";
    const std::string target = scratch + "/large-ftps.part";
    std::vector<std::string> curlArguments = CurlArguments(server.Port(), target);
    curlArguments.insert(curlArguments.begin() + 1, {"--ssl-reqd", "--cacert", server.AuthorityFile()});
    double station = 1e9;
    double curl = 1e9;
    std::string stationCipher;
    std::string curlCipher;
    for (int round = 0; round < kRounds; ++round) {
        WriteLargeFile(source, kFtpSize);
        auto start = std::chrono::steady_clock::now();
        int code = StationFtp(server.Port(), target, 1);
        station = std::min(station, SecondsSince(start));
        stationCipher = LastCipher(server);
        if (code != UTE_SUCCESS || !Downloaded(target, kFtpSize) || fs::exists(source))
            std::fprintf(stderr, "station FTPS download: code %d\n", code);

        WriteLargeFile(source, kFtpSize);
        start = std::chrono::steady_clock::now();
        ProgramRun run = RunProgram(curlArguments);
        curl = std::min(curl, SecondsSince(start));
        curlCipher = LastCipher(server);
        if (run.exitCode != 0 || !Downloaded(target, kFtpSize) || fs::exists(source))
            std::fprintf(stderr, "curl --ssl-reqd: exit %d: %s\n", run.exitCode, run.err.c_str());
    }
    unsetenv("SSL_CERT_FILE");
    const double megabytes = static_cast<double>(kFtpSize) / (1024 * 1024);
    return {"FTPS download of 200 MB with log-in and deletion (best of 3)",
            Format("%.0f MB/s, ", megabytes / station) + stationCipher,
            Format("%.0f MB/s, ", megabytes / curl) + curlCipher + " (curl --ssl-reqd -Q DELE)",
            Format("%.0f %%", 100.0 * curl / station), ">= 90 %"};
}

}  // namespace

std::vector<BenchRow> TransferRows(const std::string& scratch)
{
    return {FtpRow(scratch), FtpsRow(scratch)};
}

int TransferOnce(int port, const std::string& target)
{
    return StationFtp(port, target);
}
