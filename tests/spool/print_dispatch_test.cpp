#include "spool/print_dispatch.h"

#include "proof/tmpfs_mount.h"
#include "spool/program_message.h"
#include "spool/spool_layout.h"
#include "spool/test_station.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

using Arguments = std::vector<std::string>;

TEST(RunPrintProgram, StartsTheArgumentsAsTheyAreInTheWorkingFolder)
{
    RecordingProcessRunner runner;
    int code = 77;
    EXPECT_FALSE(RunPrintProgram(runner, "", {"a"}, "/spool", code));
    EXPECT_EQ(code, 77);
    EXPECT_TRUE(runner.started.empty());

    runner.exitCodes = {4};
    EXPECT_TRUE(RunPrintProgram(runner, "/usr/bin/print", {"-printer", "HP 4050", "x;touch y.pdf"}, "/spool/DELV", code));
    EXPECT_EQ(code, 4);
    ASSERT_EQ(runner.started.size(), 1u);
    EXPECT_EQ(runner.started[0].program, "/usr/bin/print");
    EXPECT_EQ(runner.started[0].arguments, (Arguments{"-printer", "HP 4050", "x;touch y.pdf"}));
    EXPECT_EQ(runner.started[0].workingFolder, "/spool/DELV");

    // A command line "\"/usr/bin/print\" ..." beyond 1020 characters is not started, never cut.
    EXPECT_FALSE(RunPrintProgram(runner, "/usr/bin/print", {std::string(999, 'a'), std::string(50, 'b')}, "", code));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(runner.started.size(), 1u);

    runner.cannotStart = true;
    EXPECT_FALSE(RunPrintProgram(runner, "/usr/bin/print", {"x"}, "", code));
    EXPECT_EQ(code, 0);
}

TEST(ProgramMessage, IsOneHarmlessLineOfAtMostTwoHundredBytes)
{
    const std::string a198(198, 'a');
    const std::pair<std::string, std::string> rows[] = {
        {" \tDrucker \x7f\xC2\x85 aus\t ", "Drucker ?? aus"},
        {"halb \xC3 \xFF \xE0\x80\x80 \xED\xA0\x80 \xF4\x90\x80\x80", "halb ? ? ??? ??? ????"},
        {a198 + "\xC3\xA4\xC3\xA4", a198 + "\xC3\xA4"},
        {a198 + "b\xE2\x82\xAC", a198 + "b"},
    };
    for (const auto& [line, shown] : rows)
        EXPECT_EQ(ProgramMessage(line), shown) << line;
}

class PrintDispatchTest : public ::testing::Test {
protected:
    PrintDispatchTest() : station(test.Make(LocalKorvidSettings(test.folder.Path())))
    {
        fs::create_directories(test.folder / "spool");
        CreateSpoolFolders(station.Settings(), station.Log());
        delv = test.folder / "spool/SPOOL/DELV";
        station.Settings().Printer_PDF_Prog_Params = "-printer \"$PRINTER$\" \"$FILE$\"";
        station.Params().SetParam("PRINTER", "Lieferdrucker");
    }
    std::vector<std::string> FileMessages() const { return Messages(FileLines(station.Settings().LogFileName)); }
    std::vector<std::string> ListMessages() const { return Messages(test.desktop.logList.lines); }

    TestStation test;
    Station& station;
    std::string delv;
};

