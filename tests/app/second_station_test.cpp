// Two stations started in one station folder, as the real program: the second is
// refused with its box and leaves the running one's log alone; a station killed with
// SIGKILL leaves nothing that blocks the next start.
#include "fixtures/run_program.h"
#include "support/scratch_folder.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Starts the station in `folder` without a display; its pid.
pid_t StartStation(const std::string& folder)
{
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0)
            _exit(127);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        execl(KV_PRINT_PROGRAM, KV_PRINT_PROGRAM, static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

// Waits until the log holds `count` start lines (the version line of each start).
bool WaitForStarts(const std::string& log, int count)
{
    for (int i = 0; i < 300; ++i) {
        std::string text = ReadTestFile(log);
        int starts = 0;
        for (std::size_t at = text.find("PDF-Ausgabeprogramm"); at != std::string::npos;
             at = text.find("PDF-Ausgabeprogramm", at + 1))
            ++starts;
        if (starts >= count)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

void Kill(pid_t pid)
{
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

TEST(SecondStation, IsRefusedWhileOneRunsAndAKilledOneDoesNotBlock)
{
    ScratchFolder folder;
    const std::string log = folder / "kv_print.log";
    WriteTestFile(folder / "kv_print.ini", "[MAIN]\nDoLog=1\nLogFileName=" + log + "\n");

    pid_t first = StartStation(folder.Path());
    ASSERT_TRUE(WaitForStarts(log, 1));
    const std::string before = ReadTestFile(log);

    ProgramRun second = RunProgram({KV_PRINT_PROGRAM}, folder.Path(), {"QT_QPA_PLATFORM=offscreen"});
    EXPECT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_NE(second.err.find("Im Ordner " + folder.Path() + " läuft bereits ein kv_print."), std::string::npos)
        << second.err;
    EXPECT_EQ(ReadTestFile(log), before);

    Kill(first);
    pid_t third = StartStation(folder.Path());
    EXPECT_TRUE(WaitForStarts(log, 2));
    Kill(third);
}

}  // namespace
