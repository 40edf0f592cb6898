// The station against a real FTPS store on loopback, one cycle per case: a certificate it
// accepts is fetched from, deleted on and printed, in passive and active mode, over IPv4
// and IPv6, from servers that require the data connections to resume the session; every
// other certificate, and a server without TLS, ends the log-in with its reason before the
// user name is sent.
#include "fixtures/ftps_server.h"
#include "spool/polling_cycle.h"
#include "spool/store_station.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct FtpsCase {
    const char* name;
    FtpsServerOptions server;
    bool passive;
    std::string pin;     // "server": the server's own fingerprint
    std::string reason;  // empty: the document is fetched, deleted and printed
    int code;
};

FtpsServerOptions Server(const char* certificate, const char* tlsVersion = "", const char* host = "127.0.0.1")
{
    return {certificate, tlsVersion, true, host};
}

const FtpsCase kCases[] = {
    {"TrustedPassive", Server("trusted"), true, "", "", 0},
    {"TrustedActive", Server("trusted"), false, "", "", 0},
    {"PinnedPassive", Server("self-signed"), true, "server", "", 0},
    {"PinnedActive", Server("self-signed"), false, "server", "", 0},
    {"Tls12Passive", Server("trusted", "1.2"), true, "", "", 0},
    {"Tls12Active", Server("trusted", "1.2"), false, "", "", 0},
    {"Tls13Passive", Server("trusted", "1.3"), true, "", "", 0},
    {"Tls13Active", Server("trusted", "1.3"), false, "", "", 0},
    {"Ipv6Passive", Server("trusted", "", "::1"), true, "", "", 0},
    {"Ipv6Active", Server("trusted", "", "::1"), false, "", "", 0},
    {"SelfSignedWithoutPin", Server("self-signed"), true, "",
     "Das Zertifikat des Servers stammt von keiner bekannten Zertifizierungsstelle", 129},
    {"WrongName", Server("wrong-name"), true, "",
     "Das Zertifikat des Servers ist nicht auf den Namen 127.0.0.1 ausgestellt", 130},
    {"Expired", Server("expired"), true, "", "Das Zertifikat des Servers ist abgelaufen", 143},
    // The fingerprint of a certificate the store showed before.
    {"ChangedFingerprint", Server("self-signed"), true, "AB" + std::string(60, '0') + "CD",
     "Der Fingerabdruck des Server-Zertifikats hat sich geändert", 130},
    {"NoTls", Server(""), true, "", "Der Server bietet kein TLS an", 142},
};

class FtpsStore : public ::testing::TestWithParam<FtpsCase> {
protected:
    // The test authority is the one the station trusts, not the machine's.
    void SetUp() override { setenv("SSL_CERT_FILE", FtpsServer::AuthorityFile().c_str(), 1); }
    void TearDown() override { unsetenv("SSL_CERT_FILE"); }

    FtpsServer server;
    StoreStation station;
};

void PrintTo(const FtpsCase& row, std::ostream* out)
{
    *out << row.name;
}

}  // namespace

TEST_P(FtpsStore, FetchesOnlyFromAServerWhoseCertificateIsAccepted)
{
    const FtpsCase& row = GetParam();
    std::string error;
    ASSERT_TRUE(server.Start(error, row.server)) << error;
    const std::string document = "%PDF-1.4 Lieferung\n" + std::string(300000, '.');
    const std::string stored = "kv/4711/SPOOL/DELV/Lieferung 1.pdf";
    for (const char* category : {"FRONTSH", "RL"})
        std::filesystem::create_directories(server / ("kv/4711/SPOOL/" + std::string(category)));
    WriteTestFile(server / stored, document);
    StationSettings settings = StoreKorvidSettings(station.test.folder.Path(), FtpsServer::kUser, FtpsServer::kPassword);
    settings.KV_FTP_Store = row.server.host;
    settings.KV_Ftp_Passive = row.passive ? 1 : 0;
    settings.KV_Ftp_Tls = 1;
    settings.KV_Ftp_Tls_Cert = row.pin == "server" ? server.Fingerprint() : row.pin;
    settings.OnErrorLogOnly = 1;
    station.access.ftpPort = server.Port();
    Station& korvid = station.Make(settings);

    korvid.StartPolling();
    korvid.StopPolling();

    // Nothing of the log-in before TLS, nothing at all to a server that is refused.
    const std::vector<std::string> record = server.Record();
    ASSERT_GE(record.size(), 1u);
    EXPECT_EQ(record[0], "AUTH TLS");
    const auto secured = [](const std::string& line) { return line == "AUTH TLS" || line.starts_with("TLS "); };
    const std::vector<PrintCall> printed = station.test.PrintCalls();
    if (row.reason.empty()) {
        ASSERT_EQ(printed.size(), 1u) << ReadTestFile(settings.LogFileName);
        EXPECT_EQ(printed[0].fileBytes, document);
        EXPECT_FALSE(std::filesystem::exists(server / stored));
        ASSERT_GE(record.size(), 2u);
        EXPECT_TRUE(record[1].starts_with("TLS ")) << record[1];
        EXPECT_GE(std::count(record.begin(), record.end(), "DATA resumed"), 4);
        EXPECT_EQ(std::count(record.begin(), record.end(), "DATA new"), 0);
    } else {
        EXPECT_TRUE(printed.empty());
        EXPECT_TRUE(std::filesystem::exists(server / stored));
        EXPECT_TRUE(std::all_of(record.begin(), record.end(), secured)) << record.back();
        const std::string report = "Konnte nicht am FTP-Server " + row.server.host + " mit Nutzer station anmelden!\n"
            + row.reason + "\n\nServer-Response: err-code: " + std::to_string(row.code) + ", '";
        EXPECT_NE(ReadTestFile(settings.LogFileName).find(report), std::string::npos)
            << ReadTestFile(settings.LogFileName);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FtpsStore, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FtpsCase>& info) { return info.param.name; });
