#include "net/transfer_source.h"

#include "support/scratch_folder.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

TEST(FileTransferSource, WriteLineEndsEveryLineOnce)
{
    ScratchFolder folder;
    FileTransferSource source(folder / "lines.txt");
    ASSERT_EQ(source.Open(SourceMode::Create), 0);
    EXPECT_EQ(source.WriteLine("ohne Ende"), 0);
    EXPECT_EQ(source.WriteLine("mit LF\n"), 0);
    EXPECT_EQ(source.WriteLine("mit CR\r"), 0);
    EXPECT_EQ(source.WriteLine(""), 0);
    source.Close();
    EXPECT_EQ(ReadTestFile(folder / "lines.txt"), "ohne Ende\r\nmit LF\nmit CR\r\r\n");
}

TEST(FileTransferSource, ReadLineKeepsLineEndsAndSplitsLongLines)
{
    ScratchFolder folder;
    WriteTestFile(folder / "in.txt", "kurz\r\nabcdefghij\r\nletzte");
    FileTransferSource source(folder / "in.txt", 4);  // a buffer smaller than the lines
    ASSERT_EQ(source.Open(SourceMode::Read), 0);
    std::string line;
    EXPECT_EQ(source.ReadLine(line, 100), 6);
    EXPECT_EQ(line, "kurz\r\n");
    EXPECT_EQ(source.ReadLine(line, 5), 4);
    EXPECT_EQ(line, "abcd");
    EXPECT_EQ(source.ReadLine(line, 5), 4);
    EXPECT_EQ(line, "efgh");
    EXPECT_EQ(source.ReadLine(line, 100), 4);
    EXPECT_EQ(line, "ij\r\n");
    EXPECT_EQ(source.ReadLine(line, 100), 6);
    EXPECT_EQ(line, "letzte");
    EXPECT_EQ(source.ReadLine(line, 100), 0);
}

TEST(FileTransferSource, ReadAfterReadLineContinuesWhereTheLineEnded)
{
    ScratchFolder folder;
    WriteTestFile(folder / "in.txt", "kopf\nRUMPF");
    FileTransferSource source(folder / "in.txt");
    ASSERT_EQ(source.Open(SourceMode::Read), 0);
    std::string line;
    source.ReadLine(line, 100);
    EXPECT_EQ(source.Seek(0, 1), 5);
    char rest[16] = {};
    EXPECT_EQ(source.Read(rest, sizeof rest), 5);
    EXPECT_EQ(std::string(rest), "RUMPF");
}

TEST(FileTransferSource, NameIsTrimmedAndModesCreateOrAppend)
{
    ScratchFolder folder;
    FileTransferSource padded(" " + (folder / "datei.bin") + " ");
    ASSERT_EQ(padded.Open(SourceMode::Create), 0);
    EXPECT_EQ(padded.Write("12345", 5), 5);
    padded.Close();
    EXPECT_EQ(ReadTestFile(folder / "datei.bin"), "12345");

    FileTransferSource append(folder / "datei.bin");
    ASSERT_EQ(append.Open(SourceMode::Append), 0);
    append.Seek(0, 0);  // every write still goes to the end
    append.Write("67", 2);
    EXPECT_EQ(append.Seek(0, 2), 7);
    append.Close();
    EXPECT_EQ(ReadTestFile(folder / "datei.bin"), "1234567");

    FileTransferSource create(folder / "datei.bin");
    ASSERT_EQ(create.Open(SourceMode::Create), 0);
    create.Close();
    EXPECT_EQ(ReadTestFile(folder / "datei.bin"), "");

    FileTransferSource missing(folder / "fehlt.bin");
    EXPECT_EQ(missing.Open(SourceMode::Read), -1);
    FileTransferSource empty("  ");
    EXPECT_EQ(empty.Open(SourceMode::Create), -1);
    EXPECT_EQ(create.Open(7), -1);
}

TEST(FileTransferSource, FindSearchesAcrossBlocksWithAndWithoutCase)
{
    ScratchFolder folder;
    std::string bytes(10000, '.');
    bytes.replace(4093, 6, "Nadel!");  // straddles the first block border
    bytes.replace(9000, 5, "nadel");
    WriteTestFile(folder / "heu.txt", bytes);
    FileTransferSource source(folder / "heu.txt");
    ASSERT_EQ(source.Open(SourceMode::Read), 0);
    EXPECT_EQ(source.Find("NADEL", 0, false, 0), 4093);
    EXPECT_EQ(source.Find("nadel", 0, true, 0), 9000);
    EXPECT_EQ(source.Find("NADEL", 4094, false, 0), 9000);
    EXPECT_EQ(source.Find("nadel", 0, true, 9004), -1);  // the match would end past the limit
    EXPECT_EQ(source.Find("Heu", 0, false, 0), -1);
    EXPECT_EQ(source.Find(std::string(4096, 'x'), 0, false, 0), -1);
}

TEST(FileTransferSource, CloneNamesTheSameFile)
{
    ScratchFolder folder;
    WriteTestFile(folder / "a.txt", "inhalt");
    FileTransferSource source(folder / "a.txt");
    std::unique_ptr<TransferSource> copy = source.Clone();
    ASSERT_EQ(copy->Open(SourceMode::Read), 0);
    char text[16] = {};
    EXPECT_EQ(copy->Read(text, sizeof text), 6);
    EXPECT_EQ(std::string(text), "inhalt");
}
