// The store test of the base settings against a real FTP server on loopback.
#include "ui/store_connection_check.h"
#include "ui/server_connection_check.h"

#include "fakes/recording_message_boxes.h"
#include "fakes/recording_wait_cursor.h"
#include "fixtures/ftps_server.h"
#include "fixtures/local_ftp_server.h"
#include "fixtures/local_web_server.h"
#include "fixtures/run_program.h"
#include "support/scratch_folder.h"
#include "fixtures/sshd_fixture.h"
#include "net/ftp_client.h"
#include "servers/unanswered_port.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

const char* const kFailureCaption = "Fehler bei FTP-Operation:";

class StoreConnection : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(server.Start(error)) << error;
        std::filesystem::create_directories(server / "pub/4711");
        client.SetControlPort(server.Port());
    }

    StoreTestValues Values(const std::string& password, const std::string& folder) const
    {
        return {"127.0.0.1", LocalFtpServer::kUser, password, folder, GetParam(), false};
    }

    LocalFtpServer server;
    FtpClient client;
    RecordingMessageBoxes boxes;
    RecordingWaitCursor cursor;
};

}  // namespace

TEST_P(StoreConnection, ReachesTheMainFolder)
{
    EXPECT_TRUE(StoreConnectionTest(Values(LocalFtpServer::kPassword, "/pub/4711"), "/opt/station", client, cursor));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              "Der FTP-Server 127.0.0.1 konnte erfolgreich angesprochen werden.\n\nEbenso konnte erfolgreich das "
              "Hauptverzeichnis\n\n\t/pub/4711\n\nangesprochen werden !");
    EXPECT_EQ(boxes.boxes[0].caption, "FTP-Verbindung zum FTP-Lager:");
    EXPECT_EQ(boxes.boxes[0].style, BoxStyle::IconInformation | BoxStyle::TaskModal);
    EXPECT_EQ(client.GetPassiveMode(), GetParam() ? 1 : 0);
    EXPECT_EQ(cursor.shown, 1);
    EXPECT_EQ(cursor.depth, 0);
}

TEST_P(StoreConnection, MissingFolderNamesTheFolderAndTheServersReply)
{
    EXPECT_FALSE(StoreConnectionTest(Values(LocalFtpServer::kPassword, "/gibt/es/nicht"), "", client, cursor));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text.rfind("Error: Konnte nicht zum Verzeichnis /gibt/es/nicht wechseln!\n"
                                        "Der Server hat den Auftrag abgelehnt.\nServer-Response: '550 ",
                                        0),
              0u)
        << boxes.boxes[0].text;
    EXPECT_EQ(boxes.boxes[0].caption, kFailureCaption);
    EXPECT_EQ(boxes.boxes[0].style, BoxStyle::Error);
    EXPECT_EQ(cursor.depth, 0);
}

TEST_P(StoreConnection, WrongPasswordFailsTheLogin)
{
    EXPECT_FALSE(StoreConnectionTest(Values("falsch", "/pub"), "", client, cursor));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text.rfind("Error: Konnte nicht beim FTP-Server 127.0.0.1 mit Nutzer station anmelden!\n"
                                        "Anmeldung abgelehnt: Der Server nimmt Benutzer oder Passwort nicht an.\n"
                                        "Server-Response: '530 ",
                                        0),
              0u)
        << boxes.boxes[0].text;
    EXPECT_EQ(boxes.boxes[0].caption, kFailureCaption);
    EXPECT_EQ(boxes.boxes[0].style, BoxStyle::Error);
}

INSTANTIATE_TEST_SUITE_P(ActiveAndPassive, StoreConnection, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Passive" : "Active"; });

TEST(StoreConnectionSftp, FailedLoginNamesSftp)
{
    RecordingMessageBoxes boxes;
    RecordingWaitCursor cursor;
    FtpClient client;
    client.SetControlPort(UnusedLocalPort());
    client.SetSftpPort(UnusedLocalPort());
    EXPECT_FALSE(StoreConnectionTest({"127.0.0.1", "lager", "pw", "/pub", false, true}, "/nirgends", client, cursor));
    EXPECT_EQ(client.GetSftpMode(), 1);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text.rfind("Error: Konnte nicht beim SFTP-Server 127.0.0.1 mit Nutzer lager anmelden!\n"
                                        "Die SFTP-Komponente fehlt oder ist unvollständig.\nServer-Response: '",
                                        0),
              0u)
        << boxes.boxes[0].text;
    EXPECT_EQ(cursor.depth, 0);
}

