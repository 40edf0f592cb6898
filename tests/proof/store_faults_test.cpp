// The station against a store that fails it: a data connection cut in the middle of a
// document, a server that falls silent in a reply, a listing or a transfer, and a spool
// disk that fills up during a download. After each fault no document is lost, printed
// half or deleted on the store without a whole local copy, and the next cycle fetches
// from a working store as if nothing had happened.
#include "proof/tmpfs_mount.h"
#include "servers/fake_ftp_server.h"
#include "spool/loopback_store.h"
#include "spool/polling_cycle.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

std::string ListingLine(const std::string& name, std::size_t size)
{
    return "-rw-r--r--   1 kv       store   " + std::to_string(size) + " Jan 15 12:30 " + name + "\r\n";
}

FtpDataStep SilentStep(const std::string& data)
{
    FtpDataStep step;
    step.data = data;
    step.stall = true;
    return step;
}

// Log-in and the change into the institution's base folder.
void Begin(FakeFtpServer& server)
{
    server.Greet("220 Lager.\r\n").AcceptLogin().Reply("250 Basis.\r\n");
}

// The change into the first category and its listing, up to the request of its data.
void ListFirstCategory(FakeFtpServer& server)
{
    server.Reply("250 Verzeichnis gewechselt.\r\n").Reply("200 Type set to A.\r\n").Passive();
}

Lines Matching(const Lines& commands, const std::string& prefix)
{
    Lines found;
    for (const std::string& command : commands)
        if (command.rfind(prefix, 0) == 0)
            found.push_back(command);
    return found;
}

Lines PrintedNames(const std::vector<PrintCall>& calls)
{
    Lines names;
    for (const PrintCall& call : calls)
        names.push_back(fs::path(call.arguments.back()).filename().string());
    return names;
}

class StoreFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(store.Start(error)) << error;
        for (const char* category : {"FRONTSH", "RL", "DELV"})
            fs::create_directories(store.TreeFolder() + "/4711/SPOOL/" + category);
    }

    // A Korvid station whose first cycle meets the scripted server; its settings point
    // at the real store, to which the next cycle goes.
    Station& MakeStation(FakeFtpServer& failing)
    {
        StationSettings settings = StoreKorvidSettings(station.test.folder.Path(), "", "");
        settings.OnErrorLogOnly = 1;
        store.Configure(settings, station.access);
        storePort = station.access.ftpPort;
        Station& made = station.Make(settings);
        station.access.ftpPort = failing.Port();
        return made;
    }
    void Offer(const std::string& name, std::size_t size)
    {
        documents[name] = Document(name, size);
        WriteTestFile(Delivery() + "/" + name, documents[name]);
        store.GiveTree();
    }
    std::string Delivery() const { return store.TreeFolder() + "/4711/SPOOL/DELV"; }

    // The next cycle, against the working store: it prints every offered document whole,
    // and the store is empty afterwards.
    void ExpectNextCycleFetchesEverything(Station& korvid, const Lines& expected)
    {
        std::size_t printedBefore = station.test.PrintCalls().size();
        station.access.ftpPort = storePort;
        korvid.OnPollingTick(POLL_TIMER_ID);
        std::vector<PrintCall> calls = station.test.PrintCalls();
        ASSERT_EQ(calls.size(), printedBefore + expected.size());
        calls.erase(calls.begin(), calls.begin() + static_cast<long>(printedBefore));
        EXPECT_EQ(PrintedNames(calls), expected);
        for (const PrintCall& call : calls) {
            std::string name = fs::path(call.arguments.back()).filename().string();
            ASSERT_TRUE(call.fileBytes.has_value()) << name;
            EXPECT_EQ(*call.fileBytes, documents[name]) << name << " printed half";
        }
        EXPECT_EQ(FilesBelow(store.TreeFolder()), Lines{});
        EXPECT_EQ(FilesBelow(station.SpoolRoot()), Lines{});
        EXPECT_TRUE(korvid.IsRunning());
    }

    // After the failed cycle: nothing printed, nothing left in the spool tree, the store
    // as it was.
    void ExpectNothingTaken(FakeFtpServer& failing)
    {
        failing.Finish();
        EXPECT_EQ(Matching(failing.Commands(), "DELE"), Lines{});
        EXPECT_EQ(station.test.PrintCalls().size(), 0u);
        EXPECT_EQ(FilesBelow(station.SpoolRoot()), Lines{});
        for (const auto& [name, bytes] : documents)
            EXPECT_EQ(ReadTestFile(Delivery() + "/" + name), bytes) << name;
    }

    FtpLoopbackStore store{true};
    int storePort = 0;
    StoreStation station;
    std::map<std::string, std::string> documents;
};

}  // namespace

TEST_F(StoreFaults, ADataConnectionCutInTheMiddleOfADocumentKeepsItOnTheStore)
{
    Offer("letter.pdf", 6000);
    FakeFtpServer cut;
    Station& korvid = MakeStation(cut);
    Begin(cut);
    ListFirstCategory(cut);
    cut.SendData(FtpDataStep{.data = ListingLine("letter.pdf", 6000)}).Reply("200 Type set to I.\r\n");
    cut.Passive()
        .SendData(FtpDataStep{.data = documents["letter.pdf"].substr(0, 2500),
                              .final = "426 Verbindung abgebrochen.\r\n"})
        .Close();
    cut.Start();
    korvid.StartPolling();

    EXPECT_EQ(Matching(cut.Commands(), "RETR"), Lines{"RETR letter.pdf"});
    ExpectNothingTaken(cut);
    ExpectNextCycleFetchesEverything(korvid, {"letter.pdf"});
}

