// The station against real stores on loopback: pyftpdlib with passive and active data
// connections, and OpenSSH's sshd through the SFTP component. Each test writes the store's tree, runs the fetch stage or whole cycles,
// and looks at the store, the spool tree, the printed files, the boxes and the log.
#include "spool/loopback_store.h"
#include "spool/polling_cycle.h"
#include "spool/fetch_policy.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;
using Arguments = std::vector<std::string>;

enum class StoreKind { FtpPassive, FtpActive, Sftp };

class StoreEndToEnd : public ::testing::TestWithParam<StoreKind> {
protected:
    void SetUp() override
    {
        if (GetParam() == StoreKind::Sftp)
            store = std::make_unique<SftpLoopbackStore>();
        else
            store = std::make_unique<FtpLoopbackStore>(GetParam() == StoreKind::FtpPassive);
        std::string error;
        ASSERT_TRUE(store->Start(error)) << error;
    }

    // With the institution's three category folders on the store.
    Station& MakeKorvid(int onErrorLogOnly = 0)
    {
        for (const char* category : {"FRONTSH", "RL", "DELV"})
            fs::create_directories(store->TreeFolder() + "/4711/SPOOL/" + category);
        store->GiveTree();
        StationSettings settings = StoreKorvidSettings(station->test.folder.Path(), "", "");
        settings.OnErrorLogOnly = onErrorLogOnly;
        store->Configure(settings, station->access);
        return station->Make(settings);
    }
    Station& MakeTessaline(const std::vector<std::string>& mainFolders)
    {
        StationSettings settings = StoreTessalineSettings(station->test.folder.Path(), "", "");
        settings.MainFolders = mainFolders;
        store->Configure(settings, station->access);
        return station->Make(settings);
    }
    // A file of the store's tree, handed to the server.
    void Put(const std::string& path, const std::string& bytes)
    {
        WriteTestFile(store->TreeFolder() + "/" + path, bytes);
        store->GiveTree();
    }
    Lines StoreFiles() const { return FilesBelow(store->TreeFolder()); }
    // What a report says of a refusal: an FTP server refuses, the SFTP component says how.
    std::string Refusal(const std::string& sftp) const
    {
        return store->IsSftp() ? sftp : "Der Server hat den Auftrag abgelehnt.";
    }
    Lines SpoolFiles() const { return FilesBelow(station->SpoolRoot()); }
    // The cycle's lines; the first contact's host key line is the connection tests' matter.
    Lines LogMessages() const
    {
        Lines lines = Messages(FileLines(station->station->Settings().LogFileName));
        std::erase_if(lines, [](const std::string& line) { return line.starts_with("Neuer Host-Schlüssel von "); });
        return lines;
    }
    const std::vector<ShownBox>& Boxes() const { return station->test.boxes.boxes; }
    std::string Caption() const { return store->IsSftp() ? "Error during SFTP-Operation" : "Error during FTP-Operation"; }
    // The fetch of one category of the Korvid tree through a session of its own.
    bool FetchCategory(Station& korvid, const std::string& category)
    {
        const std::string source = korvid.Settings().KV_FTP_Store_Dir + "/4711/SPOOL/" + category;
        return FetchStoreFolder(korvid, category, source, station->SpoolRoot() + "/" + category);
    }

    // A fresh station; the one before is gone first, with its message boxes.
    StoreStation& Renew()
    {
        station.reset();
        station = std::make_unique<StoreStation>();
        return *station;
    }

    std::unique_ptr<StoreStation> station = std::make_unique<StoreStation>();
    std::unique_ptr<LoopbackStore> store;
};

