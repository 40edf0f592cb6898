#include "spool/free_file_name.h"

#include "support/sorted_string_list.h"
#include "support/scratch_folder.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <list>
#include <set>
#include <string>

namespace fs = std::filesystem;

TEST(FreeFileName, NumberGoesBeforeTheLastExtensionWithoutABlankAndSortsAfterTheOriginal)
{
    struct Case {
        const char* name;
        int number;
        const char* numbered;
    };
    for (const Case& c : {Case{"report.pdf", 2, "report_2.pdf"}, Case{"A.PDF", 3, "A_3.PDF"},
                          Case{"x.y.pdf", 12, "x.y_12.pdf"}, Case{"plain", 2, "plain_2"},
                          Case{"two  blanks.pdf", 2, "two  blanks_2.pdf"}}) {
        EXPECT_EQ(NumberedFileName(c.name, c.number), c.numbered);
        std::list<std::string> sorted = {c.numbered, c.name};
        SortStringList(sorted);
        EXPECT_EQ(sorted.front(), c.name);
    }
    EXPECT_EQ(NumberedFileName(std::string(251, 'x') + ".pdf", 2), std::string(249, 'x') + "_2.pdf");
}

TEST(FreeFileName, AWaitingDocumentIsNeverReplaced)
{
    ScratchFolder folder;
    WriteTestFile(folder / "new/1", "first");
    WriteTestFile(folder / "new/2", "second");
    WriteTestFile(folder / "new/3", "third");
    WriteTestFile(folder / "new/4", "fourth");
    fs::create_directories(folder / "spool");

    EXPECT_EQ(MoveToFreeName(folder / "new/1", folder / "spool", "a.pdf"), folder / "spool/a.pdf");
    EXPECT_EQ(MoveToFreeName(folder / "new/2", folder / "spool", "a.pdf"), folder / "spool/a_2.pdf");
    EXPECT_EQ(MoveToFreeName(folder / "new/3", folder / "spool", "a.pdf"), folder / "spool/a_3.pdf");
    EXPECT_EQ(ReadTestFile(folder / "spool/a.pdf"), "first");
    EXPECT_EQ(ReadTestFile(folder / "spool/a_2.pdf"), "second");
    EXPECT_EQ(ReadTestFile(folder / "spool/a_3.pdf"), "third");
    EXPECT_FALSE(fs::exists(folder / "new/1"));
    EXPECT_FALSE(fs::exists(folder / "new/3"));

    // A freed name is taken again; a folder holds its name like a file.
    fs::remove(folder / "spool/a_2.pdf");
    fs::create_directories(folder / "spool/b.pdf");
    EXPECT_EQ(MoveToFreeName(folder / "new/4", folder / "spool", "a.pdf"), folder / "spool/a_2.pdf");
    WriteTestFile(folder / "new/5", "fifth");
    EXPECT_EQ(MoveToFreeName(folder / "new/5", folder / "spool", "b.pdf"), folder / "spool/b_2.pdf");
    EXPECT_TRUE(fs::is_directory(folder / "spool/b.pdf"));
}

TEST(FreeFileName, AFailedMoveLeavesTheFileWhereItWas)
{
    ScratchFolder folder;
    WriteTestFile(folder / "new/1", "first");
    EXPECT_EQ(MoveToFreeName(folder / "new/1", folder / "missing", "a.pdf"), "");
    EXPECT_EQ(ReadTestFile(folder / "new/1"), "first");
    EXPECT_EQ(MoveToFreeName(folder / "new/none", folder.Path(), "a.pdf"), "");
    EXPECT_FALSE(fs::exists(folder / "a.pdf"));
}

TEST(FreeFileName, OnlyTheStationsOwnTemporaryFilesAreStale)
{
    ScratchFolder folder;
    WriteTestFile(folder / "a.pdf.part", "half");
    WriteTestFile(folder / "B.PDF.part", "half");
    WriteTestFile(folder / "a.pdf", "%PDF whole");
    WriteTestFile(folder / "notes.part", "someone else's");
    WriteTestFile(folder / ".part", "no name");
    fs::create_directories(folder / "c.pdf.part");
    EXPECT_EQ(PartialPath("/spool/RL", "a.pdf"), "/spool/RL/a.pdf.part");

    RemoveStalePartials(folder.Path());
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder.Path()))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{".part", "a.pdf", "c.pdf.part", "notes.part"}));
    RemoveStalePartials(folder / "missing");
}