TEST_F(StoreFaults, ADocumentCutShortUnderAReportOfSuccessIsNotTaken)
{
    // The server saw its bytes go and says all is well; the listing knew better.
    Offer("letter.pdf", 6000);
    FakeFtpServer cut;
    Station& korvid = MakeStation(cut);
    Begin(cut);
    ListFirstCategory(cut);
    cut.SendData(FtpDataStep{.data = ListingLine("letter.pdf", 6000)}).Reply("200 Type set to I.\r\n");
    cut.Passive()
        .SendData(FtpDataStep{.data = documents["letter.pdf"].substr(0, 2500)})
        .Reply("250 Datei gelöscht.\r\n")
        .Close();
    cut.Start();
    korvid.StartPolling();

    ExpectNothingTaken(cut);
    ExpectNextCycleFetchesEverything(korvid, {"letter.pdf"});
}

TEST_F(StoreFaults, AServerSilentInTheMiddleOfAReplyIsLeftAtTheTimeOut)
{
    Offer("letter.pdf", 600);
    FakeFtpServer silent;
    Station& korvid = MakeStation(silent);
    // The change into the base folder gets no reply, and the connection stays open.
    silent.Greet("220 Lager.\r\n").AcceptLogin().Silent();
    silent.Start();
    korvid.StartPolling();

    ExpectNothingTaken(silent);
    EXPECT_TRUE(silent.ClientEndedSilences()) << "the station waited for the silent server without end";
    ExpectNextCycleFetchesEverything(korvid, {"letter.pdf"});
}

TEST_F(StoreFaults, AServerSilentInTheMiddleOfAListingIsLeftAtTheTimeOut)
{
    Offer("a.pdf", 600);
    Offer("b.pdf", 700);
    FakeFtpServer silent;
    Station& korvid = MakeStation(silent);
    Begin(silent);
    ListFirstCategory(silent);
    // One line and a half, then nothing more, on a data connection that stays open.
    silent.SendData(SilentStep(ListingLine("a.pdf", 600) + "-rw-r--r--   1 kv  store  700 Jan")).Close();
    silent.Start();
    korvid.StartPolling();

    EXPECT_EQ(Matching(silent.Commands(), "RETR"), Lines{});
    ExpectNothingTaken(silent);
    EXPECT_TRUE(silent.ClientEndedSilences()) << "the station waited for the silent server without end";
    ExpectNextCycleFetchesEverything(korvid, {"a.pdf", "b.pdf"});
}

TEST_F(StoreFaults, AServerSilentInTheMiddleOfATransferIsLeftAtTheTimeOut)
{
    Offer("letter.pdf", 6000);
    FakeFtpServer silent;
    Station& korvid = MakeStation(silent);
    Begin(silent);
    ListFirstCategory(silent);
    silent.SendData(FtpDataStep{.data = ListingLine("letter.pdf", 6000)}).Reply("200 Type set to I.\r\n");
    silent.Passive().SendData(SilentStep(documents["letter.pdf"].substr(0, 2500))).Close();
    silent.Start();
    korvid.StartPolling();

    ExpectNothingTaken(silent);
    EXPECT_TRUE(silent.ClientEndedSilences()) << "the station waited for the silent server without end";
    ExpectNextCycleFetchesEverything(korvid, {"letter.pdf"});
}

TEST_F(StoreFaults, AFullSpoolDiskDuringADownloadKeepsTheDocumentOnTheStore)
{
    StationSettings settings = StoreKorvidSettings(station.test.folder.Path(), "", "");
    settings.OnErrorLogOnly = 1;
    store.Configure(settings, station.access);
    storePort = station.access.ftpPort;
    fs::create_directories(settings.SpoolDir);
    TmpfsMount disk(settings.SpoolDir, 256);
    ASSERT_TRUE(disk.Mounted()) << disk.Error();
    Offer("a.pdf", 20000);
    Offer("big.pdf", 400000);
    Offer("c.pdf", 20000);
    Station& korvid = station.Make(settings);
    korvid.StartPolling();

    // What fit was fetched whole and printed; the download that filled the disk left
    // nothing behind, and its document waits on the store.
    ASSERT_EQ(station.test.PrintCalls().size(), 2u);
    EXPECT_EQ(station.test.PrintCalls()[0].fileBytes, documents["a.pdf"]);
    EXPECT_EQ(station.test.PrintCalls()[1].fileBytes, documents["c.pdf"]);
    EXPECT_EQ(FilesBelow(station.SpoolRoot()), Lines{});
    EXPECT_EQ(FilesBelow(Delivery()), (Lines{"big.pdf"}));
    EXPECT_EQ(ReadTestFile(Delivery() + "/big.pdf"), documents["big.pdf"]);

    ASSERT_TRUE(disk.Resize(2048));
    ExpectNextCycleFetchesEverything(korvid, {"big.pdf"});
}