TEST_P(StoreEndToEnd, KorvidCycleEmptiesTheStoreAndPrintsEachDocumentOnce)
{
    Station& korvid = MakeKorvid();
    const std::string root = station->SpoolRoot();
    const std::string spool = "4711/SPOOL/";
    Put(spool + "DELV/Sendung 2.pdf", Document("s2", 3000));
    Put(spool + "DELV/REPORT.PDF", Document("report", 1023));
    Put(spool + "DELV/Sendung 1.pdf", Document("s1", 2048));
    Put(spool + "DELV/report.pdf.txt", "no document");
    Put(spool + "DELV/x.pdf/inner.pdf", Document("inner", 10));
    Put(spool + "RL/rl2.pdf", Document("rl2", 10));
    Put(spool + "RL/rl1.pdf", Document("rl1", 10));
    Put(spool + "FRONTSH/front.pdf", Document("front", 5000));
    int before = LineCounter();
    std::int64_t furthest = 0;
    station->display.onFileProgress = [&](std::int64_t bytes) { furthest = std::max(furthest, bytes); };

    korvid.StartPolling();

    EXPECT_EQ(StoreFiles(), (Lines{spool + "DELV/report.pdf.txt", spool + "DELV/x.pdf/inner.pdf"}));
    EXPECT_TRUE(SpoolFiles().empty());
    const std::vector<std::tuple<std::string, std::string, std::string, std::string>> printed = {
        {"DELV", "REPORT.PDF", "Lieferdrucker", Document("report", 1023)},
        {"DELV", "Sendung 1.pdf", "Lieferdrucker", Document("s1", 2048)},
        {"DELV", "Sendung 2.pdf", "Lieferdrucker", Document("s2", 3000)},
        {"RL", "rl1.pdf", "Leihschein Drucker", Document("rl1", 10)},
        {"RL", "rl2.pdf", "Leihschein Drucker", Document("rl2", 10)},
        {"FRONTSH", "front.pdf", "Deckblatt", Document("front", 5000)}};
    std::vector<PrintCall> calls = station->test.PrintCalls();
    ASSERT_EQ(calls.size(), printed.size());
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const auto& [category, name, printer, bytes] = printed[i];
        EXPECT_EQ(calls[i].arguments, (Arguments{"-dPDFFitPage", "-color", "-printer", printer, name})) << i;
        EXPECT_EQ(calls[i].workingFolder, fs::canonical(root + "/" + category).string()) << i;
        EXPECT_EQ(calls[i].fileBytes, bytes) << i;
    }

    const StationSettings& settings = korvid.Settings();
    EXPECT_EQ(LogMessages(),
              (Lines{"Verz. " + root + " erzeugt!", "Verz. " + root + "/RL erzeugt!",
                     "Verz. " + root + "/FRONTSH erzeugt!", "Verz. " + root + "/DELV erzeugt!",
                     "Start (Polling-Rate 60 Sekunden)",
                     std::string("FTP-Lager auf ") + (store->IsSftp() ? "SFTP" : "FTP") + "-Server 127.0.0.1:" +
                         settings.KV_FTP_Store_Dir + " ...",
                     "Drucker (Lieferungen):      Lieferdrucker", "Drucker (rote Leihscheine): Leihschein Drucker",
                     "Drucker (Deckblätter):      Deckblatt", "Druck: " + root + "/DELV/REPORT.PDF (0 KB)",
                     "Druck: " + root + "/DELV/Sendung 1.pdf (2 KB)", "Druck: " + root + "/DELV/Sendung 2.pdf (2 KB)",
                     "Druck: " + root + "/RL/rl1.pdf (0 KB)", "Druck: " + root + "/RL/rl2.pdf (0 KB)",
                     "Druck: " + root + "/FRONTSH/front.pdf (4 KB)"}));
    EXPECT_EQ(ParseLogLines(FileLines(settings.LogFileName))[4].number, before + 1);
    // Only a missing SFTP component is worth a box.
    ASSERT_EQ(Boxes().size(), store->IsSftp() ? 0u : 1u);
    for (const ShownBox& box : Boxes())
        EXPECT_EQ(box.caption, "FEHLER");
    // The window's fields are back at rest, the folder bar went through DELV's five entries.
    EXPECT_EQ(station->display.folderText, "");
    EXPECT_EQ(station->display.fileText, "");
    EXPECT_EQ(station->display.folderPosition, 0);
    EXPECT_EQ(station->display.filePosition, 0);
    EXPECT_EQ(station->display.folderHigh, 5);
    EXPECT_EQ(station->display.fileHigh, 3000);
    // Over every protocol the file bar reached the end of the largest document.
    EXPECT_EQ(furthest, 5000);

    // The next tick finds an empty store and prints nothing.
    korvid.OnPollingTick(POLL_TIMER_ID);
    EXPECT_EQ(station->test.PrintCalls().size(), printed.size());
    korvid.StopPolling();
}

