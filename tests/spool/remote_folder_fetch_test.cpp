// The fetch of category folders from a scripted FTP store: what a real server will not
// send on demand (hostile names, a connection dropped in the middle of a download).
#include "spool/free_file_name.h"

#include "net/sftp_stub_component.h"
#include "servers/fake_ftp_server.h"
#include "spool/polling_cycle.h"
#include "spool/store_station.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

std::string ListingLine(const std::string& name, size_t size)
{
    return "-rw-r--r--   1 kv       store   " + std::to_string(size) + " Jan 15 12:30 " + name + "\r\n";
}

// The replies to one category: the change into it and its listing.
void ListCategory(FakeFtpServer& server, const std::string& listing)
{
    server.Reply("250 Verzeichnis gewechselt.\r\n")
        .Reply("200 Type set to A.\r\n")
        .Passive()
        .SendData(FtpDataStep{.data = listing})
        .Reply("200 Type set to I.\r\n");
}

// One download, the size asked again, and the deletion of the file.
void Deliver(FakeFtpServer& server, const std::string& bytes)
{
    server.Passive().SendData(FtpDataStep{.data = bytes}).Reply("213 " + std::to_string(bytes.size()) + "\r\n").Reply(
        "250 Datei gelöscht.\r\n");
}

std::vector<std::string> Matching(const Lines& commands, const std::string& prefix)
{
    Lines found;
    for (const std::string& command : commands)
        if (command.rfind(prefix, 0) == 0)
            found.push_back(command);
    return found;
}

StationSettings ScriptedStoreSettings(StoreStation& store, FakeFtpServer& server)
{
    store.access.ftpPort = server.Port();
    StationSettings settings = StoreKorvidSettings(store.test.folder.Path(), "kv", "geheim");
    settings.KV_Ftp_Passive = 1;
    return settings;
}

}  // namespace

TEST(RemoteFolderFetch, PlainFileNamesOnly)
{
    EXPECT_TRUE(IsPlainFileName("a.pdf"));
    EXPECT_TRUE(IsPlainFileName("with blank.pdf"));
    EXPECT_TRUE(IsPlainFileName("..a.pdf"));
    EXPECT_FALSE(IsPlainFileName(""));
    EXPECT_FALSE(IsPlainFileName("."));
    EXPECT_FALSE(IsPlainFileName(".."));
    EXPECT_FALSE(IsPlainFileName("../a.pdf"));
    EXPECT_FALSE(IsPlainFileName("/etc/a.pdf"));
    EXPECT_FALSE(IsPlainFileName("sub/a.pdf"));
    EXPECT_FALSE(IsPlainFileName("..\\a.pdf"));
}

TEST(RemoteFolderFetch, AHostileNameNeverLeavesTheCategoryFolder)
{
    StoreStation store;
    FakeFtpServer server;
    Station& station = store.Make(ScriptedStoreSettings(store, server));
    server.Greet("220 Lager.\r\n").AcceptLogin();
    ListCategory(server, ListingLine("../../escape.pdf", 10) + ListingLine("..\\..\\back.pdf", 10) +
                             ListingLine("/tmp/absolute.pdf", 10) + ListingLine("ok.pdf", 10) +
                             ListingLine("..", 10));
    Deliver(server, "%PDF ok...");
    server.Start();

    EXPECT_TRUE(FetchStoreFolder(station, "Auslieferungen", "/kv/4711/SPOOL/DELV", store.SpoolRoot() + "/DELV"));
    server.Finish();

    EXPECT_EQ(Matching(server.Commands(), "RETR"), Lines{"RETR ok.pdf"});
    EXPECT_EQ(Matching(server.Commands(), "DELE"), Lines{"DELE ok.pdf"});
    EXPECT_EQ(FilesBelow(store.test.folder / "spool"), Lines{"SPOOL/DELV/ok.pdf"});
    EXPECT_FALSE(fs::exists("/tmp/absolute.pdf"));
    EXPECT_TRUE(store.test.boxes.boxes.empty());
}

