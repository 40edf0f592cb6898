#include "platform/posix_process_runner.h"
#include "tools/print_record.h"
#include "support/scratch_folder.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

class PosixProcessRunnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("STATION_PRINT_RECORD", (folder / "record").c_str(), 1);
        setenv("STATION_PRINT_CONTROL", (folder / "control").c_str(), 1);
        std::filesystem::create_directory(folder / "work");
    }
    void TearDown() override
    {
        unsetenv("STATION_PRINT_RECORD");
        unsetenv("STATION_PRINT_CONTROL");
    }
    std::vector<PrintCall> Calls() const { return ReadPrintRecord(folder / "record"); }

    ScratchFolder folder;
    PosixProcessRunner runner;
};

TEST_F(PosixProcessRunnerTest, PassesEachArgumentLiterallyAndRunsInTheWorkingFolder)
{
    WriteTestFile(folder / "work/$(id).pdf", "%PDF-1.4 shell");
    std::string before = std::filesystem::current_path().string();
    std::vector<std::string> arguments = {"-printer", "Büro 2", "", "x;touch y.pdf", "a\"b", "$(id).pdf"};
    int code = -5;
    ASSERT_TRUE(runner.Run(TEST_PRINT_PROGRAM, arguments, folder / "work", code));

    EXPECT_EQ(code, 0);
    std::vector<PrintCall> calls = Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].arguments, arguments);
    EXPECT_EQ(calls[0].workingFolder, std::filesystem::canonical(folder / "work").string());
    EXPECT_EQ(calls[0].fileBytes, "%PDF-1.4 shell");
    EXPECT_EQ(std::filesystem::current_path().string(), before);
    EXPECT_FALSE(std::filesystem::exists(folder / "work/y.pdf"));
}

TEST_F(PosixProcessRunnerTest, ReportsTheExitCodeAndASignalAsFailure)
{
    WriteTestFile(folder / "control", "bad.pdf 3\nkilled.pdf signal 9\n");
    int code = 0;
    ASSERT_TRUE(runner.Run(TEST_PRINT_PROGRAM, {"bad.pdf"}, folder / "work", code));
    EXPECT_EQ(code, 3);
    ASSERT_TRUE(runner.Run(TEST_PRINT_PROGRAM, {"killed.pdf"}, folder / "work", code));
    EXPECT_EQ(code, 128 + SIGKILL);
    ASSERT_TRUE(runner.Run(TEST_PRINT_PROGRAM, {"good.pdf"}, folder / "work", code));
    EXPECT_EQ(code, 0);
}

TEST_F(PosixProcessRunnerTest, ARelativeProgramIsFoundFromTheCallersFolder)
{
    std::filesystem::copy_file(TEST_PRINT_PROGRAM, folder / "printer");
    std::string before = std::filesystem::current_path().string();
    std::filesystem::current_path(folder.Path());
    int code = -1;
    bool started = runner.Run("./printer", {"x"}, "work", code);
    std::filesystem::current_path(before);

    ASSERT_TRUE(started);
    EXPECT_EQ(code, 0);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].workingFolder, std::filesystem::canonical(folder / "work").string());
}

TEST_F(PosixProcessRunnerTest, WhatCannotStartIsReportedAndRunsNothing)
{
    WriteTestFile(folder / "not-executable", "#!/bin/sh\nexit 0\n");
    int code = 42;
    EXPECT_FALSE(runner.Run("", {}, "", code));
    EXPECT_FALSE(runner.Run(folder / "missing", {}, "", code));
    EXPECT_FALSE(runner.Run(folder / "work", {}, "", code));
    EXPECT_FALSE(runner.Run(folder / "not-executable", {}, "", code));
    EXPECT_FALSE(runner.Run(TEST_PRINT_PROGRAM, {"x"}, folder / "no-such-folder", code));
    EXPECT_EQ(code, 42);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(PosixProcessRunnerTest, WithoutAWorkingFolderTheChildStaysInTheCallersFolder)
{
    int code = -1;
    ASSERT_TRUE(runner.Run(TEST_PRINT_PROGRAM, {}, "", code));
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].workingFolder, std::filesystem::current_path().string());
    EXPECT_TRUE(Calls()[0].arguments.empty());
}

}  // namespace
