#include "net/ftp_client.h"
#include "net/result_codes.h"

#include "servers/fake_ftp_server.h"
#include "support/scratch_folder.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

// A client that records the progress its data channel reports, and can stop a download.
class ProgressClient : public FtpClient {
public:
    int OnReceiveProgress(long bytesSoFar) override
    {
        received.push_back(bytesSoFar);
        return stopDownloads ? 0 : 1;
    }
    int OnSendProgress(long bytesSoFar) override
    {
        sent.push_back(bytesSoFar);
        return 1;
    }
    bool stopDownloads = false;
    std::vector<long> received;
    std::vector<long> sent;
};

struct FakeStore {
    FakeFtpServer server;
    ProgressClient client;
    ScratchFolder folder;

    explicit FakeStore(bool passive)
    {
        server.Greet("220 Lager bereit.\r\n").AcceptLogin();
        client.SetControlPort(server.Port());
        client.SetReceiveTimeout(5000);
        client.SetPassiveMode(passive ? 1 : 0);
    }
    void Start()
    {
        server.Start();
        ASSERT_EQ(client.Login("127.0.0.1", "lager", "geheim"), UTE_SUCCESS);
    }
    // The commands after the log-in.
    Lines Commands()
    {
        client.Logout();
        server.Finish();
        Lines all = server.Commands();
        return Lines(all.begin() + std::min<size_t>(5, all.size()), all.end());
    }
};

const std::string kListing =
    "total 24\r\n"
    "-rw-r--r--   1 lager    gruppe       1000 Jan 15 12:30 a.pdf\r\n"
    "-rw-r--r--   1 lager      2000 Feb  1  2005 ohne_gruppe.pdf\r\n"
    "drwxr-xr-x   2 lager    gruppe       4096 Mar  3 08:00 RL\r\n"
    "01-15-05  10:30AM       <DIR>          DELV\r\n"
    "12-31-99  03:05PM              20480 deckblatt.pdf\r\n";

FtpDataStep Data(const std::string& bytes)
{
    FtpDataStep step;
    step.data = bytes;
    return step;
}

}  // namespace

TEST(FtpPassive, ListingParsesBothFormsAndSkipsTheTotalLine)
{
    FakeStore store(true);
    store.server.Passive().SendData(Data(kListing));
    store.Start();
    ASSERT_EQ(store.client.ListDirectory(), UTE_SUCCESS);
    ASSERT_EQ(store.client.GetDirEntryCount(), 5);
    FtpDirEntry entry;
    ASSERT_EQ(store.client.GetDirEntry(1, entry), UTE_SUCCESS);
    EXPECT_EQ(entry.name, "ohne_gruppe.pdf");
    EXPECT_EQ(entry.size, 2000);
    EXPECT_EQ(entry.year, 2005);
    ASSERT_EQ(store.client.GetDirEntry(3, entry), UTE_SUCCESS);
    EXPECT_EQ(entry.name, "DELV");
    EXPECT_EQ(entry.isDir, 1);
    ASSERT_EQ(store.client.GetDirEntry(4, entry), UTE_SUCCESS);
    EXPECT_EQ(entry.size, 20480);
    EXPECT_EQ(store.client.GetDirEntry(5, entry), UTE_INDEX_OUTOFRANGE);
    EXPECT_EQ(store.client.GetDirEntry(-1, entry), UTE_INDEX_OUTOFRANGE);
    EXPECT_EQ(entry.name, "deckblatt.pdf");
    EXPECT_EQ(store.Commands(), (Lines{"PASV", "LIST", "Quit"}));
}

TEST(FtpPassive, DataConnectionGoesToTheControlPeerNotToTheAnnouncedHost)
{
    // The fake listens on 127.0.0.1 only: a connect to 127.0.0.2 would be refused.
    FakeStore store(true);
    store.server.Passive("227 Entering Passive Mode (127,0,0,2,{port})\r\n").SendData(Data("PDF-Inhalt"));
    store.Start();
    EXPECT_EQ(store.client.GetFile("a.pdf", store.folder / "a.pdf"), UTE_SUCCESS);
    EXPECT_EQ(ReadTestFile(store.folder / "a.pdf"), "PDF-Inhalt");
    EXPECT_EQ(store.Commands(), (Lines{"PASV", "RETR a.pdf", "Quit"}));
}