TEST_F(PrintDispatchTest, PrintsAFolderInSortedOrderAndDeletesWhatWasPrinted)
{
    WriteTestFile(delv + "/b.pdf", std::string(2048, 'b'));
    WriteTestFile(delv + "/A.PDF", std::string(1023, 'A'));
    WriteTestFile(delv + "/a1.pdf", "%PDF a1");
    WriteTestFile(delv + "/report.pdf.txt", "not a document");
    WriteTestFile(delv + "/x.pdf/inner.pdf", "%PDF inner");
    std::string before = fs::current_path().string();
    test.desktop.logList.lines.clear();

    PrintFolder(station.Cycle().Printing(), "DELV");

    std::vector<PrintCall> calls = test.PrintCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].arguments, (Arguments{"-printer", "Lieferdrucker", "A.PDF"}));
    EXPECT_EQ(calls[1].arguments, (Arguments{"-printer", "Lieferdrucker", "a1.pdf"}));
    EXPECT_EQ(calls[2].arguments, (Arguments{"-printer", "Lieferdrucker", "b.pdf"}));
    EXPECT_EQ(calls[0].fileBytes, std::string(1023, 'A'));
    EXPECT_EQ(calls[2].fileBytes, std::string(2048, 'b'));
    for (const PrintCall& call : calls)
        EXPECT_EQ(call.workingFolder, fs::canonical(delv).string());
    EXPECT_EQ(fs::current_path().string(), before);

    EXPECT_FALSE(fs::exists(delv + "/A.PDF"));
    EXPECT_FALSE(fs::exists(delv + "/b.pdf"));
    EXPECT_TRUE(fs::exists(delv + "/report.pdf.txt"));
    EXPECT_TRUE(fs::exists(delv + "/x.pdf/inner.pdf"));

    EXPECT_EQ(ListMessages(), (std::vector<std::string>{"Drucke nun A.PDF (0KB)", "Drucke nun a1.pdf (0KB)",
                                                         "Drucke nun b.pdf (2KB)"}));
    std::vector<std::string> file = FileMessages();
    ASSERT_GE(file.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(file.end() - 3, file.end()),
              (std::vector<std::string>{"Druck: " + delv + "/A.PDF (0 KB)", "Druck: " + delv + "/a1.pdf (0 KB)",
                                        "Druck: " + delv + "/b.pdf (2 KB)"}));

    ParamTable& params = station.Params();
    EXPECT_EQ(params.Value(params.FindParam("CWD")), "DELV");
    EXPECT_EQ(params.Value(params.FindParam("FILE")), "b.pdf");
    EXPECT_EQ(params.Value(params.FindParam("FILENAME")), delv + "/b.pdf");
    EXPECT_EQ(params.Value(params.FindParam("PATH")), fs::canonical(delv).string());
    EXPECT_EQ(test.desktop.waitCursor.shown, 1);
    EXPECT_EQ(test.desktop.waitCursor.depth, 0);
}

TEST_F(PrintDispatchTest, AFailedPrintKeepsItsFileAndIsLogged)
{
    WriteTestFile(delv + "/a.pdf", "%PDF a");
    WriteTestFile(delv + "/b.pdf", "%PDF b");
    WriteTestFile(delv + "/c.pdf", "%PDF c");
    test.SetPrintControl("a.pdf 3\nb.pdf signal 9\n");
    const std::string& program = station.Settings().Printer_PDF_Prog;

    PrintFolder(station.Cycle().Printing(), "DELV");

    EXPECT_EQ(test.PrintCalls().size(), 3u);
    EXPECT_TRUE(fs::exists(delv + "/a.pdf"));
    EXPECT_TRUE(fs::exists(delv + "/b.pdf"));
    EXPECT_FALSE(fs::exists(delv + "/c.pdf"));
    std::vector<std::string> file = FileMessages();
    EXPECT_NE(std::find(file.begin(), file.end(),
                        "Drucken der Datei: a.pdf: " + program + " hat Code 3 zurückgeliefert!"),
              file.end());
    EXPECT_NE(std::find(file.begin(), file.end(),
                        "Drucken der Datei: b.pdf: " + program + " hat Code " + std::to_string(128 + SIGKILL) +
                            " zurückgeliefert!"),
              file.end());
}

TEST_F(PrintDispatchTest, APrintedFileThatCannotLeaveItsFolderIsLoggedAndNotPrintedAgain)
{
    TmpfsMount disk(delv, 1024);
    ASSERT_TRUE(disk.Mounted()) << disk.Error();
    WriteTestFile(delv + "/a.pdf", "%PDF a");
    ASSERT_TRUE(disk.SetReadOnly(true));

    PrintFolder(station.Cycle().Printing(), "DELV");
    PrintFolder(station.Cycle().Printing(), "DELV");

    EXPECT_EQ(test.PrintCalls().size(), 1u);
    EXPECT_TRUE(fs::exists(delv + "/a.pdf"));
    std::vector<std::string> file = FileMessages();
    EXPECT_EQ(std::count_if(file.begin(), file.end(),
                            [](const std::string& m) { return m.find("nicht mehr gedruckt") != std::string::npos; }),
              1);
    // Once the file can leave, it does; a new document under the same name prints again.
    ASSERT_TRUE(disk.SetReadOnly(false));
    WriteTestFile(delv + "/a.pdf", "%PDF new a");
    PrintFolder(station.Cycle().Printing(), "DELV");
    EXPECT_EQ(test.PrintCalls().size(), 2u);
    EXPECT_FALSE(fs::exists(delv + "/a.pdf"));
}

