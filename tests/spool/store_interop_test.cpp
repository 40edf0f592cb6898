// The station against the FTP servers a library meets, each on loopback with a small
// configuration of the test's own: pyftpdlib, vsftpd, ProFTPD and Pure-FTPd (the last
// three unpacked by scripts/install-deps), over IPv4 and IPv6, passive and active. A cycle
// lists, fetches, deletes and prints documents whose names hold blanks, umlauts and a
// leading "-", and a folder of more documents than one flight of deletions carries.
#include "fixtures/local_ftp_server.h"
#include "spool/polling_cycle.h"
#include "spool/store_station.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

struct Interop {
    const char* server;  // empty: pyftpdlib
    const char* host;
    bool passive;
};

class StoreInterop : public ::testing::TestWithParam<Interop> {};

TEST_P(StoreInterop, EveryDocumentIsListedFetchedDeletedAndPrinted)
{
    const Interop& param = GetParam();
    const std::string server = param.server;
    FtpServerOptions options;
    options.server = server;
    options.user = "stationftp";
    options.password = "Lager-Passwort-7";
    options.asNobody = server.empty();
    options.host = param.host;
    LocalFtpServer store(options);
    std::string error;
    ASSERT_TRUE(store.Start(error)) << error;
    Lines offered = {"DELV/-Liste.pdf", "DELV/Sendung 1 für Köln.pdf", "FRONTSH/Deckblatt Grüße.pdf",
                     "RL/-r.pdf", "RL/Leihschein ÄÖÜß.pdf"};
    // More than one flight of sizes and deletions in one folder.
    for (int i = 0; i < 66; ++i)
        offered.push_back("DELV/Los " + std::to_string(100 + i) + ".pdf");
    std::sort(offered.begin(), offered.end());
    for (const std::string& document : offered)
        WriteTestFile(store / ("kv/4711/SPOOL/" + document), "%PDF-1.4 " + document);
    store.GiveToServer(store.Root());
    StoreStation station;
    StationSettings settings = StoreKorvidSettings(station.test.folder.Path(), "stationftp", "Lager-Passwort-7");
    settings.KV_FTP_Store = param.host;
    settings.KV_FTP_Store_Dir = server.empty() ? "/kv" : store.Root() + "/kv";
    settings.KV_Ftp_Passive = param.passive ? 1 : 0;
    station.access.ftpPort = store.Port();
    Station& korvid = station.Make(settings);

    RunCycle(korvid.Cycle());

    Lines printed;
    for (const PrintCall& call : station.test.PrintCalls()) {
        printed.push_back(std::filesystem::path(call.workingFolder).filename().string() + "/" + call.arguments.back());
        EXPECT_EQ(call.fileBytes, "%PDF-1.4 " + printed.back());
    }
    std::sort(printed.begin(), printed.end());
    EXPECT_EQ(printed, offered);
    EXPECT_EQ(FilesBelow(store / "kv"), Lines{});
    EXPECT_EQ(FilesBelow(station.SpoolRoot()), Lines{});
    EXPECT_TRUE(station.test.boxes.boxes.empty()) << station.test.boxes.boxes.front().text;
}

std::vector<Interop> Matrix()
{
    std::vector<Interop> matrix;
    for (const char* server : {"", "vsftpd", "proftpd", "pure-ftpd"})
        for (const char* host : {"127.0.0.1", "::1"})
            for (bool passive : {true, false})
                matrix.push_back({server, host, passive});
    return matrix;
}

INSTANTIATE_TEST_SUITE_P(Servers, StoreInterop, ::testing::ValuesIn(Matrix()),
                         [](const ::testing::TestParamInfo<Interop>& info) {
                             std::string name = *info.param.server ? info.param.server : "pyftpdlib";
                             std::erase(name, '-');
                             return name + (info.param.host[0] == ':' ? "_IPv6" : "_IPv4") +
                                    (info.param.passive ? "_passive" : "_active");
                         });

}  // namespace