TEST(FtpPassive, BadPassiveRepliesGiveTheCodesOfEachTransfer)
{
    FakeStore store(true);
    store.server
        .Reply("227 Entering Passive Mode 127,0,0,1,4,1\r\n")
        .Reply("227 Entering Passive Mode 127,0,0,1,4,1\r\n")
        .Reply("227 Entering Passive Mode 127,0,0,1,4,1\r\n")
        .Reply("227 Entering Passive Mode (127,0,0,1,0,0)\r\n")
        .Reply("227 Entering Passive Mode (127,0,0,1,0,0)\r\n")
        .Reply("227 Entering Passive Mode (127,0,0,1,256,0)\r\n")
        .Reply("227 Entering Passive Mode (127,0,x,1,4,1)\r\n")
        .Reply("227 Entering Passive Mode (127,0,x,1,4,1)\r\n")
        .Reply("425 Kein PASV.\r\n");
    store.Start();
    const std::string local = store.folder / "x.pdf";
    WriteTestFile(local, "x");
    EXPECT_EQ(store.client.ListDirectory(), UTE_SVR_DATA_CONNECT_FAILED);
    EXPECT_EQ(store.client.GetFile("x.pdf", local), UTE_RETR_FAILED);
    EXPECT_EQ(store.client.PutFile(local, "x.pdf"), UTE_STOR_FAILED);
    EXPECT_EQ(store.client.GetFile("x.pdf", local), UTE_CONNECT_TERMINATED);
    EXPECT_EQ(store.client.ListDirectory(), UTE_DATAPORT_FAILED);
    EXPECT_EQ(store.client.GetFile("x.pdf", local), UTE_CONNECT_TERMINATED);
    EXPECT_EQ(store.client.GetFile("x.pdf", local), UTE_SVR_DATA_CONNECT_FAILED);
    EXPECT_EQ(store.client.ListDirectory(), UTE_LIST_FAILED);
    EXPECT_EQ(store.client.GetFile("x.pdf", local), UTE_PORT_FAILED);
    // None of them got as far as the transfer command.
    Lines expected(9, "PASV");
    expected.push_back("Quit");
    EXPECT_EQ(store.Commands(), expected);
}

TEST(FtpPassive, ResumeSendsRestWithTheLocalSizeAndAppends)
{
    const std::string remote = PatternBytes(1500);
    FakeStore store(true);
    store.server.Passive().Reply("350 Weiter ab 1000.\r\n").SendData(Data(remote.substr(1000)));
    store.Start();
    const std::string local = store.folder / "teil.pdf";
    WriteTestFile(local, remote.substr(0, 1000));
    EXPECT_EQ(store.client.ResumeFile("teil.pdf", local), UTE_SUCCESS);
    EXPECT_EQ(ReadTestFile(local), remote);
    EXPECT_EQ(store.Commands(), (Lines{"PASV", "REST 1000", "RETR teil.pdf", "Quit"}));
}

TEST(FtpPassive, RestRefusedLeavesTheLocalFileAlone)
{
    FakeStore store(true);
    store.server.Passive().Reply("502 REST nicht.\r\n").Reply("200 NOOP.\r\n");
    store.Start();
    const std::string local = store.folder / "teil.pdf";
    WriteTestFile(local, "anfang");
    EXPECT_EQ(store.client.ResumeFile("teil.pdf", local), UTE_REST_COMMAND_NOT_SUPPORTED);
    EXPECT_EQ(ReadTestFile(local), "anfang");
    EXPECT_EQ(store.client.Noop(), UTE_SUCCESS);
}

