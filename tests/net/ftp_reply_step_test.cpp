// Replies that stay with their commands, and bounds of every reply and listing, against
// scripted stores that misbehave.
#include "net/ftp_client.h"
#include "net/result_codes.h"

#include "fixtures/file_bytes.h"
#include "fixtures/local_web_server.h"
#include "fixtures/scratch_folder.h"
#include "servers/fake_ftp_server.h"
#include "servers/scripted_server.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

struct Store {
    FakeFtpServer server;
    FtpClient client;
    ScratchFolder folder;

    explicit Store(bool passive)
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
    int Fetch() { return client.GetFile("a.pdf", folder / "a.pdf"); }
};

FtpDataStep Data(const std::string& bytes)
{
    FtpDataStep step;
    step.data = bytes;
    return step;
}

std::string PassiveTo(int port)
{
    return "227 Entering Passive Mode (127,0,0,1," + std::to_string(port / 256) + "," + std::to_string(port % 256)
        + ").\r\n";
}

const char* const kDeleted = "250 Datei gelöscht.\r\n";

}  // namespace

TEST(FtpReplyStep, DeleteReadsItsOwnReplyAfterEveryTransferFault)
{
    FtpDataStep longPreliminary = Data("Inhalt");
    longPreliminary.preliminary = "150 Opening BINARY connection for " + std::string(380, 'n') + "\r\n";
    FtpDataStep late425;
    late425.connect = false;
    late425.final = "425 Keine Datenverbindung.\r\n";
    late425.finalDelayMs = 6000;  // after the client stopped waiting for the connection
    struct Case {
        const char* name;
        bool passive;
        std::function<void(FakeFtpServer&)> script;
        int fetched;
    } cases[] = {
        {"long 150 reply", true, [&](FakeFtpServer& s) { s.Passive().SendData(longPreliminary); }, UTE_SUCCESS},
        {"failed passive connection", true,
         [](FakeFtpServer& s) { s.Reply(PassiveTo(UnusedLocalPort())).Reply("425 Keine Datenverbindung.\r\n"); },
         UTE_SOCK_CONNECT_FAILED},
        {"late 425 in active mode", false, [&](FakeFtpServer& s) { s.Reply("200 PORT.\r\n").SendData(late425); },
         UTE_SVR_DATA_CONNECT_FAILED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Store store(c.passive);
        c.script(store.server);
        store.server.Reply(kDeleted);
        store.Start();
        EXPECT_EQ(store.Fetch(), c.fetched);
        EXPECT_EQ(store.client.DeleteFile("a.pdf"), UTE_SUCCESS);
        EXPECT_EQ(store.client.GetLastResponse(), "250 Datei gelöscht.");
    }
}

TEST(FtpReplyStep, AReplyOfAnotherCommandIsNoDeletionAndEndsTheConnection)
{
    for (const char* reply : {"150 Opening data connection.\r\n", "200 PORT command successful.\r\n"}) {
        SCOPED_TRACE(reply);
        Store store(false);
        store.server.Reply(reply).Reply("200 NOOP.\r\n");
        store.Start();
        EXPECT_EQ(store.client.DeleteFile("a.pdf"), UTE_SVR_REQUEST_DENIED);
        EXPECT_FALSE(store.client.IsConnected());
        EXPECT_EQ(store.client.Noop(), UTE_NO_RESPONSE);
        store.client.Logout();
        store.server.Finish();
        EXPECT_EQ(store.server.Commands().back(), "DELE a.pdf");
    }
}

TEST(FtpReplyStep, TricklingServerGivesNoReplyWithinTheReceiveTimeout)
{
    ScriptedServer server;
    server.Accept();
    for (char c : std::string("220 bereit\r\n"))
        server.Send(std::string(1, c)).Pause(250);
    for (const char* reply : {"230 Angemeldet.\r\n", "200 A\r\n", "200 S\r\n", "200 F\r\n"})
        server.ReadLine().Send(reply);
    server.Start();
    FtpClient client;
    client.SetControlPort(server.Port());
    client.SetReceiveTimeout(1000);
    EXPECT_EQ(client.Login("127.0.0.1", "lager", "geheim"), UTE_NO_RESPONSE);
    EXPECT_FALSE(client.IsConnected());
}

TEST(FtpListing, LongLinesAreReadWholeAndUnparsableOnesKeptForTheLog)
{
    const std::string name = std::string(251, 'x') + ".pdf";
    const std::string longLine = "-rw-r--r--   1 lager    gruppe" + std::string(1000 - 30 - 18 - name.size(), ' ')
        + "1000 Jan 15 12:30 " + name;
    ASSERT_EQ(longLine.size(), 1000u);
    Store store(true);
    store.server.Passive().SendData(Data(longLine + "\r\nkaputt\r\n-rw-r--r-- 1 a b 7 Jan 15 2005 b.pdf\r\n"));
    store.Start();
    ASSERT_EQ(store.client.ListDirectory(), UTE_SUCCESS);
    ASSERT_EQ(store.client.GetDirEntryCount(), 2);
    FtpDirEntry entry;
    store.client.GetDirEntry(0, entry);
    EXPECT_EQ(entry.name, name);
    EXPECT_EQ(entry.size, 1000);
    EXPECT_EQ(store.client.SkippedListingLines(), Lines{"kaputt"});
}

TEST(FtpListing, AListingBeyondItsCapFailsAndTheRepliesStayInStep)
{
    std::string listing;
    for (int i = 0; i < 200000; ++i)
        listing += "-rw-r--r-- 1 a b 7 Jan 15 2005 " + std::to_string(i) + ".pdf\r\n";
    Store store(true);
    store.server.Passive().SendData(Data(listing)).Reply("200 NOOP.\r\n");
    store.Start();
    EXPECT_EQ(store.client.ListDirectory(), UTE_LIST_FAILED);
    EXPECT_EQ(store.client.Noop(), UTE_SUCCESS);
}
