// The whole station without its window, in the local mode of each product mode: a
// folder tree of documents, the real process runner and the test print program.
#include "spool/polling_cycle.h"
#include "spool/test_station.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;
using Arguments = std::vector<std::string>;

struct ExpectedLine {
    int offset;  // the line's number less the counter before the test
    std::string message;
};

void ExpectLogFile(const std::string& path, int counterBefore, const std::vector<ExpectedLine>& expected)
{
    std::vector<LoggedLine> lines = ParseLogLines(FileLines(path));
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].number, counterBefore + expected[i].offset) << i;
        EXPECT_EQ(lines[i].message, expected[i].message) << i;
    }
}

// What is left in a folder tree, as sorted relative paths of the files.
TEST(StationEndToEnd, KorvidLocalModeFromFolderToPrinter)
{
    TestStation test;
    fs::create_directories(test.folder / "spool");
    Station& station = test.Make(LocalKorvidSettings(test.folder.Path()));
    const std::string source = test.folder / "source/4711/SPOOL";
    const std::string root = test.folder / "spool/SPOOL";
    const std::string program = TEST_PRINT_PROGRAM;
    WriteTestFile(source + "/DELV/b.pdf", Document("b", 2048));
    WriteTestFile(source + "/DELV/A.PDF", Document("A", 1023));
    WriteTestFile(source + "/DELV/x;touch y.pdf", Document("semicolon", 100));
    WriteTestFile(source + "/DELV/$(id).pdf", Document("dollar", 100));
    WriteTestFile(source + "/DELV/with blank.pdf", Document("blank", 3000));
    WriteTestFile(source + "/DELV/report.pdf.txt", "not a document");
    WriteTestFile(source + "/DELV/x.pdf/inner.pdf", Document("inner", 10));
    WriteTestFile(source + "/RL/rl1.pdf", Document("rl1", 10));
    WriteTestFile(source + "/RL/rl2.pdf", Document("rl2", 10));
    WriteTestFile(source + "/FRONTSH/front.pdf", Document("front", 10));
    test.SetPrintControl("rl1.pdf 3\n");
    std::string stationFolder = fs::current_path().string();
    int before = LineCounter();

    // What the window does when it opens, and then the Start button.
    station.CreateSpoolFolders();
    station.StartPolling();

    std::vector<PrintCall> calls = test.PrintCalls();
    ASSERT_EQ(calls.size(), 8u);
    const std::vector<std::pair<std::string, std::string>> printed = {
        {"DELV", "$(id).pdf"}, {"DELV", "A.PDF"},  {"DELV", "b.pdf"}, {"DELV", "with blank.pdf"},
        {"DELV", "x;touch y.pdf"}, {"RL", "rl1.pdf"}, {"RL", "rl2.pdf"}, {"FRONTSH", "front.pdf"}};
    const std::map<std::string, std::string> printers = {
        {"DELV", "Lieferdrucker"}, {"RL", "Leihschein Drucker"}, {"FRONTSH", "Deckblatt"}};
    const std::map<std::string, std::string> contents = {
        {"$(id).pdf", Document("dollar", 100)}, {"A.PDF", Document("A", 1023)}, {"b.pdf", Document("b", 2048)},
        {"with blank.pdf", Document("blank", 3000)}, {"x;touch y.pdf", Document("semicolon", 100)},
        {"rl1.pdf", Document("rl1", 10)}, {"rl2.pdf", Document("rl2", 10)}, {"front.pdf", Document("front", 10)}};
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const auto& [category, name] = printed[i];
        EXPECT_EQ(calls[i].arguments,
                  (Arguments{"-dPDFFitPage", "-color", "-printer", printers.at(category), name})) << i;
        EXPECT_EQ(calls[i].workingFolder, fs::canonical(root + "/" + category).string()) << i;
        EXPECT_EQ(calls[i].fileBytes, contents.at(name)) << i;
    }

    EXPECT_EQ(FilesBelow(test.folder / "source"), (Lines{"4711/SPOOL/DELV/report.pdf.txt", "4711/SPOOL/DELV/x.pdf/inner.pdf"}));
    EXPECT_EQ(FilesBelow(root), Lines{"RL/rl1.pdf"});
    EXPECT_EQ(fs::current_path().string(), stationFolder);
    EXPECT_FALSE(fs::exists(stationFolder + "/y.pdf"));
    EXPECT_FALSE(fs::exists(root + "/DELV/y.pdf"));

    ExpectLogFile(station.Settings().LogFileName, before,
                  {{1, "Verz. " + root + " erzeugt!"},
                   {2, "Verz. " + root + "/RL erzeugt!"},
                   {3, "Verz. " + root + "/FRONTSH erzeugt!"},
                   {4, "Verz. " + root + "/DELV erzeugt!"},
                   {5, "Start (Polling-Rate 60 Sekunden)"},
                   {6, "Lokaler Modus, kein FTP/SFTP Server !"},
                   {7, "Drucker (Lieferungen):      Lieferdrucker"},
                   {8, "Drucker (rote Leihscheine): Leihschein Drucker"},
                   {9, "Drucker (Deckblätter):      Deckblatt"},
                   {11, "Druck: " + root + "/DELV/$(id).pdf (0 KB)"},
                   {13, "Druck: " + root + "/DELV/A.PDF (0 KB)"},
                   {15, "Druck: " + root + "/DELV/b.pdf (2 KB)"},
                   {17, "Druck: " + root + "/DELV/with blank.pdf (2 KB)"},
                   {19, "Druck: " + root + "/DELV/x;touch y.pdf (0 KB)"},
                   {21, "Druck: " + root + "/RL/rl1.pdf (0 KB)"},
                   {22, "Drucken der Datei: rl1.pdf: " + program + " hat Code 3 zurückgeliefert!"},
                   {24, "Druck: " + root + "/RL/rl2.pdf (0 KB)"},
                   {26, "Druck: " + root + "/FRONTSH/front.pdf (0 KB)"}});
    Lines list = Messages(test.desktop.logList.lines);
    EXPECT_EQ(list.at(9), "Drucke nun $(id).pdf (0KB)");
    EXPECT_EQ(list.at(12), "Drucke nun with blank.pdf (2KB)");
    EXPECT_EQ(test.desktop.display.statusTexts, (Lines{"RUNNING", ""}));
    // Without the SFTP component the Start showed its box, and went on.
    ASSERT_EQ(test.boxes.boxes.size(), 1u);
    EXPECT_EQ(test.boxes.boxes[0].caption, "FEHLER");

    // A tick that fetches nothing tries the failed file again, and logs the same failure
    // only once.
    station.OnPollingTick(POLL_TIMER_ID);
    EXPECT_EQ(test.PrintCalls().size(), 9u);
    EXPECT_EQ(FilesBelow(root), Lines{"RL/rl1.pdf"});
    EXPECT_EQ(Messages({test.desktop.logList.lines.back()}), Lines{"----------------> Polling ..."});

    WriteTestFile(source + "/FRONTSH/front2.pdf", Document("front2", 10));
    test.SetPrintControl("");
    station.OnPollingTick(POLL_TIMER_ID);
    calls = test.PrintCalls();
    ASSERT_EQ(calls.size(), 11u);
    EXPECT_EQ(calls[9].arguments.back(), "rl1.pdf");
    EXPECT_EQ(calls[10].arguments.back(), "front2.pdf");
    EXPECT_TRUE(FilesBelow(root).empty());

    station.StopPolling();
    EXPECT_EQ(Messages(FileLines(station.Settings().LogFileName)).back(), "Stopp");
    EXPECT_EQ(test.desktop.waitCursor.depth, 0);

    // Every Start looks for the SFTP component again.
    station.StartPolling();
    EXPECT_TRUE(station.IsRunning());
    ASSERT_EQ(test.boxes.boxes.size(), 2u);
    EXPECT_EQ(test.boxes.boxes[1].text, test.boxes.boxes[0].text);
}