TEST(FtpPassive, ResumeWithoutLocalFileIsAPlainDownload)
{
    FakeStore store(true);
    store.server.Passive().SendData(Data("ganz"));
    store.Start();
    EXPECT_EQ(store.client.ResumeFile("neu.pdf", store.folder / "neu.pdf"), UTE_SUCCESS);
    EXPECT_EQ(ReadTestFile(store.folder / "neu.pdf"), "ganz");
    EXPECT_EQ(store.Commands(), (Lines{"PASV", "RETR neu.pdf", "Quit"}));
}

TEST(FtpPassive, UploadSendsTheFileAndReportsProgress)
{
    const std::string bytes = PatternBytes(700);
    FakeStore store(true);
    store.server.Passive().ReceiveData();
    store.Start();
    WriteTestFile(store.folder / "hoch.pdf", bytes);
    EXPECT_EQ(store.client.PutFile(store.folder / "hoch.pdf", "hoch.pdf"), UTE_SUCCESS);
    EXPECT_EQ(store.client.sent, (std::vector<long>{255, 510, 700}));
    EXPECT_EQ(store.Commands(), (Lines{"PASV", "STOR hoch.pdf", "Quit"}));
    EXPECT_EQ(store.server.Uploaded(), bytes);
}

TEST(FtpPassive, AbortedDownloadDropsTheFinalReply)
{
    FakeStore store(true);
    FtpDataStep step = Data(PatternBytes(300000));
    step.final = "426 Abgebrochen.\r\n";
    store.server.Passive().SendData(step).Reply("200 NOOP.\r\n");
    store.Start();
    store.client.stopDownloads = true;
    EXPECT_EQ(store.client.GetFile("gross.pdf", store.folder / "gross.pdf"), UTE_ABORTED);
    EXPECT_EQ(store.client.received.size(), 1u);
    // The next command gets its own reply, not the transfer's.
    EXPECT_EQ(store.client.Noop(), UTE_SUCCESS);
    EXPECT_EQ(store.client.GetLastResponse(), "200 NOOP.");
}

TEST(FtpPassive, RefusedTransfersAndBadFinalReplies)
{
    FakeStore store(true);
    FtpDataStep failedList = Data(kListing);
    failedList.final = "451 Abbruch.\r\n";
    store.server
        .Passive().Reply("550 Gibt es nicht.\r\n")
        .Passive().Reply("553 Nicht erlaubt.\r\n")
        .Passive().Reply("550 Kein Verzeichnis.\r\n")
        .Passive().SendData(failedList)
        .Reply("200 NOOP.\r\n");
    store.Start();
    WriteTestFile(store.folder / "a.pdf", "a");
    EXPECT_EQ(store.client.GetFile("fehlt.pdf", store.folder / "fehlt.pdf"), UTE_RETR_FAILED);
    EXPECT_EQ(store.client.PutFile(store.folder / "a.pdf", "/gesperrt/a.pdf"), UTE_STOR_FAILED);
    EXPECT_EQ(store.client.ListDirectory(), UTE_SVR_DATA_CONNECT_FAILED);
    EXPECT_EQ(store.client.ListDirectory(), UTE_LIST_FAILED);
    EXPECT_EQ(store.client.GetDirEntryCount(), 5);
    EXPECT_EQ(store.client.Noop(), UTE_SUCCESS);
}

TEST(FtpPassive, ServerThatClosesMidTransfer)
{
    FakeStore store(true);
    FtpDataStep step = Data(PatternBytes(5000));
    step.final = "";
    store.server.Passive().SendData(step).Close();
    store.Start();
    EXPECT_EQ(store.client.GetFile("a.pdf", store.folder / "a.pdf"), UTE_CONNECT_TERMINATED);
    EXPECT_EQ(store.client.Noop(), UTE_NO_RESPONSE);
}