TEST_F(PrintDispatchTest, AProgramThatCannotStartKeepsEveryFile)
{
    WriteTestFile(delv + "/a.pdf", "%PDF a");
    WriteTestFile(delv + "/b.pdf", "%PDF b");
    station.Settings().Printer_PDF_Prog = test.folder / "spool";

    PrintFolder(station.Cycle().Printing(), "DELV");

    EXPECT_TRUE(fs::exists(delv + "/a.pdf"));
    EXPECT_TRUE(fs::exists(delv + "/b.pdf"));
    std::vector<std::string> file = FileMessages();
    ASSERT_GE(file.size(), 2u);
    EXPECT_EQ(file.back(), "Drucken der Datei: b.pdf: " + test.folder / "spool" + " hat Code -1 zurückgeliefert!");
}

TEST_F(PrintDispatchTest, AMissingProgramOrFolderOrDocumentPrintsNothing)
{
    WriteTestFile(delv + "/a.pdf", "%PDF a");
    station.Settings().Printer_PDF_Prog = test.folder / "missing";
    PrintFolder(station.Cycle().Printing(), "DELV");
    EXPECT_EQ(station.Params().Value(station.Params().FindParam("CWD")), "DELV");

    station.Settings().Printer_PDF_Prog = TEST_PRINT_PROGRAM;
    PrintFolder(station.Cycle().Printing(), "MISSING");
    fs::remove(delv + "/a.pdf");
    fs::create_directory(delv + "/only.pdf");
    PrintFolder(station.Cycle().Printing(), "DELV");

    EXPECT_TRUE(test.PrintCalls().empty());
    EXPECT_EQ(test.desktop.waitCursor.shown, 0);
}

TEST_F(PrintDispatchTest, PrintAllGoesThroughTheCategoriesWithTheirPrinters)
{
    station.Settings().Printer_PDF_Prog_Params = "$PRINTER$|$DRIVER$|$PORT$|$CWD$ $FILE$";
    for (const char* category : {"FRONTSH", "RL", "DELV"})
        WriteTestFile(test.folder / "spool/SPOOL/" + category + "/" + category + ".pdf", category);

    PrintAll(station.Cycle().Printing());

    std::vector<PrintCall> calls = test.PrintCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].arguments, (Arguments{"Lieferdrucker|pdf-driver|lpt1|DELV", "DELV.pdf"}));
    EXPECT_EQ(calls[1].arguments, (Arguments{"Leihschein Drucker|rl-driver|lpt2|RL", "RL.pdf"}));
    EXPECT_EQ(calls[2].arguments, (Arguments{"Deckblatt|front-driver|lpt3|FRONTSH", "FRONTSH.pdf"}));

    station.Settings().TessalineMode = 1;
    station.Settings().SpoolFolders = {{"Zwei", "two", "P2", "d2", "p2"}, {"Eins", "one/sub", "P1", "d1", "p1"}};
    WriteTestFile(test.folder / "spool/SPOOL/one/sub/1.pdf", "1");
    WriteTestFile(test.folder / "spool/SPOOL/two/2.pdf", "2");
    PrintAll(station.Cycle().Printing());
    calls = test.PrintCalls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[3].arguments, (Arguments{"P2|d2|p2|two", "2.pdf"}));
    EXPECT_EQ(calls[4].arguments, (Arguments{"P1|d1|p1|one/sub", "1.pdf"}));
    EXPECT_EQ(calls[4].fileBytes, "1");
}

}  // namespace
