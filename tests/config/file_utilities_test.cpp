#include "config/file_utilities.h"

#include "support/scratch_folder.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Runs the test body in another working folder and goes back afterwards.
class WorkingFolder {
public:
    explicit WorkingFolder(const std::string& path)
        : previous_(fs::current_path())
    {
        fs::current_path(path);
    }
    ~WorkingFolder() { fs::current_path(previous_); }

private:
    fs::path previous_;
};

}  // namespace

TEST(IniUtilities, ReadAndWriteThroughTheFile)
{
    ScratchFolder folder;
    std::string error;
    const std::string file = folder / "kv_print.ini";
    EXPECT_EQ(ReadIniText("MAIN", "KV_Port", "80", file), "80");
    EXPECT_EQ(ReadIniInt("MAIN", "Polling_Rate", 60, file), 60);

    EXPECT_TRUE(WriteIniText("MAIN", "KV_Port", "8080", file, &error));
    EXPECT_TRUE(WriteIniInt("MAIN", "Polling_Rate", -15, file, &error));
    EXPECT_TRUE(WriteIniText("MAIN", "Empty", "", file, &error));
    EXPECT_EQ(ReadIniText("main", "kv_port", "80", file), "8080");
    EXPECT_EQ(ReadIniInt("MAIN", "Polling_Rate", 60, file), -15);
    EXPECT_EQ(ReadIniText("MAIN", "Empty", "default", file), "");

    EXPECT_TRUE(WriteIniText("MAIN", "KV_Port", nullptr, file, &error));
    EXPECT_EQ(ReadIniText("MAIN", "KV_Port", "80", file), "80");
    EXPECT_TRUE(WriteIniText("MAIN", nullptr, nullptr, file, &error));
    EXPECT_EQ(ReadIniText("MAIN", "Empty", "default", file), "default");
    EXPECT_EQ(error, "");
}

TEST(IniUtilities, FailedWriteSaysWhyAndFlushNever)
{
    ScratchFolder folder;
    const std::string file = folder / "missing/kv_print.ini";
    std::string error;
    EXPECT_FALSE(WriteIniText("MAIN", "KV_Port", "80", file, &error));
    EXPECT_EQ(error, "could not write ini-key:\n\nFile: " + file
                         + "\nSection:MAIN\nKey:KV_Port\nValue: '80'\n\nError: No such file or directory");

    EXPECT_FALSE(WriteIniText("MAIN", "Key", "two\nlines", folder / "s.ini", &error));
    EXPECT_NE(error.find("Error: Invalid argument"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "s.ini"));

    error.clear();
    EXPECT_TRUE(WriteIniText(nullptr, nullptr, nullptr, file, &error));
    EXPECT_EQ(error, "");
}

TEST(IniUtilities, NoSettingsFileReadsDefaultsAndWritesNothing)
{
    ScratchFolder folder;
    WorkingFolder inside(folder.Path());
    std::string error;
    EXPECT_TRUE(WriteIniText("MAIN", "KV_Port", "8080", "", &error));
    EXPECT_TRUE(WriteIniText("MAIN", nullptr, nullptr, "", &error));
    EXPECT_EQ(ReadIniText("MAIN", "KV_Port", "80", ""), "80");
    EXPECT_TRUE(fs::is_empty(folder.Path()));
    EXPECT_EQ(error, "");
}

TEST(FileUtilities, ExistenceSizeAndFullPath)
{
    ScratchFolder folder;
    WriteTestFile(folder / "five.pdf", "12345");
    EXPECT_TRUE(PathExists(folder / "five.pdf"));
    EXPECT_TRUE(PathExists(folder.Path()));
    EXPECT_FALSE(PathExists(folder / "none.pdf"));
    EXPECT_FALSE(PathExists(""));
    EXPECT_EQ(FileSize(folder / "five.pdf"), 5);
    EXPECT_EQ(FileSize(folder / "none.pdf"), -1);
    EXPECT_EQ(FileSize(""), -1);

    WorkingFolder inside(folder.Path());
    const std::string here = fs::current_path().string();
    EXPECT_EQ(FullPath(""), "");
    EXPECT_EQ(FullPath("./kv_print.ini"), here + "/kv_print.ini");
    EXPECT_EQ(FullPath("a/../b/c.ini"), here + "/b/c.ini");
    EXPECT_EQ(FullPath("/etc/./hosts"), "/etc/hosts");
}