TEST(FtpActive, DownloadListingAndUploadOverPort)
{
    const std::string bytes = PatternBytes(4000);
    FakeStore store(false);
    store.server.Reply("200 PORT.\r\n").SendData(Data(kListing))
        .Reply("200 PORT.\r\n").SendData(Data(bytes))
        .Reply("200 PORT.\r\n").ReceiveData();
    store.Start();
    const int first = store.client.GetDataPort();
    ASSERT_EQ(store.client.ListDirectory(), UTE_SUCCESS);
    EXPECT_EQ(store.client.GetDirEntryCount(), 5);
    ASSERT_EQ(store.client.GetFile("a.pdf", store.folder / "a.pdf"), UTE_SUCCESS);
    EXPECT_EQ(ReadTestFile(store.folder / "a.pdf"), bytes);
    EXPECT_EQ(store.client.received.back(), 4000);
    ASSERT_EQ(store.client.PutFile(store.folder / "a.pdf", "b.pdf"), UTE_SUCCESS);
    Lines commands = store.Commands();
    ASSERT_EQ(commands.size(), 7u);
    EXPECT_EQ(commands[0].rfind("PORT 127,0,0,1,", 0), 0u) << commands[0];
    EXPECT_EQ(commands[1], "LIST");
    EXPECT_EQ(commands[3], "RETR a.pdf");
    EXPECT_EQ(commands[5], "STOR b.pdf");
    EXPECT_EQ(store.server.Uploaded(), bytes);
    EXPECT_EQ(store.server.AnnouncedPorts(), (std::vector<int>{first, first + 1, first + 2}));
}

TEST(FtpActive, DataPortCounterWrapsAbove32000)
{
    FakeStore store(false);
    store.server.Reply("200 PORT.\r\n").SendData(Data(kListing))
        .Reply("200 PORT.\r\n").SendData(Data(kListing))
        .Reply("500 PORT nicht.\r\n");
    store.Start();
    store.client.SetDataPort(32000);
    EXPECT_EQ(store.client.ListDirectory(), UTE_SUCCESS);
    EXPECT_EQ(store.client.GetDataPort(), 10000);
    EXPECT_EQ(store.client.ListDirectory(), UTE_SUCCESS);
    EXPECT_EQ(store.client.GetFile("a.pdf", store.folder / "a.pdf"), UTE_PORT_FAILED);
    EXPECT_EQ(store.client.GetDataPort(), 10002);
    store.Commands();
    EXPECT_EQ(store.server.AnnouncedPorts(), (std::vector<int>{32000, 10000, 10001}));
}

TEST(FtpActive, ConnectionFromAnotherHostIsRefusedAndTheServersOwnAccepted)
{
    FakeStore store(false);
    FtpDataStep step = Data("vom Server");
    step.strayFrom = {"127.0.0.2"};
    store.server.Reply("200 PORT.\r\n").SendData(step);
    store.Start();
    EXPECT_EQ(store.client.GetFile("a.pdf", store.folder / "a.pdf"), UTE_SUCCESS);
    EXPECT_EQ(ReadTestFile(store.folder / "a.pdf"), "vom Server");
}

TEST(FtpActive, OnlyAForeignConnectionEndsByTheTimeoutAndDrainsTheReplies)
{
    FakeStore store(false);
    FtpDataStep step = Data("fremd");
    step.strayFrom = {"127.0.0.2"};
    step.connect = false;
    store.server.Reply("200 PORT.\r\n").SendData(step).Reply("200 NOOP.\r\n");
    store.Start();
    EXPECT_EQ(store.client.GetFile("a.pdf", store.folder / "a.pdf"), UTE_SVR_DATA_CONNECT_FAILED);
    EXPECT_EQ(store.client.Noop(), UTE_SUCCESS);
    EXPECT_EQ(store.client.GetLastResponse(), "200 NOOP.");
}

TEST(FtpActive, ProgressHookStopDropsOneReply)
{
    FakeStore store(false);
    FtpDataStep step = Data(PatternBytes(300000));
    step.final = "426 Abgebrochen.\r\n";
    store.server.Reply("200 PORT.\r\n").SendData(step).Reply("200 NOOP.\r\n");
    store.Start();
    store.client.stopDownloads = true;
    EXPECT_EQ(store.client.GetFile("gross.pdf", store.folder / "gross.pdf"), UTE_ABORTED);
    EXPECT_EQ(store.client.Noop(), UTE_SUCCESS);
}