TEST_P(StoreEndToEnd, TessalineCycleFetchesEveryMainFolder)
{
    Station& tessaline = MakeTessaline({"north", "south"});
    const std::string root = station->SpoolRoot();
    Put("north/SPOOL/articles/n1.pdf", Document("n1", 10));
    Put("north/SPOOL/articles/notes.pdf.txt", "notes");
    Put("north/SPOOL/loans/red/r1.pdf", Document("r1", 10));
    Put("south/SPOOL/articles/s1.PDF", Document("s1", 5000));
    Put("south/SPOOL/loans/red/$(id).pdf", Document("dollar", 10));
    Put("west/SPOOL/articles/w.pdf", Document("w", 10));

    RunCycle(tessaline.Cycle());

    EXPECT_EQ(StoreFiles(), (Lines{"north/SPOOL/articles/notes.pdf.txt", "west/SPOOL/articles/w.pdf"}));
    EXPECT_TRUE(SpoolFiles().empty());
    std::vector<PrintCall> calls = station->test.PrintCalls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].arguments, (Arguments{"-dPDFFitPage", "-color", "-printer", "Artikeldrucker", "n1.pdf"}));
    EXPECT_EQ(calls[1].arguments, (Arguments{"-dPDFFitPage", "-color", "-printer", "Artikeldrucker", "s1.PDF"}));
    EXPECT_EQ(calls[2].arguments, (Arguments{"-dPDFFitPage", "-color", "-printer", "Rotdrucker", "$(id).pdf"}));
    EXPECT_EQ(calls[3].arguments, (Arguments{"-dPDFFitPage", "-color", "-printer", "Rotdrucker", "r1.pdf"}));
    EXPECT_EQ(calls[1].fileBytes, Document("s1", 5000));
    EXPECT_EQ(calls[3].workingFolder, fs::canonical(root + "/loans/red").string());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(LogMessages(),
              (Lines{"Verz. " + root + " erzeugt!", "Verz. " + root + "/articles erzeugt!",
                     "Verz. " + root + "/loans/red erzeugt!", "Druck: " + root + "/articles/n1.pdf (0 KB)",
                     "Druck: " + root + "/articles/s1.PDF (4 KB)", "Druck: " + root + "/loans/red/$(id).pdf (0 KB)",
                     "Druck: " + root + "/loans/red/r1.pdf (0 KB)"}));
}

TEST_P(StoreEndToEnd, AFailedDownloadEndsOnlyItsDocument)
{
    Station& korvid = MakeKorvid();
    for (const char* name : {"a.pdf", "b.pdf", "c.pdf", "d.pdf", "e.pdf"})
        Put(std::string("4711/SPOOL/DELV/") + name, Document(name, 100));
    // The third file of the listing cannot be read by the server.
    ASSERT_EQ(chmod((store->TreeFolder() + "/4711/SPOOL/DELV/c.pdf").c_str(), 0), 0);

    // The documents around it are fetched in this cycle.
    EXPECT_TRUE(FetchCategory(korvid, "DELV"));

    EXPECT_EQ(SpoolFiles(), (Lines{"DELV/a.pdf", "DELV/b.pdf", "DELV/d.pdf", "DELV/e.pdf"}));
    EXPECT_EQ(ReadTestFile(station->SpoolRoot() + "/DELV/d.pdf"), Document("d.pdf", 100));
    EXPECT_EQ(StoreFiles(), (Lines{"4711/SPOOL/DELV/c.pdf"}));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].caption, Caption());
    EXPECT_EQ(Boxes()[0].style, 0x2010u);
    EXPECT_TRUE(Boxes()[0].text.starts_with("konnte die Datei c.pdf nicht vom FTP-Lager abholen\n"
                                            + Refusal("Der Server verweigert den Zugriff.")
                                            + "\n\nServer-Response: err-code: 48, '"))
        << Boxes()[0].text;
    EXPECT_TRUE(ReadTestFile(korvid.Settings().LogFileName).ends_with("> " + Boxes()[0].text + "\n"));
}

