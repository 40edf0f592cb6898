// A store far away: whole processes through latency_relay.py, 20 ms each way. The
// station is one process that runs one polling cycle (log-in, the three category
// folders, fetch, deletion, print with a program that does nothing) and ends; the
// reference is OpenSSH's sftp in batch mode (get and rm for each document) or lftp's
// mget -E, doing the same work through the same relay. Each side is timed from its
// start to its end, best of three, and its round trips are counted in the relay's log.
#include "bench/bench_table.h"
#include "bench/side_by_side.h"

#include "fakes/fake_desktop.h"
#include "fakes/recording_message_boxes.h"
#include "fixtures/child_process.h"
#include "fixtures/local_ftp_server.h"
#include "fixtures/run_program.h"
#include "fixtures/sshd_fixture.h"
#include "platform/posix_process_runner.h"
#include "spool/polling_cycle.h"
#include "spool/spool_layout.h"
#include "spool/store_station.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>

namespace fs = std::filesystem;

namespace {

constexpr int kDelayMs = 20;
constexpr int kRounds = 3;
const char* const kCategories[] = {"FRONTSH", "RL", "DELV"};

std::string Self()
{
    return fs::read_symlink("/proc/self/exe").string();
}

// One side's best run: its seconds and the round trips the relay counted in it.
struct Timing {
    double seconds = 1e9;
    int roundTrips = -1;
};

int RoundTrips(const std::string& log)
{
    ProgramRun run = RunProgram({"/usr/bin/python3", ROUND_TRIPS, log, std::to_string(kDelayMs)});
    std::istringstream lines(run.out);
    int flights = -1;
    for (std::string line; std::getline(lines, line);)
        if (line.find(" flights in ") != std::string::npos)
            flights = std::atoi(line.c_str());
    return flights;
}

// Runs the command through a fresh relay to the port; "@PORT@" in it stands for the
// relay's port. False when the relay did not start or the command failed.
bool TimeThroughRelay(int target, bool ftp, std::vector<std::string> argv,
                      const std::vector<std::string>& environment, const std::string& scratch, Timing& best)
{
    const std::string log = scratch + "/relay.log";
    fs::remove(log);
    std::vector<std::string> relayArguments = {LATENCY_RELAY, std::to_string(target), std::to_string(kDelayMs), log};
    if (ftp)
        relayArguments.insert(relayArguments.begin() + 1, "--ftp");
    ChildProcess relay;
    std::string port;
    if (!relay.Start("/usr/bin/python3", relayArguments) || !relay.ReadLine(port, 10000)) {
        std::fprintf(stderr, "latency relay did not start\n");
        return false;
    }
    for (std::string& argument : argv)
        if (auto at = argument.find("@PORT@"); at != std::string::npos)
            argument.replace(at, 6, port);
    const auto start = std::chrono::steady_clock::now();
    ProgramRun run = RunProgram(argv, "", environment);
    const double seconds = SecondsSince(start);
    relay.Stop();
    if (run.exitCode != 0) {
        std::fprintf(stderr, "%s: exit %d: %s%s\n", argv[0].c_str(), run.exitCode, run.out.c_str(), run.err.c_str());
        return false;
    }
    if (seconds < best.seconds)
        best = {seconds, RoundTrips(log)};
    return true;
}

// Written in blocks: a large document never lies whole in the driver's memory, which the
// idle row's child would inherit.
void WriteDocuments(const std::string& folder, int count, std::size_t size)
{
    fs::create_directories(folder);
    const std::string head = "%PDF-1.4 bench\n";
    const std::string block(1 << 20, 'b');
    for (int i = 0; i < count; ++i) {
        std::ofstream out(folder + "/" + (count == 1 ? std::string("doc") : "doc_" + std::to_string(100 + i)) + ".pdf",
                          std::ios::binary);
        for (std::size_t written = 0; written < size;) {
            const std::string_view piece = written == 0 ? std::string_view(head) : std::string_view(block);
            const std::size_t length = std::min(piece.size(), size - written);
            out.write(piece.data(), static_cast<std::streamsize>(length));
            written += length;
        }
    }
}

bool AllGone(const std::string& folder)
{
    std::error_code error;
    return fs::is_empty(folder, error) && !error;
}

// One document, or fifty: the work of a row and where it lies on the store.
struct Work {
    std::string what;
    int count;
    std::size_t size;
    std::string target;
};

std::string Row(const Timing& station, const Timing& reference, const char* tool, std::string& ratio)
{
    ratio = Format("%.2f x", station.seconds / reference.seconds);
    return Format("%.2f s", reference.seconds) + ", " + std::to_string(reference.roundTrips) + " round trips (" +
           tool + ")";
}

std::string StationText(const Timing& station)
{
    return Format("%.2f s", station.seconds) + ", " + std::to_string(station.roundTrips) + " round trips";
}

// OpenSSH's sftp with the password from an askpass script, the host key not kept.
std::vector<std::string> SftpCommand(const std::string& batch)
{
    return {"/usr/bin/sftp", "-q", "-oBatchMode=no", "-oStrictHostKeyChecking=no",
            "-oUserKnownHostsFile=/dev/null", "-oPubkeyAuthentication=no", "-oPreferredAuthentications=password",
            "-P", "@PORT@", "-b", batch, std::string(SshdFixture::User()) + "@127.0.0.1"};
}

BenchRow SftpRow(SshdFixture& server, const std::string& tree, const Work& work, const std::string& scratch)
{
    const std::string askpass = scratch + "/askpass";
    std::ofstream(askpass) << "#!/bin/sh\necho '" << SshdFixture::Password() << "'\n";
    fs::permissions(askpass, fs::perms::owner_all);
    const std::vector<std::string> environment = {"SSH_ASKPASS=" + askpass, "SSH_ASKPASS_REQUIRE=force", "DISPLAY="};
    const std::string delivered = tree + "/4711/SPOOL/DELV";
    const std::string local = scratch + "/sftp-out";
    const std::string batch = scratch + "/batch";
    {
        std::ofstream out(batch);
        out << "cd " << delivered << "\nlcd " << local << "\n";
        for (int i = 0; i < work.count; ++i) {
            const std::string name = work.count == 1 ? "doc.pdf" : "doc_" + std::to_string(100 + i) + ".pdf";
            out << "get " << name << "\nrm " << name << "\n";
        }
    }
    Timing station;
    Timing sftp;
    for (int round = 0; round < kRounds; ++round) {
        const std::string root = scratch + "/cycle" + std::to_string(round);
        WriteDocuments(delivered, work.count, work.size);
        server.GiveToUser(server.StoreRoot());
        if (!TimeThroughRelay(server.Port(), false, {Self(), "--cycle", "sftp", "@PORT@", tree, root}, {}, scratch,
                              station) ||
            !AllGone(delivered))
            std::fprintf(stderr, "station SFTP cycle failed: %s\n", work.what.c_str());
        fs::remove_all(root);

        WriteDocuments(delivered, work.count, work.size);
        server.GiveToUser(server.StoreRoot());
        fs::create_directories(local);
        if (!TimeThroughRelay(server.Port(), false, SftpCommand(batch), environment, scratch, sftp) ||
            !AllGone(delivered))
            std::fprintf(stderr, "sftp failed: %s\n", work.what.c_str());
        fs::remove_all(local);
    }
    BenchRow row{"SFTP, " + work.what, StationText(station), "", "", work.target};
    row.reference = Row(station, sftp, "sftp -b", row.ratio);
    return row;
}

BenchRow FtpRow(const Work& work, const std::string& scratch)
{
    LocalFtpServer server;
    std::string error;
    if (!server.Start(error)) {
        std::fprintf(stderr, "FTP server: %s\n", error.c_str());
        return {};
    }
    for (const char* category : kCategories)
        fs::create_directories(server / (std::string("kv/4711/SPOOL/") + category));
    const std::string delivered = server / "kv/4711/SPOOL/DELV";
    const std::string local = scratch + "/lftp-out";
    const std::vector<std::string> lftp = {
        "/usr/bin/lftp", "-u", std::string(LocalFtpServer::kUser) + "," + LocalFtpServer::kPassword, "-p", "@PORT@",
        "-e", "set ftp:passive-mode on; set cmd:fail-exit yes; lcd " + local +
                  "; cd /kv/4711/SPOOL/DELV; mget -E *.pdf; quit",
        "127.0.0.1"};
    Timing station;
    Timing reference;
    for (int round = 0; round < kRounds; ++round) {
        const std::string root = scratch + "/cycle" + std::to_string(round);
        WriteDocuments(delivered, work.count, work.size);
        if (!TimeThroughRelay(server.Port(), true, {Self(), "--cycle", "ftp", "@PORT@", "/kv", root}, {}, scratch,
                              station) ||
            !AllGone(delivered))
            std::fprintf(stderr, "station FTP cycle failed: %s\n", work.what.c_str());
        fs::remove_all(root);

        WriteDocuments(delivered, work.count, work.size);
        fs::create_directories(local);
        if (!TimeThroughRelay(server.Port(), true, lftp, {}, scratch, reference) || !AllGone(delivered))
            std::fprintf(stderr, "lftp failed: %s\n", work.what.c_str());
        fs::remove_all(local);
    }
    BenchRow row{"FTP, " + work.what, StationText(station), "", "", work.target};
    row.reference = Row(station, reference, "lftp mget -E", row.ratio);
    return row;
}

}  // namespace

