// What the connection tests of the base settings say went wrong, below their own text:
// one German line for each way of failing, against the real servers on loopback.
#include "ui/server_connection_check.h"
#include "ui/store_connection_check.h"

#include "fakes/recording_message_boxes.h"
#include "fakes/recording_wait_cursor.h"
#include "fixtures/local_ftp_server.h"
#include "fixtures/local_web_server.h"
#include "fixtures/sshd_fixture.h"
#include "net/ftp_client.h"
#include "servers/unanswered_port.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

enum class Target { Ftp, Sftp, Web };
enum class Fault { Refused, UnknownHost, NoAnswer, WrongPassword };

struct Row {
    Target target;
    Fault fault;
    const char* line;
};

const char* const kRefused = "Verbindung abgelehnt: Auf diesem Port nimmt der Server keine Verbindungen an.";
const char* const kUnknown =
    "Der Name des Servers lässt sich nicht auflösen: Er ist unbekannt, oder der Namensdienst antwortet nicht.";
const char* const kLogIn = "Anmeldung abgelehnt: Der Server nimmt Benutzer oder Passwort nicht an.";

const Row kRows[] = {
    {Target::Ftp, Fault::Refused, kRefused},
    {Target::Ftp, Fault::UnknownHost, kUnknown},
    {Target::Ftp, Fault::NoAnswer, "Keine Antwort: Der Server hat nicht innerhalb von 5 Sekunden geantwortet."},
    {Target::Ftp, Fault::WrongPassword, kLogIn},
    {Target::Sftp, Fault::Refused, kRefused},
    {Target::Sftp, Fault::UnknownHost, kUnknown},
    {Target::Sftp, Fault::NoAnswer, "Keine Antwort: Der Server hat nicht rechtzeitig geantwortet."},
    {Target::Sftp, Fault::WrongPassword, kLogIn},
    {Target::Web, Fault::Refused, kRefused},
    {Target::Web, Fault::UnknownHost, kUnknown},
    {Target::Web, Fault::NoAnswer, "Keine Antwort: Der Server hat nicht innerhalb von 5 Sekunden geantwortet."},
};

// The box's lines.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace

TEST(FailureLines, EachWayOfFailingIsNamedBelowTheText)
{
    LocalFtpServer ftp;
    SshdFixture sshd;
    std::string error;
    ASSERT_TRUE(ftp.Start(error)) << error;
    ASSERT_TRUE(sshd.Start(error)) << error;
    UnansweredPort unanswered;
    ScratchFolder home;
    const char* formerHome = std::getenv("HOME");
    const std::string kept = formerHome ? formerHome : "";
    setenv("HOME", home.Path().c_str(), 1);

    for (const Row& row : kRows) {
        const bool sftp = row.target == Target::Sftp;
        int port = row.fault == Fault::Refused ? UnusedLocalPort() : row.fault == Fault::NoAnswer ? unanswered.Port() : 0;
        if (port == 0)
            port = sftp ? sshd.Port() : ftp.Port();
        const std::string host = row.fault == Fault::UnknownHost ? "lager.invalid" : "127.0.0.1";
        RecordingMessageBoxes boxes;
        RecordingWaitCursor cursor;
        size_t reasonLine = 1;
        if (row.target == Target::Web) {
            EXPECT_FALSE(ServerConnectionTest(host, std::to_string(port), "korvid", cursor));
            reasonLine = 2;
        } else {
            FtpClient client;
            client.SetControlPort(port);
            client.SetSftpPort(port);
            const std::string user = sftp ? SshdFixture::User() : LocalFtpServer::kUser;
            const std::string password = row.fault == Fault::WrongPassword ? "falsch"
                : sftp                                                     ? SshdFixture::Password()
                                                                           : LocalFtpServer::kPassword;
            EXPECT_FALSE(StoreConnectionTest({host, user, password, "/", false, sftp}, PSFTP_DLL_DIR, client, cursor));
        }
        ASSERT_EQ(boxes.boxes.size(), 1u);
        const std::vector<std::string> lines = Lines(boxes.boxes[0].text);
        ASSERT_GT(lines.size(), reasonLine) << boxes.boxes[0].text;
        EXPECT_EQ(lines[reasonLine], row.line) << boxes.boxes[0].text;
    }
    formerHome ? setenv("HOME", kept.c_str(), 1) : unsetenv("HOME");
}