TEST_P(StoreEndToEnd, AWrongPasswordIsReportedOnceAndFetchesNothing)
{
    Put("4711/SPOOL/DELV/a.pdf", Document("a", 10));
    for (int logOnly : {0, 1}) {
        StoreStation& other = Renew();
        StationSettings settings = StoreKorvidSettings(other.test.folder.Path(), "", "");
        store->Configure(settings, other.access);
        settings.KV_FTP_Store_Password = "falsch";
        settings.OnErrorLogOnly = logOnly;
        Station& korvid = other.Make(settings);
        bool boxOpenDuringBox = false;
        other.test.boxes.onShow = [&] { boxOpenDuringBox = korvid.Run().ErrorBoxOpen(); };
        std::size_t linesBefore = FileLines(settings.LogFileName).size();

        EXPECT_FALSE(FetchAll(korvid.Cycle()));

        const std::string text = std::string("Konnte nicht am ") + (store->IsSftp() ? "SFTP" : "FTP") +
                                 "-Server 127.0.0.1 mit Nutzer " + settings.KV_FTP_Store_User + " anmelden!\n" +
                                 "Anmeldung abgelehnt: Der Server nimmt Benutzer oder Passwort nicht an.\n\n" +
                                 "Server-Response: err-code: " + (store->IsSftp() ? "2" : "63") + ", '";
        std::string log = ReadTestFile(settings.LogFileName);
        std::vector<LoggedLine> lines = ParseLogLines(FileLines(settings.LogFileName));
        // The one new log line holds the whole report, over four lines of the file.
        EXPECT_EQ(FileLines(settings.LogFileName).size(), linesBefore + 4);
        EXPECT_TRUE(lines[linesBefore].message.starts_with(text.substr(0, text.find('\n')))) << log;
        EXPECT_NE(log.find(text), std::string::npos) << log;
        if (logOnly == 0) {
            ASSERT_EQ(other.test.boxes.boxes.size(), 1u);
            EXPECT_TRUE(other.test.boxes.boxes[0].text.starts_with(text)) << other.test.boxes.boxes[0].text;
            EXPECT_EQ(other.test.boxes.boxes[0].caption, Caption());
            EXPECT_EQ(other.test.boxes.boxes[0].style, 0x2010u);
            EXPECT_TRUE(boxOpenDuringBox);
        } else {
            EXPECT_TRUE(other.test.boxes.boxes.empty());
        }
        EXPECT_FALSE(korvid.Run().ErrorBoxOpen());
        EXPECT_EQ(StoreFiles(), Lines{"4711/SPOOL/DELV/a.pdf"});
        EXPECT_TRUE(FilesBelow(other.SpoolRoot()).empty());
    }
}

