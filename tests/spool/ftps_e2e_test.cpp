// The station against a real FTPS store on loopback, one cycle per case: a certificate it
// accepts is fetched from, deleted on and printed, in passive and active mode, over IPv4
// and IPv6, from servers that require the data connections to resume the session; every
// other certificate, and a server without TLS, ends the log-in with its reason before the
// password (or the user name) is sent.
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
    // "server": the server's own fingerprint; else the text as it stands.
    std::string pin;
    // Empty: the document is fetched, deleted and printed.
    std::string reason;
    int code = 0;
};

FtpsServerOptions Server(const char* certificate, const char* tlsVersion = "", bool reuseRequired = false,
                         const char* host = "127.0.0.1")
{
    return {certificate, tlsVersion, reuseRequired, host};
}

// The fingerprint of a certificate the store showed before.
const std::string kOtherFingerprint = "AB" + std::string(60, '0') + "CD";

const FtpsCase kCases[] = {
    {"TrustedPassive", Server("trusted"), true, "", ""},
    {"TrustedActive", Server("trusted"), false, "", ""},
    {"PinnedPassive", Server("self-signed"), true, "server", ""},
    {"PinnedActive", Server("self-signed"), false, "server", ""},
    {"ReuseTls12Passive", Server("trusted", "1.2", true), true, "", ""},
    {"ReuseTls12Active", Server("trusted", "1.2", true), false, "", ""},
    {"ReuseTls13Passive", Server("trusted", "1.3", true), true, "", ""},
    {"ReuseTls13Active", Server("trusted", "1.3", true), false, "", ""},
    {"Ipv6Passive", Server("trusted", "", true, "::1"), true, "", ""},
    {"Ipv6Active", Server("trusted", "", true, "::1"), false, "", ""},
    {"SelfSignedWithoutPin", Server("self-signed"), true, "",
     "Das Zertifikat des Servers stammt von keiner bekannten Zertifizierungsstelle", 129},
    {"WrongName", Server("wrong-name"), true, "", "Das Zertifikat des Servers ist nicht auf den Namen 127.0.0.1 ausgestellt",
     130},
    {"Expired", Server("expired"), true, "", "Das Zertifikat des Servers ist abgelaufen", 143},
    {"ChangedFingerprint", Server("self-signed"), true, kOtherFingerprint,
     "Der Fingerabdruck des Server-Zertifikats hat sich geändert", 130},
    {"NoTls", Server(""), true, "", "Der Server bietet kein TLS an", 142},
};

class FtpsStore : public ::testing::TestWithParam<FtpsCase> {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(server.Start(error, GetParam().server)) << error;
        // The test authority is the one the station trusts, not the machine's.
        setenv("SSL_CERT_FILE", server.AuthorityFile().c_str(), 1);
    }
    void TearDown() override { unsetenv("SSL_CERT_FILE"); }

    FtpsServer server;
    StoreStation station;
};

std::string CaseName(const ::testing::TestParamInfo<FtpsCase>& info)
{
    return info.param.name;
}

void PrintTo(const FtpsCase& row, std::ostream* out)
{
    *out << row.name;
}

}  // namespace

TEST_P(FtpsStore, FetchesOnlyFromAServerWhoseCertificateIsAccepted)
{
    const FtpsCase& row = GetParam();
    const std::string document = "%PDF-1.4 Lieferung\n" + std::string(300000, '.');
    const std::string stored = "kv/4711/SPOOL/DELV/Lieferung 1.pdf";
    for (const char* category : {"FRONTSH", "RL", "DELV"})
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

    const std::vector<std::string> record = server.Record();
    const auto sent = [&](const std::string& command) {
        return std::any_of(record.begin(), record.end(), [&](const std::string& line) { return line.starts_with(command); });
    };
    EXPECT_FALSE(record.empty());
    if (!record.empty()) {
        EXPECT_EQ(record.front(), "AUTH TLS");
    }
    const std::vector<PrintCall> printed = station.test.PrintCalls();
    if (row.reason.empty()) {
        ASSERT_EQ(printed.size(), 1u) << ReadTestFile(settings.LogFileName);
        EXPECT_EQ(printed[0].fileBytes, document);
        EXPECT_FALSE(std::filesystem::exists(server / stored));
        // Nothing of the log-in before TLS; every data connection resumed the session.
        const auto tls = std::find_if(record.begin(), record.end(), [](const std::string& line) { return line.starts_with("TLS "); });
        EXPECT_LT(tls - record.begin(), std::find(record.begin(), record.end(), "PASS") - record.begin());
        EXPECT_LT(tls - record.begin(), std::find(record.begin(), record.end(), "USER station") - record.begin());
        EXPECT_GE(std::count(record.begin(), record.end(), "DATA resumed"), 2);
        EXPECT_FALSE(sent("DATA new"));
    } else {
        EXPECT_TRUE(printed.empty());
        EXPECT_TRUE(std::filesystem::exists(server / stored));
        EXPECT_FALSE(sent("USER"));
        EXPECT_FALSE(sent("PASS"));
        const std::string log = ReadTestFile(settings.LogFileName);
        const std::string report = "Konnte nicht am FTP-Server " + row.server.host + " mit Nutzer station anmelden!\n"
            + row.reason + "\n\nServer-Response: err-code: " + std::to_string(row.code) + ", '";
        EXPECT_NE(log.find(report), std::string::npos) << log;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FtpsStore, ::testing::ValuesIn(kCases), CaseName);
