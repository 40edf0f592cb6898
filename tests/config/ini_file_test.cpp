#include "config/ini_file.h"

#include "support/scratch_folder.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <random>
#include <filesystem>
#include <sys/stat.h>

namespace {

IniFile Loaded(const std::string& path)
{
    IniFile ini(path);
    EXPECT_TRUE(ini.Load());
    return ini;
}

}  // namespace

TEST(IniFile, MissingFileReadsAsDefaults)
{
    ScratchFolder folder;
    IniFile ini(folder / "none.ini");
    EXPECT_TRUE(ini.Load());
    EXPECT_EQ(ini.ReadText("MAIN", "KV_Port", "80"), "80");
    EXPECT_EQ(ini.ReadInt("MAIN", "Polling_Rate", 60), 60);
    EXPECT_FALSE(ini.Find("MAIN", "KV_Port"));
}

TEST(IniFile, NamesAreFoundWithoutRegardToCase)
{
    ScratchFolder folder;
    WriteTestFile(folder / "s.ini", "[main]\npolling_RATE=30\n[Other]\nPolling_Rate=99\n");
    IniFile ini = Loaded(folder / "s.ini");
    EXPECT_EQ(ini.ReadInt("MAIN", "Polling_Rate", 60), 30);
    EXPECT_EQ(ini.ReadInt("OTHER", "polling_rate", 60), 99);
    EXPECT_EQ(ini.ReadInt("Third", "Polling_Rate", 60), 60);
}

TEST(IniFile, EmptyValueIsEmptyTextButDefaultNumber)
{
    ScratchFolder folder;
    WriteTestFile(folder / "s.ini", "[MAIN]\nKV_Port=\nDoLog=   \n");
    IniFile ini = Loaded(folder / "s.ini");
    EXPECT_EQ(ini.ReadText("MAIN", "KV_Port", "80"), "");
    EXPECT_EQ(ini.ReadInt("MAIN", "DoLog", 7), 7);
}

TEST(IniFile, BlanksAndOnePairOfQuotesAreDroppedOnRead)
{
    ScratchFolder folder;
    WriteTestFile(folder / "s.ini",
              "[MAIN]\n"
              "  Plain =   two words \t\n"
              "Quoted= \"  inside  \" \n"
              "Twice=\"\"x\"\"\n"
              "Half=\"open\n"
              "Lone=\"\n"
              "Inner=-printer \"$PRINTER$\" $FILE$\n");
    IniFile ini = Loaded(folder / "s.ini");
    EXPECT_EQ(ini.ReadText("MAIN", "Plain", ""), "two words");
    EXPECT_EQ(ini.ReadText("MAIN", "Quoted", ""), "  inside  ");
    EXPECT_EQ(ini.ReadText("MAIN", "Twice", ""), "\"x\"");
    EXPECT_EQ(ini.ReadText("MAIN", "Half", ""), "\"open");
    EXPECT_EQ(ini.ReadText("MAIN", "Lone", ""), "\"");
    EXPECT_EQ(ini.ReadText("MAIN", "Inner", ""), "-printer \"$PRINTER$\" $FILE$");
}

TEST(IniFile, IntegersAreTheLeadingDecimalNumber)
{
    ScratchFolder folder;
    WriteTestFile(folder / "s.ini",
              "[MAIN]\nA=42abc\nB=abc\nC=-7\nD= 12 \nE=99999999999\nF=-99999999999\nG=+5\nH=0x10\n");
    IniFile ini = Loaded(folder / "s.ini");
    EXPECT_EQ(ini.ReadInt("MAIN", "A", 1), 42);
    EXPECT_EQ(ini.ReadInt("MAIN", "B", 1), 0);
    EXPECT_EQ(ini.ReadInt("MAIN", "C", 1), -7);
    EXPECT_EQ(ini.ReadInt("MAIN", "D", 1), 12);
    EXPECT_EQ(ini.ReadInt("MAIN", "E", 1), INT_MAX);
    EXPECT_EQ(ini.ReadInt("MAIN", "F", 1), INT_MIN);
    EXPECT_EQ(ini.ReadInt("MAIN", "G", 1), 5);
    EXPECT_EQ(ini.ReadInt("MAIN", "H", 1), 0);
}