TEST(StoreConnectionSftp, SuccessShowsTheHostKeyFingerprintAndLogsANewKey)
{
    SshdFixture sshd;
    std::string error;
    ASSERT_TRUE(sshd.Start(error)) << error;
    ScratchFolder home;
    const char* formerHome = std::getenv("HOME");
    const std::string kept = formerHome ? formerHome : "";
    setenv("HOME", home.Path().c_str(), 1);
    // What OpenSSH prints for the fixture's key: "256 SHA256:... comment (ED25519)".
    const ProgramRun printed = RunProgram({"/usr/bin/ssh-keygen", "-lf", sshd.HostKeyFile() + ".pub"});
    ASSERT_EQ(printed.exitCode, 0) << printed.err;
    const std::string fingerprint = printed.out.substr(printed.out.find(' ') + 1, 50);  // "SHA256:" + 43

    RecordingMessageBoxes boxes;
    RecordingWaitCursor cursor;
    std::vector<std::string> logged;
    for (int contact = 0; contact < 2; ++contact) {
        FtpClient client;
        client.SetSftpPort(sshd.Port());
        EXPECT_TRUE(StoreConnectionTest({"127.0.0.1", SshdFixture::User(), SshdFixture::Password(), ".", false, true},
                                        PSFTP_DLL_DIR, client, cursor,
                                        [&](const std::string& line) { logged.push_back(line); }));
    }
    formerHome ? setenv("HOME", kept.c_str(), 1) : unsetenv("HOME");
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_NE(boxes.boxes[0].text.find("Sein Schlüssel wurde gespeichert:\n\n\t" + fingerprint), std::string::npos)
        << boxes.boxes[0].text;
    EXPECT_NE(boxes.boxes[1].text.find("Schlüssel des Servers:\n\n\t" + fingerprint), std::string::npos);
    EXPECT_EQ(logged, std::vector<std::string>{"Neuer Host-Schlüssel von 127.0.0.1 gespeichert: " + fingerprint});
}

// A certificate that is not accepted, shown and trusted or not: "Ja" hands its fingerprint
// to the dialog's settings and the test reaches the folder with it; "Nein" leaves both alone.
TEST(StoreConnectionFtps, AskWhetherToTrustACertificateThatIsNotAccepted)
{
    FtpsServer server;
    std::string error;
    ASSERT_TRUE(server.Start(error, {"self-signed"})) << error;
    std::filesystem::create_directories(server / "pub");
    for (const int answer : {BoxButton::No, BoxButton::Yes}) {
        RecordingMessageBoxes boxes;
        boxes.answers = {answer};
        RecordingWaitCursor cursor;
        FtpClient client;
        client.SetControlPort(server.Port());
        std::string trusted = "vorher";
        EXPECT_EQ(StoreConnectionTest({"127.0.0.1", FtpsServer::kUser, FtpsServer::kPassword, "/pub", true, false, true},
                                      "", client, cursor, {}, &trusted),
                  answer == BoxButton::Yes);
        EXPECT_EQ(trusted, answer == BoxButton::Yes ? server.Fingerprint() : "vorher");
        ASSERT_EQ(boxes.boxes.size(), answer == BoxButton::Yes ? 2u : 1u);
        EXPECT_EQ(boxes.boxes[0].caption, "Zertifikat des FTP-Lagers:");
        EXPECT_EQ(boxes.boxes[0].style, BoxStyle::YesNo | BoxStyle::IconQuestion | BoxStyle::TaskModal);
        for (const std::string& shown : {std::string("nicht anerkannt:\nDas Zertifikat des Servers stammt von keiner"),
                                         std::string("\nAusgestellt für: CN=Lager\nAusgestellt von: CN=Lager\n"),
                                         std::string("\nGültig bis: 01.01.2125 00:00 UTC\n"), server.Fingerprint()})
            EXPECT_NE(boxes.boxes[0].text.find(shown), std::string::npos) << boxes.boxes[0].text;
        EXPECT_EQ(boxes.boxes.back().caption, answer == BoxButton::Yes ? "FTP-Verbindung zum FTP-Lager:"
                                                                       : "Zertifikat des FTP-Lagers:");
    }
}