std::vector<BenchRow> FarStoreRows(const std::string& scratch)
{
    // The component keeps the host key it meets in a home of the benchmark's own.
    const std::string home = scratch + "/home";
    fs::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    std::vector<BenchRow> rows;
    SshdFixture server;
    std::string error;
    if (!server.Start(error)) {
        std::fprintf(stderr, "SSH server: %s\n", error.c_str());
        return rows;
    }
    const std::string tree = fs::canonical(server.StoreRoot()).string() + "/kv";
    for (const char* category : kCategories)
        fs::create_directories(tree + "/4711/SPOOL/" + category);
    const std::string far = "20 ms away each way, whole processes, best of 3: ";
    rows.push_back(SftpRow(server, tree, {far + "one empty document", 1, 0, "<= 1.0 x"}, scratch));
    rows.push_back(SftpRow(server, tree, {far + "one document of 20 MB", 1, 20 << 20, "<= 1.0 x"}, scratch));
    rows.push_back(SftpRow(server, tree, {far + "50 documents of 200 KB", 50, 200 << 10, "<= 0.7 x"}, scratch));
    rows.push_back(FtpRow({far + "50 documents of 200 KB", 50, 200 << 10, "<= 1.0 x"}, scratch));
    return rows;
}

int CycleOnce(const std::string& protocol, int port, const std::string& storeFolder, const std::string& root)
{
    const bool sftp = protocol == "sftp";
    StationSettings settings =
        sftp ? StoreKorvidSettings(root, SshdFixture::User(), SshdFixture::Password())
             : StoreKorvidSettings(root, LocalFtpServer::kUser, LocalFtpServer::kPassword);
    settings.KV_Sftp_Mode = sftp ? 1 : 0;
    settings.KV_FTP_Store_Dir = storeFolder;
    settings.KV_Ftp_Passive = 1;
    settings.OnErrorLogOnly = 1;
    fs::create_directories(settings.ProgramFolder);
    fs::create_directories(settings.SpoolDir);
    std::error_code exists;
    fs::create_symlink(PSFTP_DLL_DIR "/psftp_dll.so", settings.ProgramFolder + "/psftp_dll.so", exists);
    RecordingMessageBoxes boxes;
    PosixProcessRunner runner;
    FakeDesktop desktop(runner);
    TestPortStoreAccess access;
    access.ftpPort = port;
    access.sftpPort = port;
    Station station(settings, desktop.desktop, access);
    station.CreateSpoolFolders();
    RunCycle(station.Cycle());
    for (const auto& entry : fs::recursive_directory_iterator(LocalSpoolRoot(station.Settings())))
        if (entry.is_regular_file()) {
            std::fprintf(stderr, "left in the spool tree: %s\n", entry.path().c_str());
            return 1;
        }
    return 0;
}