TEST(FileUtilities, CopyFileInHonoursOverwriteAndFolder)
{
    ScratchFolder folder;
    WriteTestFile(folder / "a.pdf", "first");
    EXPECT_TRUE(CopyFileIn(folder / "a.pdf", folder / "b.pdf", false));
    EXPECT_EQ(ReadTestFile(folder / "b.pdf"), "first");

    WriteTestFile(folder / "a.pdf", "second");
    EXPECT_FALSE(CopyFileIn(folder / "a.pdf", folder / "b.pdf", false));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(ReadTestFile(folder / "b.pdf"), "first");
    EXPECT_TRUE(CopyFileIn(folder / "a.pdf", folder / "b.pdf", true));
    EXPECT_EQ(ReadTestFile(folder / "b.pdf"), "second");

    EXPECT_TRUE(CopyFileIn("a.pdf", "c.pdf", false, folder.Path()));
    EXPECT_EQ(ReadTestFile(folder / "c.pdf"), "second");
    EXPECT_FALSE(CopyFileIn(folder / "none.pdf", folder / "d.pdf", true));
    EXPECT_FALSE(fs::exists(folder / "d.pdf"));
}

TEST(FileUtilities, SplitListTrimsAndDropsEmptyPieces)
{
    std::vector<std::string> list = {"old"};
    EXPECT_FALSE(SplitList("", ",", list));
    EXPECT_FALSE(SplitList("a,b", "", list));
    EXPECT_EQ(list, std::vector<std::string>{"old"});
    EXPECT_TRUE(SplitList(" a ,\tb c;;,d ;", ",;", list));
    EXPECT_EQ(list, (std::vector<std::string>{"a", "b c", "d"}));
    EXPECT_TRUE(SplitList(" , ", ",", list));
    EXPECT_TRUE(list.empty());
}

TEST(CreateCompletePath, CreatesEveryMissingLevel)
{
    ScratchFolder folder;
    std::string error;
    fs::create_directory(folder / "a");
    EXPECT_TRUE(ut_create_complete_path(folder / "a/b/c", &error));
    EXPECT_TRUE(fs::is_directory(folder / "a/b/c"));
    EXPECT_TRUE(ut_create_complete_path(folder / "a/b/c", &error));

    EXPECT_TRUE(ut_create_complete_path(folder.Path() + "\\m/n\\\\o/", &error));
    EXPECT_TRUE(fs::is_directory(folder / "m/n/o"));
    EXPECT_TRUE(ut_create_complete_path("/" + folder.Path() + "//p", &error));
    EXPECT_TRUE(fs::is_directory(folder / "p"));

    WorkingFolder inside(folder.Path());
    EXPECT_TRUE(ut_create_complete_path("x\\y", &error));
    EXPECT_TRUE(fs::is_directory(folder / "x/y"));
    EXPECT_TRUE(ut_create_complete_path(" q \\ r ", &error));
    EXPECT_TRUE(fs::is_directory(folder / "q/r"));
    EXPECT_TRUE(ut_create_complete_path("", &error));
    EXPECT_TRUE(ut_create_complete_path("  \t ", &error));
    EXPECT_EQ(error, "");
}

TEST(CreateCompletePath, StopsAtAFolderItCannotCreate)
{
    ScratchFolder folder;
    fs::create_directory(folder / "made");
    WriteTestFile(folder / "made/file", "in the way");
    std::string error;
    EXPECT_FALSE(ut_create_complete_path(folder.Path() + "\\made\\file\\sub\\deeper", &error));
    EXPECT_EQ(error, "ut_create_complete_path: could not create folder: " + folder.Path()
                         + "/made/file/sub\nError: Not a directory");
    EXPECT_FALSE(ut_create_complete_path(folder / "made/file/sub", nullptr));
}

TEST(Messages, LastErrorText)
{
    errno = ENOENT;
    EXPECT_EQ(LastErrorText(), "No such file or directory");
}