TEST_P(StoreEndToEnd, AMissingBaseFolderIsReportedInBothModes)
{
    {
        StoreStation& other = Renew();
        StationSettings settings = StoreKorvidSettings(other.test.folder.Path(), "", "");
        store->Configure(settings, other.access);
        settings.KV_Inst_ID = "9999";
        Station& korvid = other.Make(settings);
        bool boxOpenDuringBox = false;
        other.test.boxes.onShow = [&] { boxOpenDuringBox = korvid.Run().ErrorBoxOpen(); };

        EXPECT_FALSE(FetchAll(korvid.Cycle()));

        ASSERT_EQ(other.test.boxes.boxes.size(), 1u);
        EXPECT_TRUE(other.test.boxes.boxes[0].text.starts_with("Konnte nicht in das Verzeichnis " +
                                                               settings.KV_FTP_Store_Dir + "/9999/SPOOL wechseln !\n" +
                                                               Refusal("Die Datei oder das Verzeichnis gibt es auf dem "
                                                                       "Server nicht.") +
                                                               "\n\nServer-Response: err-code: 10, '"))
            << other.test.boxes.boxes[0].text;
        EXPECT_EQ(other.test.boxes.boxes[0].caption, Caption());
        EXPECT_TRUE(boxOpenDuringBox);
        EXPECT_FALSE(korvid.Run().ErrorBoxOpen());
    }
    // The Tessaline mode goes on with the next main folder.
    Renew();
    Put("north/SPOOL/articles/n1.pdf", Document("n1", 10));
    Put("north/SPOOL/loans/red/.keep", "");
    Put("south/SPOOL/articles/.keep", "");
    Put("south/SPOOL/loans/red/s1.pdf", Document("s1", 10));
    Station& tessaline = MakeTessaline({"north", "gone", "south"});
    EXPECT_TRUE(FetchAll(tessaline.Cycle()));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_TRUE(Boxes()[0].text.starts_with("Konnte nicht in das Verzeichnis " + tessaline.Settings().KV_FTP_Store_Dir +
                                            "/gone/SPOOL wechseln !"));
    EXPECT_EQ(SpoolFiles(), (Lines{"articles/n1.pdf", "loans/red/s1.pdf"}));
    EXPECT_EQ(StoreFiles(), (Lines{"north/SPOOL/loans/red/.keep", "south/SPOOL/articles/.keep"}));
}

TEST_P(StoreEndToEnd, AMissingCategoryIsSkipped)
{
    Station& korvid = MakeKorvid(1);
    fs::remove(store->TreeFolder() + "/4711/SPOOL/RL");
    Put("4711/SPOOL/DELV/d.pdf", Document("d", 10));
    Put("4711/SPOOL/FRONTSH/f.pdf", Document("f", 10));

    EXPECT_TRUE(FetchAll(korvid.Cycle()));

    EXPECT_EQ(SpoolFiles(), (Lines{"DELV/d.pdf", "FRONTSH/f.pdf"}));
    EXPECT_TRUE(Boxes().empty());
    Lines messages = LogMessages();
    ASSERT_FALSE(messages.empty());
    const std::string text = "konnte nicht zum Verzeichnis " + korvid.Settings().KV_FTP_Store_Dir +
                             "/4711/SPOOL/RL wechseln!";
    EXPECT_EQ(std::count_if(messages.begin(), messages.end(), [&](const std::string& m) { return m == text; }), 1);
}

TEST_P(StoreEndToEnd, AListingWithoutDocumentsLeavesTheStoreAlone)
{
    Station& korvid = MakeKorvid();
    Put("4711/SPOOL/DELV/notes.txt", "notes");
    Put("4711/SPOOL/DELV/report.pdf.txt", "report");
    Put("4711/SPOOL/DELV/x.pdf/inner.pdf", Document("inner", 10));

    EXPECT_FALSE(FetchCategory(korvid, "DELV"));

    EXPECT_EQ(StoreFiles(), (Lines{"4711/SPOOL/DELV/notes.txt", "4711/SPOOL/DELV/report.pdf.txt",
                                   "4711/SPOOL/DELV/x.pdf/inner.pdf"}));
    EXPECT_TRUE(SpoolFiles().empty());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(station->display.folderHigh, 3);
}

