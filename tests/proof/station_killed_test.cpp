// The station killed with SIGKILL in the middle of a download and started again: the
// document stays on the store until a later run has it whole, and only then is it
// printed and deleted there.
#include "spool/loopback_store.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

pid_t StartDriver(const std::string& folder, int port)
{
    std::string portText = std::to_string(port);
    std::vector<const char*> argv = {STATION_CYCLE_DRIVER, folder.c_str(), "ftp", portText.c_str(), kStoreUser, kStorePassword,
                                     nullptr};
    pid_t child = fork();
    if (child == 0) {
        execv(argv[0], const_cast<char* const*>(argv.data()));
        _exit(127);
    }
    return child;
}

// The exit status of the driver, waited for at most two minutes (then it is killed).
int WaitForDriver(pid_t child)
{
    int status = 0;
    for (int i = 0; i < 1200; ++i) {
        if (waitpid(child, &status, WNOHANG) == child)
            return status;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return -1;
}

// The size of the first file in the folder whose name does not end in ".pdf": the
// download in progress; -1 when there is none.
long PartialDownloadSize(const std::string& folder)
{
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().extension() != ".pdf" && entry.is_regular_file(error))
            return static_cast<long>(entry.file_size(error));
    }
    return -1;
}

}  // namespace

TEST(StationKilled, KilledInTheMiddleOfADownloadAndStartedAgain)
{
    // Slow enough that the download is surely under way when the station dies.
    LocalFtpServer store(StoreServerOptions(64 * 1024));
    std::string error;
    ASSERT_TRUE(store.Start(error)) << error;
    const std::string tree = store.Root() + "/kv";
    const std::string delivery = tree + "/4711/SPOOL/DELV";
    std::string document = "%PDF-1.4 killed\n" + std::string(256 * 1024, 'k');
    WriteTestFile(delivery + "/letter.pdf", document);
    for (const char* category : {"FRONTSH", "RL"})
        fs::create_directories(tree + "/4711/SPOOL/" + category);
    store.GiveToServer(store.Root());

    TestStation test;
    const std::string spool = test.folder / "spool/SPOOL/DELV";
    pid_t first = StartDriver(test.folder.Path(), store.Port());
    ASSERT_GT(first, 0);
    long partial = -1;
    for (int i = 0; i < 600 && partial <= 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        partial = PartialDownloadSize(spool);
    }
    kill(first, SIGKILL);
    int status = 0;
    waitpid(first, &status, 0);
    ASSERT_GT(partial, 0) << "the download never started";
    ASSERT_TRUE(WIFSIGNALED(status));

    // Half a download is on the disk, under a name no print pass takes; the store still
    // has the document; nothing was printed.
    EXPECT_LT(PartialDownloadSize(spool), static_cast<long>(document.size()));
    EXPECT_EQ(ReadTestFile(delivery + "/letter.pdf"), document);
    EXPECT_EQ(test.PrintCalls().size(), 0u);

    int second = WaitForDriver(StartDriver(test.folder.Path(), store.Port()));
    ASSERT_TRUE(WIFEXITED(second) && WEXITSTATUS(second) == 0) << second;
    std::vector<PrintCall> calls = test.PrintCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(fs::path(calls[0].arguments.back()).filename(), "letter.pdf");
    ASSERT_TRUE(calls[0].fileBytes.has_value());
    EXPECT_TRUE(*calls[0].fileBytes == document) << "printed half";
    EXPECT_EQ(FilesBelow(tree), Lines{});
    EXPECT_EQ(FilesBelow(test.folder / "spool/SPOOL"), Lines{});
}

TEST(StationKilled, KilledAtRandomMomentsWhileFetchingAndPrintingLosesNothing)
{
    LocalFtpServer store(StoreServerOptions());
    std::string error;
    ASSERT_TRUE(store.Start(error)) << error;
    const std::string tree = store.Root() + "/kv/4711/SPOOL/";
    std::map<std::string, std::string> offered;
    for (int i = 0; i < 60; ++i) {
        std::string name = "doc" + std::to_string(i) + ".pdf";
        offered[name] = "%PDF-1.4 " + name + std::string(20000 + i, 'k');
        WriteTestFile(tree + (i % 2 ? "DELV/" : "RL/") + name, offered[name]);
    }
    fs::create_directories(tree + "FRONTSH");
    store.GiveToServer(store.Root());
    TestStation test;
    std::mt19937 dice(17);
    const int kills = 25;
    for (int i = 0; i < kills; ++i) {
        pid_t driver = StartDriver(test.folder.Path(), store.Port());
        std::this_thread::sleep_for(std::chrono::milliseconds(dice() % 400));
        kill(driver, SIGKILL);
        waitpid(driver, nullptr, 0);
    }
    for (int i = 0; i < 5 && !fs::is_empty(tree + "DELV"); ++i)
        WaitForDriver(StartDriver(test.folder.Path(), store.Port()));
    ASSERT_TRUE(WIFEXITED(WaitForDriver(StartDriver(test.folder.Path(), store.Port()))));

    std::map<std::string, int> printed;
    for (const PrintCall& call : test.PrintCalls()) {
        std::string name = fs::path(call.arguments.back()).filename().string();
        EXPECT_EQ(call.fileBytes, offered[name]) << name;
        ++printed[name];
    }
    int doubles = 0;
    for (const auto& [name, bytes] : offered) {
        EXPECT_GE(printed[name], 1) << name;
        doubles += printed[name] - 1;
    }
    // Only a kill between a print and the removal of its file prints a document twice.
    EXPECT_LE(doubles, kills);
    EXPECT_EQ(FilesBelow(store.Root() + "/kv"), Lines{});
    EXPECT_EQ(FilesBelow(test.folder / "spool/SPOOL"), Lines{});
}