TEST(StationEndToEnd, TessalineLocalModeFromEveryMainFolder)
{
    TestStation test;
    fs::create_directories(test.folder / "spool");
    Station& station = test.Make(LocalTessalineSettings(test.folder.Path()));
    const std::string source = test.folder / "source";
    const std::string root = test.folder / "spool/SPOOL";
    const std::string program = TEST_PRINT_PROGRAM;
    WriteTestFile(source + "/north/articles/n1.pdf", Document("n1", 10));
    WriteTestFile(source + "/north/articles/notes.pdf.txt", "notes");
    WriteTestFile(source + "/south/articles/s1.PDF", Document("s1", 5000));
    WriteTestFile(source + "/north/loans/red/r1.pdf", Document("r1", 10));
    WriteTestFile(source + "/south/loans/red/$(id).pdf", Document("dollar", 10));
    WriteTestFile(source + "/west/articles/w.pdf", Document("w", 10));
    test.SetPrintControl("s1.PDF 5\n");
    int before = LineCounter();

    station.CreateSpoolFolders();
    station.StartPolling();

    std::vector<PrintCall> calls = test.PrintCalls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].arguments, (Arguments{"-dPDFFitPage", "-color", "-printer", "Artikeldrucker", "n1.pdf"}));
    EXPECT_EQ(calls[1].arguments, (Arguments{"-dPDFFitPage", "-color", "-printer", "Artikeldrucker", "s1.PDF"}));
    EXPECT_EQ(calls[2].arguments, (Arguments{"-dPDFFitPage", "-color", "-printer", "Rotdrucker", "$(id).pdf"}));
    EXPECT_EQ(calls[3].arguments, (Arguments{"-dPDFFitPage", "-color", "-printer", "Rotdrucker", "r1.pdf"}));
    EXPECT_EQ(calls[0].workingFolder, fs::canonical(root + "/articles").string());
    EXPECT_EQ(calls[3].workingFolder, fs::canonical(root + "/loans/red").string());
    EXPECT_EQ(calls[1].fileBytes, Document("s1", 5000));
    EXPECT_EQ(calls[2].fileBytes, Document("dollar", 10));

    EXPECT_EQ(FilesBelow(source), (Lines{"north/articles/notes.pdf.txt", "west/articles/w.pdf"}));
    EXPECT_EQ(FilesBelow(root), Lines{"articles/s1.PDF"});

    ExpectLogFile(station.Settings().LogFileName, before,
                  {{1, "Verz. " + root + " erzeugt!"},
                   {2, "Verz. " + root + "/articles erzeugt!"},
                   {3, "Verz. " + root + "/loans/red erzeugt!"},
                   {4, "Start (Polling-Rate 60 Sekunden)"},
                   {5, "Lokaler Modus, kein FTP/SFTP Server !"},
                   {6, "Drucker (Aufsätze):                      Artikeldrucker"},
                   {7, "Drucker (loans/red):                     Rotdrucker"},
                   {9, "Druck: " + root + "/articles/n1.pdf (0 KB)"},
                   {11, "Druck: " + root + "/articles/s1.PDF (4 KB)"},
                   {12, "Drucken der Datei: s1.PDF: " + program + " hat Code 5 zurückgeliefert!"},
                   {14, "Druck: " + root + "/loans/red/$(id).pdf (0 KB)"},
                   {16, "Druck: " + root + "/loans/red/r1.pdf (0 KB)"}});

    station.OnPollingTick(POLL_TIMER_ID);
    EXPECT_EQ(test.PrintCalls().size(), 5u);
    EXPECT_EQ(FilesBelow(root), Lines{"articles/s1.PDF"});
}

}  // namespace