TEST(IniFile, WriteKeepsEveryOtherLineInPlace)
{
    ScratchFolder folder;
    const std::string path = folder / "s.ini";
    WriteTestFile(path,
              "; written by hand\r\n"
              "[MAIN]\r\n"
              "Polling_Rate = 60\r\n"
              "# a note\r\n"
              "Unknown=keep me\r\n"
              "\r\n"
              "[Foreign]\r\n"
              "x=1");
    IniFile ini = Loaded(path);
    ASSERT_TRUE(ini.SetValue("main", "POLLING_RATE", "30"));
    ASSERT_TRUE(ini.SetValue("MAIN", "DoLog", "1"));
    ASSERT_TRUE(ini.SetValue("Foreign", "y", "2"));
    ASSERT_TRUE(ini.SetValue("New", "z", "3"));
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadTestFile(path),
              "; written by hand\r\n"
              "[MAIN]\r\n"
              "Polling_Rate =30\r\n"
              "# a note\r\n"
              "Unknown=keep me\r\n"
              "DoLog=1\r\n"
              "\r\n"
              "[Foreign]\r\n"
              "x=1\r\n"
              "y=2\r\n"
              "\r\n"
              "[New]\r\n"
              "z=3\r\n");
}

TEST(IniFile, ValuesThatReadingWouldAlterComeBackAsWritten)
{
    ScratchFolder folder;
    const std::string path = folder / "s.ini";
    const std::string values[] = {
        "  leading", "trailing\t", "\"$FILE$\" -x \"$PRINTER$\"", "\"", "\" ", "a\"b", "", " ",
        "Stra\xc3\x9f" "e",
    };
    IniFile ini(path);
    for (std::size_t i = 0; i < std::size(values); ++i)
        ASSERT_TRUE(ini.SetValue("MAIN", "K" + std::to_string(i), values[i]));
    ASSERT_TRUE(ini.Save());
    IniFile again = Loaded(path);
    for (std::size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(again.ReadText("MAIN", "K" + std::to_string(i), "?"), values[i]) << i;
}

TEST(IniFile, RemovesKeysAndWholeSections)
{
    ScratchFolder folder;
    const std::string path = folder / "s.ini";
    WriteTestFile(path,
              "[LIST]\nFOLDER1=a\nFOLDER4=d\n"
              "[MAIN]\nA=1\nB=2\nA=again\n"
              "[list]\nFOLDER9=z\n");
    IniFile ini = Loaded(path);
    ini.RemoveSection("List");
    ini.RemoveKey("MAIN", "a");
    ini.RemoveKey("MAIN", "missing");
    ini.RemoveSection("missing");
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadTestFile(path), "[MAIN]\nB=2\n");
}

TEST(IniFile, RefusesWhatALineCannotHold)
{
    IniFile ini("");
    const std::pair<std::string, std::string> names[] = {
        {"", "k"}, {"MAIN", ""}, {"MA]IN", "k"}, {"MAIN", "k=v"}, {"MAIN", "[k"}, {"MAIN", ";k"},
        {"MA\nIN", "k"}, {"MAIN", "k\rx"},
    };
    for (const auto& [section, key] : names) {
        errno = 0;
        EXPECT_FALSE(ini.SetValue(section, key, "v")) << section << "/" << key;
        EXPECT_EQ(errno, EINVAL);
    }
    EXPECT_FALSE(ini.SetValue("MAIN", "k", "two\nlines"));
    EXPECT_FALSE(ini.SetValue("MAIN", "k", std::string("nul\0byte", 8)));
    EXPECT_FALSE(ini.Changed());
}