// What the store and web server tests say went wrong, on the line below their own text.
TEST(FailureLines, EachWayOfFailingIsNamedBelowTheText)
{
    enum Target { Ftp, Sftp, Web };
    enum Fault { Refused, UnknownHost, NoAnswer, WrongPassword };
    const std::string refused = "Verbindung abgelehnt: Auf diesem Port nimmt der Server keine Verbindungen an.";
    const std::string unknown =
        "Der Name des Servers lässt sich nicht auflösen: Er ist unbekannt, oder der Namensdienst antwortet nicht.";
    const std::string logIn = "Anmeldung abgelehnt: Der Server nimmt Benutzer oder Passwort nicht an.";
    const std::string noAnswer = "Keine Antwort: Der Server hat nicht innerhalb von 5 Sekunden geantwortet.";
    const struct {
        Target target;
        Fault fault;
        std::string line;
    } rows[] = {{Ftp, Refused, refused}, {Ftp, UnknownHost, unknown}, {Ftp, NoAnswer, noAnswer},
                {Ftp, WrongPassword, logIn}, {Sftp, Refused, refused}, {Sftp, UnknownHost, unknown},
                {Sftp, NoAnswer, "Keine Antwort: Der Server hat nicht rechtzeitig geantwortet."},
                {Sftp, WrongPassword, logIn}, {Web, Refused, refused}, {Web, UnknownHost, unknown},
                {Web, NoAnswer, noAnswer}};
    LocalFtpServer ftp;
    SshdFixture sshd;
    std::string error;
    ASSERT_TRUE(ftp.Start(error) && sshd.Start(error)) << error;
    UnansweredPort unanswered;
    ScratchFolder home;
    const char* formerHome = std::getenv("HOME");
    const std::string kept = formerHome ? formerHome : "";
    setenv("HOME", home.Path().c_str(), 1);
    for (const auto& row : rows) {
        const bool sftp = row.target == Sftp;
        const int port = row.fault == Refused ? UnusedLocalPort()
            : row.fault == NoAnswer           ? unanswered.Port()
            : sftp                            ? sshd.Port()
                                              : ftp.Port();
        const std::string host = row.fault == UnknownHost ? "lager.invalid" : "127.0.0.1";
        RecordingMessageBoxes boxes;
        RecordingWaitCursor cursor;
        FtpClient client;
        client.SetControlPort(port);
        client.SetSftpPort(port);
        const std::string user = sftp ? SshdFixture::User() : LocalFtpServer::kUser;
        const std::string password = row.fault == WrongPassword ? "falsch"
            : sftp                                              ? SshdFixture::Password()
                                                                : LocalFtpServer::kPassword;
        EXPECT_FALSE(row.target == Web ? ServerConnectionTest(host, std::to_string(port), "korvid", cursor)
                                       : StoreConnectionTest({host, user, password, "/", false, sftp}, PSFTP_DLL_DIR,
                                                             client, cursor));
        ASSERT_EQ(boxes.boxes.size(), 1u);
        const std::string below = row.target == Web ? "kontaktieren!\n" + row.line
                                                    : "anmelden!\n" + row.line + "\nServer-Response: '";
        EXPECT_NE(boxes.boxes[0].text.find(below), std::string::npos) << boxes.boxes[0].text;
    }
    formerHome ? setenv("HOME", kept.c_str(), 1) : unsetenv("HOME");
}