TEST_P(StoreEndToEnd, AnEmptyDownloadIsLoggedAndDeletedOnTheStore)
{
    Station& korvid = MakeKorvid();
    Put("4711/SPOOL/DELV/a.pdf", Document("a", 10));
    Put("4711/SPOOL/DELV/empty.pdf", "");
    std::size_t linesBefore = LogMessages().size();

    EXPECT_TRUE(FetchCategory(korvid, "DELV"));

    EXPECT_EQ(SpoolFiles(), Lines{"DELV/a.pdf"});
    EXPECT_EQ(StoreFiles(), Lines{});
    Lines messages = LogMessages();
    EXPECT_EQ(Lines(messages.begin() + static_cast<long>(linesBefore), messages.end()),
              Lines{"ERROR: " + korvid.Settings().KV_FTP_Store_Dir + "/4711/SPOOL/DELV/empty.pdf: hat LÄNGE 0 ! "
                    "FTP-Problem !"});
    EXPECT_TRUE(Boxes().empty());
}

TEST_P(StoreEndToEnd, ADocumentTheStoreWillNotDeleteIsNotKept)
{
    Station& korvid = MakeKorvid();
    Put("4711/SPOOL/DELV/a.pdf", Document("a", 10));
    Put("4711/SPOOL/DELV/b.pdf", Document("b", 10));
    // Nothing may be deleted in the folder.
    ASSERT_EQ(chmod((store->TreeFolder() + "/4711/SPOOL/DELV").c_str(), 0555), 0);

    RunCycle(korvid.Cycle());

    EXPECT_TRUE(SpoolFiles().empty());
    EXPECT_TRUE(station->test.PrintCalls().empty());
    EXPECT_EQ(StoreFiles(), (Lines{"4711/SPOOL/DELV/a.pdf", "4711/SPOOL/DELV/b.pdf"}));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_TRUE(Boxes()[0].text.starts_with("konnte die Datei a.pdf nicht auf dem FTP-Lager löschen\n"
                                            + Refusal("Der Server verweigert den Zugriff.")
                                            + "\n\nServer-Response: err-code: 10, '"))
        << Boxes()[0].text;
    EXPECT_EQ(Boxes()[0].caption, Caption());
}

TEST_P(StoreEndToEnd, AWaitingDocumentOfTheSameNameIsKept)
{
    Station& korvid = MakeKorvid();
    // A print that failed left its document in the spool folder.
    WriteTestFile(station->SpoolRoot() + "/DELV/a.pdf", Document("waiting", 10));
    Put("4711/SPOOL/DELV/a.pdf", Document("new", 10));
    station->test.SetPrintControl("a.pdf 1\n");

    RunCycle(korvid.Cycle());

    EXPECT_TRUE(StoreFiles().empty());
    EXPECT_EQ(SpoolFiles(), Lines{"DELV/a.pdf"});
    EXPECT_EQ(ReadTestFile(station->SpoolRoot() + "/DELV/a.pdf"), Document("waiting", 10));
    std::vector<PrintCall> calls = station->test.PrintCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].arguments.back(), "a.pdf");
    EXPECT_EQ(calls[0].fileBytes, Document("waiting", 10));
    EXPECT_EQ(calls[1].arguments.back(), "a_2.pdf");
    EXPECT_EQ(calls[1].fileBytes, Document("new", 10));
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreEndToEnd,
                         ::testing::Values(StoreKind::FtpPassive, StoreKind::FtpActive, StoreKind::Sftp),
                         [](const ::testing::TestParamInfo<StoreKind>& info) {
                             switch (info.param) {
                             case StoreKind::FtpPassive:
                                 return "FtpPassive";
                             case StoreKind::FtpActive:
                                 return "FtpActive";
                             default:
                                 return "Sftp";
                             }
                         });