TEST(IniFile, BadInputHasDefinedResults)
{
    ScratchFolder folder;
    const std::string path = folder / "s.ini";
    using namespace std::string_literals;
    WriteTestFile(path,
              "\x01\xff\xfe=\0\x80\n"
              "no equals sign here\n"
              "=value without key\n"
              "[MAIN\n"
              "A=1\n"
              "B=before\0after\n"
              "[]\n"
              "C=3\n"
              "\0\0\0\n"
              "[SECOND] trailing text\nD=4\n"s);
    IniFile ini = Loaded(path);
    EXPECT_EQ(ini.ReadInt("MAIN", "A", 0), 1);
    EXPECT_EQ(ini.ReadText("MAIN", "B", ""), "before");
    EXPECT_EQ(ini.ReadText("MAIN", "no equals sign here", "default"), "default");
    EXPECT_EQ(ini.ReadText("", "C", ""), "3");
    EXPECT_EQ(ini.ReadText("SECOND", "D", ""), "4");

    const std::string before = ReadTestFile(path);
    ASSERT_TRUE(ini.SetValue("SECOND", "D", "5"));
    ASSERT_TRUE(ini.Save());
    std::string expected = before;
    expected.replace(expected.rfind("D=4"), 3, "D=5");
    EXPECT_EQ(ReadTestFile(path), expected);
}

TEST(IniFile, RandomBytesNeverBreakAWrite)
{
    ScratchFolder folder;
    const std::string path = folder / "s.ini";
    const std::string alphabet("[]=;\"\n\r \t\0aAmMiInN\x80\xff", 20);
    std::mt19937 random(1234);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(random() % 400, '\0');
        for (char& c : bytes)
            c = random() % 2 ? alphabet[random() % alphabet.size()] : static_cast<char>(random());
        WriteTestFile(path, bytes);
        IniFile ini = Loaded(path);
        ini.ReadText("MAIN", "A", "");
        ini.ReadInt("m", "n", 0);
        ASSERT_TRUE(ini.SetValue("MAIN", "Key", "value"));
        ini.RemoveKey("[", "]");
        ini.RemoveSection("MAIN_FOLDER_LIST");
        ASSERT_TRUE(ini.Save());
        EXPECT_EQ(Loaded(path).ReadText("main", "KEY", ""), "value") << round;
    }
}

TEST(IniFile, LongValuesAreCutAtTheLimit)
{
    ScratchFolder folder;
    const std::string path = folder / "s.ini";
    IniFile ini(path);
    ASSERT_TRUE(ini.SetValue("MAIN", "Exact", std::string(IniFile::kMaxValueLength, 'x')));
    ASSERT_TRUE(ini.SetValue("MAIN", "Over", std::string(300000, 'y')));
    ASSERT_TRUE(ini.Save());
    IniFile again = Loaded(path);
    EXPECT_EQ(again.ReadText("MAIN", "Exact", ""), std::string(IniFile::kMaxValueLength, 'x'));
    EXPECT_EQ(again.ReadText("MAIN", "Over", ""), std::string(IniFile::kMaxValueLength, 'y'));
}

TEST(IniFile, SaveReplacesTheFileAndKeepsItsModeAndLink)
{
    ScratchFolder folder;
    const std::string real = folder / "real.ini";
    const std::string link = folder / "link.ini";
    WriteTestFile(real, "[MAIN]\nA=1\n");
    ::chmod(real.c_str(), 0640);
    std::filesystem::create_symlink("real.ini", link);
    struct stat before {};
    ::stat(real.c_str(), &before);

    IniFile ini = Loaded(link);
    ASSERT_TRUE(ini.SetValue("MAIN", "A", "2"));
    ASSERT_TRUE(ini.Save());

    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadTestFile(real), "[MAIN]\nA=2\n");
    struct stat after {};
    ::stat(real.c_str(), &after);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_NE(after.st_ino, before.st_ino);  // a new file took the old one's place
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        ++entries;
    EXPECT_EQ(entries, 2);  // no temporary file left behind
}

TEST(IniFile, UnreadableFileReadsAsDefaultsAndMissingFolderFailsTheSave)
{
    ScratchFolder folder;
    const std::string path = folder / "s.ini";
    std::filesystem::create_directory(path);
    IniFile ini(path);
    EXPECT_FALSE(ini.Load());
    EXPECT_EQ(ini.ReadText("MAIN", "A", "default"), "default");

    IniFile inMissingFolder(folder / "missing/s.ini");
    ASSERT_TRUE(inMissingFolder.Load());
    ASSERT_TRUE(inMissingFolder.SetValue("MAIN", "A", "1"));
    errno = 0;
    EXPECT_FALSE(inMissingFolder.Save());
    EXPECT_EQ(errno, ENOENT);
}
