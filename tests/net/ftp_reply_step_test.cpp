// Replies that stay with their commands, and the bounds of replies and listings, against
// scripted stores that misbehave.
#include "net/ftp_client.h"
#include "net/result_codes.h"

#include "fixtures/local_web_server.h"
#include "support/scratch_folder.h"
#include "servers/fake_ftp_server.h"
#include "servers/scripted_server.h"

#include <gtest/gtest.h>

namespace {

struct Store {
    FakeFtpServer server;
    FtpClient client;
    ScratchFolder folder;

    explicit Store(bool passive)
    {
        server.Greet("220 Lager bereit.\r\n").AcceptLogin();
        client.SetControlPort(server.Port());
        client.SetPassiveMode(passive ? 1 : 0);
    }
    void Start()
    {
        server.Start();
        ASSERT_EQ(client.Login("127.0.0.1", "lager", "geheim"), UTE_SUCCESS);
    }
};

}  // namespace

TEST(FtpReplyStep, DeleteReadsItsOwnReplyAfterEveryTransferFault)
{
    const int closed = UnusedLocalPort();
    const std::string toClosedPort = "227 Entering Passive Mode (127,0,0,1," + std::to_string(closed / 256) + ","
        + std::to_string(closed % 256) + ").\r\n";
    // The 425 comes after the client stopped waiting for the connection.
    const FtpDataStep late425{.final = "425 Keine Datenverbindung.\r\n", .connect = false, .finalDelayMs = 6000};
    const struct {
        bool passive;
        std::function<void(FakeFtpServer&)> script;
        int fetched;
    } cases[] = {
        {true, [](FakeFtpServer& s) { s.Passive().SendData({"150 Datei " + std::string(390, 'n') + "\r\n", "x"}); },
         UTE_SUCCESS},
        {true, [&](FakeFtpServer& s) { s.Reply(toClosedPort).Reply(late425.final); }, UTE_SOCK_CONNECT_FAILED},
        {false, [&](FakeFtpServer& s) { s.Reply("200 PORT.\r\n").SendData(late425); }, UTE_SVR_DATA_CONNECT_FAILED},
    };
    for (const auto& c : cases) {
        Store store(c.passive);
        c.script(store.server);
        store.server.Reply("250 Gelöscht.\r\n");
        store.Start();
        EXPECT_EQ(store.client.GetFile("a.pdf", store.folder / "a.pdf"), c.fetched);
        EXPECT_EQ(store.client.DeleteFile("a.pdf"), UTE_SUCCESS);
    }
}

TEST(FtpReplyStep, AReplyOutOfStepIsNoDeletionAndEndsTheConnectionAnyCompletionIsOne)
{
    const struct {
        const char* reply;
        int deleted;
        StoreOutcome outcome;
        int noop;
    } cases[] = {{"150 Daten.\r\n", UTE_SVR_REQUEST_DENIED, StoreOutcome::Unknown, UTE_NO_RESPONSE},
                 {"350 Weiter.\r\n", UTE_SVR_REQUEST_DENIED, StoreOutcome::Unknown, UTE_NO_RESPONSE},
                 {"200 Command okay.\r\n", UTE_SUCCESS, StoreOutcome::Done, UTE_SUCCESS},
                 {"450 Belegt.\r\n", UTE_SVR_REQUEST_DENIED, StoreOutcome::Refused, UTE_SUCCESS}};
    for (const auto& c : cases) {
        Store store(false);
        store.server.Reply(c.reply).Reply("200 NOOP.\r\n");
        store.Start();
        EXPECT_EQ(store.client.DeleteFile("a.pdf"), c.deleted) << c.reply;
        EXPECT_EQ(store.client.LastOutcome(), c.outcome) << c.reply;
        EXPECT_EQ(store.client.Noop(), c.noop) << c.reply;
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
}

TEST(FtpListing, LongLinesAreReadWholeAndUnparsableOnesKeptForTheLog)
{
    const std::string name = std::string(251, 'x') + ".pdf";
    const std::string line = "-rw-r--r-- 1 lager gruppe" + std::string(702, ' ') + "1000 Jan 15 12:30 " + name;
    Store store(true);
    store.server.Passive().SendData({.data = line + "\r\nkaputt\r\n-rw-r--r-- 1 a b 7 Jan 15 2005 b.pdf\r\n"});
    store.Start();
    ASSERT_EQ(store.client.ListDirectory(), UTE_SUCCESS);
    FtpDirEntry entry;
    ASSERT_EQ(store.client.GetDirEntryCount(), 2);
    EXPECT_EQ(store.client.GetDirEntry(0, entry) == UTE_SUCCESS ? entry.name : "", name);
    EXPECT_EQ(store.client.SkippedListingLines(), std::vector<std::string>{"kaputt"});
}

TEST(FtpListing, AListingBeyondItsCapFailsAndTheRepliesStayInStep)
{
    std::string listing;
    for (int i = 0; i < 200000; ++i)
        listing += "-rw-r--r-- 1 a b 7 Jan 15 2005 " + std::to_string(i) + ".pdf\r\n";
    Store store(true);
    store.server.Passive().SendData({.data = listing}).Reply("200 NOOP.\r\n");
    store.Start();
    EXPECT_EQ(store.client.ListDirectory(), UTE_LIST_FAILED);
    EXPECT_EQ(store.client.Noop(), UTE_SUCCESS);
}