// A server that ends in the middle of a download: nothing half is kept or printed, the
// document stays on the store and the next cycle fetches it.
TEST(StoreDrop, TheNextCycleFetchesWhatADroppedDownloadLeft)
{
    FtpLoopbackStore store(true, StoreServerOptions(16384));
    std::string error;
    ASSERT_TRUE(store.Start(error)) << error;
    StoreStation station;
    StationSettings settings = StoreKorvidSettings(station.test.folder.Path(), "", "");
    store.Configure(settings, station.access);
    Station& korvid = station.Make(settings);
    const std::string document = Document("large", 300000);
    for (const char* category : {"FRONTSH", "RL"})
        fs::create_directories(store.TreeFolder() + "/4711/SPOOL/" + category);
    WriteTestFile(store.TreeFolder() + "/4711/SPOOL/DELV/large.pdf", document);
    store.GiveTree();
    bool stopped = false;
    station.display.onFileProgress = [&](std::int64_t bytes) {
        if (bytes > 0 && !stopped) {
            stopped = true;
            store.Stop();
        }
    };

    RunCycle(korvid.Cycle());

    ASSERT_TRUE(stopped);
    EXPECT_TRUE(FilesBelow(station.SpoolRoot()).empty());
    EXPECT_TRUE(station.test.PrintCalls().empty());
    EXPECT_EQ(ReadTestFile(store.TreeFolder() + "/4711/SPOOL/DELV/large.pdf"), document);
    ASSERT_EQ(station.test.boxes.boxes.size(), 1u);
    EXPECT_TRUE(station.test.boxes.boxes[0].text.starts_with("konnte die Datei large.pdf nicht vom FTP-Lager abholen"));

    station.display.onFileProgress = nullptr;
    store.SetBytesPerSecond(0);
    ASSERT_TRUE(store.Start(error)) << error;
    store.Configure(korvid.Settings(), station.access);

    RunCycle(korvid.Cycle());

    std::vector<PrintCall> calls = station.test.PrintCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].fileBytes, document);
    EXPECT_TRUE(FilesBelow(store.TreeFolder()).empty());
    EXPECT_TRUE(FilesBelow(station.SpoolRoot()).empty());
}

}  // namespace

// Stores that answer as real servers may: DELE answered with 200 after the deletion, SIZE
// refused with 550, and a first cover sheet that trickles. Every other document is printed
// in the first cycle, once; the trickling one stays on the store and comes last after.
TEST(StoreAnswers, EveryOtherDocumentIsPrintedInTheFirstCycleOnce)
{
    const std::string spool = "4711/SPOOL/";
    const std::vector<std::string> offered = {"DELV/d.pdf", "FRONTSH/f1.pdf", "FRONTSH/f2.pdf", "FRONTSH/f3.pdf",
                                              "RL/r.pdf"};
    for (const std::string fault : {"dele-200=1", "size-550=1", "trickle=f1.pdf"}) {
        SCOPED_TRACE(fault);
        FtpLoopbackStore store(true, StoreServerOptions(0, {fault}));
        std::string error;
        ASSERT_TRUE(store.Start(error)) << error;
        for (const std::string& path : offered)
            WriteTestFile(store.TreeFolder() + "/" + spool + path, Document(path, 2000));
        store.GiveTree();
        StoreStation station;
        StationSettings settings = StoreKorvidSettings(station.test.folder.Path(), "", "");
        store.Configure(settings, station.access);
        station.access.lowSpeedMs = 1000;
        Station& korvid = station.Make(settings);
        const bool trickle = fault.starts_with("trickle");

        for (int cycle = 0; cycle < 2; ++cycle) {
            RunCycle(korvid.Cycle());
            Lines printed;
            for (const PrintCall& call : station.test.PrintCalls())
                printed.push_back(fs::path(call.workingFolder).filename().string() + "/" + call.arguments.back());
            std::sort(printed.begin(), printed.end());
            Lines expected = offered;
            std::erase(expected, trickle ? "FRONTSH/f1.pdf" : "");
            EXPECT_EQ(printed, expected) << cycle;
            EXPECT_EQ(FilesBelow(store.TreeFolder()), trickle ? Lines{spool + "FRONTSH/f1.pdf"} : Lines{}) << cycle;
        }
        // The trickling document's failure shows its box once in each cycle.
        EXPECT_EQ(station.test.boxes.boxes.size(), trickle ? 2u : 0u);
        EXPECT_GT(store.Injected()[fault.substr(0, fault.find('='))], 0);
    }
}
