#include "spool/fetch_policy.h"
#include "spool/local_document_source.h"

#include "spool/test_station.h"
#include "support/scratch_folder.h"
#include "support/test_files.h"
#include "tools/unprivileged.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class LocalDocumentSourceTest : public ::testing::Test {
protected:
    LocalDocumentSourceTest()
    {
        settings.DoLog = 1;
        settings.LogFileName = folder / "log/kv_print.log";
        fs::create_directories(folder / "source");
        fs::create_directories(folder / "spool");
        fs::create_directories(folder / "log");
    }
    // Lets the user nobody into the test's folders.
    void OpenToEveryone()
    {
        for (const char* name : {"", "/source", "/spool", "/log"})
            fs::permissions(folder.Path() + name, fs::perms::all);
    }

    // The local mode's fetch of one folder, through a station on the test's settings.
    bool Move(const std::string& source, const std::string& destination)
    {
        Station station(settings, test.desktop.desktop, test.store);
        LocalDocumentSource documents;
        FetchContext context{station.Log(), test.desktop.display, station.Run().Fetches(), nullptr};
        return FetchFromSource(context, documents, "", source, destination);
    }

    ScratchFolder folder;
    StationSettings settings;
    TestStation test;
    RecordingLogList& list = test.desktop.logList;
};

TEST_F(LocalDocumentSourceTest, MovesThePdfFilesAndNothingElse)
{
    WriteTestFile(folder / "source/a.pdf", "%PDF a");
    WriteTestFile(folder / "source/B.PDF", "%PDF B");
    WriteTestFile(folder / "source/c.Pdf", "");
    WriteTestFile(folder / "source/report.pdf.txt", "text");
    WriteTestFile(folder / "source/x.pdf/inner.pdf", "%PDF inner");
    WriteTestFile(folder / "spool/a.pdf", "%PDF older a");

    EXPECT_TRUE(Move(folder / "source", folder / "spool"));

    // The document waiting under the same name is kept; the new one goes beside it.
    EXPECT_EQ(Names(folder / "spool"), (std::vector<std::string>{"B.PDF", "a.pdf", "a_2.pdf", "c.Pdf"}));
    EXPECT_EQ(ReadTestFile(folder / "spool/a.pdf"), "%PDF older a");
    EXPECT_EQ(ReadTestFile(folder / "spool/a_2.pdf"), "%PDF a");
    EXPECT_EQ(ReadTestFile(folder / "spool/B.PDF"), "%PDF B");
    EXPECT_EQ(Names(folder / "source"), (std::vector<std::string>{"report.pdf.txt", "x.pdf"}));
    EXPECT_TRUE(fs::exists(folder / "source/x.pdf/inner.pdf"));
    EXPECT_TRUE(list.lines.empty());
}

TEST_F(LocalDocumentSourceTest, NoPdfFileMeansNothingFetched)
{
    EXPECT_FALSE(Move(folder / "source", folder / "spool"));
    EXPECT_FALSE(Move(folder / "missing", folder / "spool"));
    WriteTestFile(folder / "source/report.pdf.txt", "text");
    WriteTestFile(folder / "source/x.pdf/inner.pdf", "%PDF inner");
    EXPECT_FALSE(Move(folder / "source", folder / "spool"));
    EXPECT_TRUE(Names(folder / "spool").empty());
    EXPECT_TRUE(list.lines.empty());
}

TEST_F(LocalDocumentSourceTest, WithoutItsSpoolFolderASourceStays)
{
    WriteTestFile(folder / "source/a.pdf", "%PDF a");
    EXPECT_FALSE(Move(folder / "source", folder / "vanished"));
    EXPECT_EQ(ReadTestFile(folder / "source/a.pdf"), "%PDF a");
    EXPECT_FALSE(fs::exists(folder / "vanished"));
}

TEST_F(LocalDocumentSourceTest, ASourceThatCannotBeCopiedWholeStays)
{
    // The kernel reports 4096 bytes for this file but delivers only a few when it is
    // read, like a file that is cut short while it is copied.
    const std::string shortFile = "/sys/devices/system/cpu/online";
    ASSERT_EQ(fs::file_size(shortFile), 4096u);
    ASSERT_LT(ReadTestFile(shortFile).size(), 4096u);
    fs::create_symlink(shortFile, folder / "source/short.pdf");
    WriteTestFile(folder / "source/a.pdf", "%PDF a");

    EXPECT_TRUE(Move(folder / "source", folder / "spool"));
    EXPECT_EQ(Names(folder / "spool"), std::vector<std::string>{"a.pdf"});
    EXPECT_TRUE(fs::is_symlink(folder / "source/short.pdf"));
}

TEST_F(LocalDocumentSourceTest, AnUnreadableSourceStaysWithoutACopy)
{
    WriteTestFile(folder / "source/locked.pdf", "%PDF locked");
    WriteTestFile(folder / "source/open.pdf", "%PDF open");
    fs::permissions(folder / "source/locked.pdf", fs::perms::none);
    fs::permissions(folder / "source/open.pdf", fs::perms::all);
    OpenToEveryone();

    int moved = RunUnprivileged([&] {
        return Move(folder / "source", folder / "spool") ? 1 : 0;
    });

    EXPECT_EQ(moved, 1);
    EXPECT_EQ(Names(folder / "spool"), std::vector<std::string>{"open.pdf"});
    EXPECT_EQ(Names(folder / "source"), std::vector<std::string>{"locked.pdf"});
    EXPECT_FALSE(fs::exists(settings.LogFileName));
}

TEST_F(LocalDocumentSourceTest, ASourceThatCannotBeDeletedLosesItsCopyAndIsLogged)
{
    WriteTestFile(folder / "source/kept.pdf", "%PDF kept");
    OpenToEveryone();
    fs::permissions(folder / "source", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                           fs::perms::others_read | fs::perms::others_exec);

    int moved = RunUnprivileged([&] {
        return Move(folder / "source", folder / "spool") ? 1 : 0;
    });

    EXPECT_EQ(moved, 0);
    EXPECT_TRUE(Names(folder / "spool").empty());
    EXPECT_EQ(ReadTestFile(folder / "source/kept.pdf"), "%PDF kept");
    EXPECT_EQ(Messages(FileLines(settings.LogFileName)),
              std::vector<std::string>{"konnte die Datei " + (folder / "source/kept.pdf") + " nicht löschen"});
}

}  // namespace