TEST(RemoteFolderFetch, ADroppedConnectionLeavesNoPartialDocument)
{
    StoreStation store;
    const std::string document = "%PDF-1.4 " + std::string(6000, 'd');
    const std::string listing = ListingLine("letter.pdf", document.size());
    auto dropping = std::make_unique<FakeFtpServer>();
    Station& station = store.Make(ScriptedStoreSettings(store, *dropping));
    dropping->Greet("220 Lager.\r\n").AcceptLogin().Reply("250 Basis.\r\n");
    ListCategory(*dropping, "");
    ListCategory(*dropping, "");
    ListCategory(*dropping, listing);
    // Half the document, then the server is gone: no final reply, the control
    // connection closes.
    dropping->Passive().SendData(FtpDataStep{.data = document.substr(0, 3000), .final = ""}).Close();
    dropping->Start();

    RunCycle(station.Cycle());
    dropping->Finish();

    EXPECT_TRUE(FilesBelow(store.SpoolRoot()).empty());
    EXPECT_TRUE(store.test.PrintCalls().empty());
    EXPECT_TRUE(Matching(dropping->Commands(), "DELE").empty());
    ASSERT_EQ(store.test.boxes.boxes.size(), 1u);
    EXPECT_EQ(store.test.boxes.boxes[0].caption, "Error during FTP-Operation");
    EXPECT_EQ(store.test.boxes.boxes[0].text,
              "konnte die Datei letter.pdf nicht vom FTP-Lager abholen\n"
              "Die Verbindung zum Server ist abgebrochen.\n\n"
              "Server-Response: err-code: 4, '150 Opening data connection.'");
    std::string log = ReadTestFile(station.Settings().LogFileName);
    EXPECT_TRUE(log.ends_with("> " + store.test.boxes.boxes[0].text + "\n")) << log;

    // The next cycle logs in afresh and fetches the document, whole, and prints it once.
    FakeFtpServer server;
    store.access.ftpPort = server.Port();
    server.Greet("220 Lager.\r\n").AcceptLogin().Reply("250 Basis.\r\n");
    ListCategory(server, "");
    ListCategory(server, "");
    ListCategory(server, listing);
    Deliver(server, document);
    server.Start();

    RunCycle(station.Cycle());
    server.Finish();

    EXPECT_EQ(Matching(server.Commands(), "DELE"), Lines{"DELE letter.pdf"});
    ASSERT_EQ(store.test.PrintCalls().size(), 1u);
    EXPECT_EQ(store.test.PrintCalls()[0].fileBytes, document);
    EXPECT_TRUE(FilesBelow(store.SpoolRoot()).empty());
    EXPECT_EQ(store.test.boxes.boxes.size(), 1u);
}

TEST(RemoteFolderFetch, SftpReportsNameTheProtocol)
{
    StoreStation store;
    StubComponent stub(SFTP_STUB_COMPLETE_DIR);
    ASSERT_TRUE(stub.Usable());
    StationSettings settings = StoreKorvidSettings(store.test.folder.Path(), "kv", "falsch");
    settings.KV_Sftp_Mode = 1;
    settings.ProgramFolder = SFTP_STUB_COMPLETE_DIR;
    Station& station = store.Make(settings);
    stub.SetFailing(true);

    EXPECT_FALSE(FetchAll(station.Cycle()));
    stub.SetFailing(false);

    ASSERT_EQ(store.test.boxes.boxes.size(), 1u);
    EXPECT_EQ(store.test.boxes.boxes[0].caption, "Error during SFTP-Operation");
    EXPECT_EQ(store.test.boxes.boxes[0].text,
              "Konnte nicht am SFTP-Server 127.0.0.1 mit Nutzer kv anmelden!\n"
              "Der Server weist die Verbindung ab.\n\n"
              "Server-Response: err-code: 2, 'stub error of handle 0'");
    EXPECT_EQ(stub.TakeCalls(), "connect_port 127.0.0.1 22 kv falsch\nget_last_error 0 8190\n");
}
