#include "net/ftp_client.h"
#include "net/result_codes.h"

#include "servers/fake_ftp_server.h"
#include "servers/unanswered_port.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

const char* const kGreeting = "220 Lager bereit.\r\n";

// Waits for a reply that never comes.
constexpr int kSilenceMs = 300;

// A client pointed at the fake server.
struct FakeLogin {
    FakeFtpServer server;
    FtpClient client;

    FakeLogin()
    {
        client.SetControlPort(server.Port());
        client.SetReceiveTimeout(5000);
    }
    int Login() { return client.Login("127.0.0.1", "lager", "geheim", "konto"); }
    // The commands after the log-in of AcceptLogin.
    Lines CommandsAfterLogin()
    {
        client.Logout();
        server.Finish();
        Lines all = server.Commands();
        return Lines(all.begin() + std::min<size_t>(5, all.size()), all.end());
    }
};

}  // namespace

TEST(FtpClientLogin, MultiLineReplyIsReadToItsFinalLine)
{
    FakeLogin fake;
    fake.server.Greet(kGreeting)
        .Reply("331 Passwort bitte.\r\n")
        .Reply("230-Willkommen im Lager.\r\n Bitte beachten Sie:\r\n230-keine Umlaute\r\n230 Angemeldet.\r\n")
        .Reply("200 TYPE A.\r\n")
        .Reply("200 MODE S.\r\n")
        .Reply("200 STRU F.\r\n")
        .Reply("211-Status:\r\n verbunden\r\n211 Ende\r\n");
    fake.server.Start();
    ASSERT_EQ(fake.Login(), UTE_SUCCESS);
    EXPECT_EQ(fake.client.GetResponseLineCount(), 7);
    EXPECT_EQ(fake.client.GetResponseLine(0), "230-Willkommen im Lager.");
    EXPECT_EQ(fake.client.GetResponseLine(1), " Bitte beachten Sie:");
    EXPECT_EQ(fake.client.GetResponseLine(2), "230-keine Umlaute");
    EXPECT_EQ(fake.client.GetResponseLine(3), "230 Angemeldet.");
    EXPECT_EQ(fake.client.GetResponseLine(4), "200 TYPE A.");
    EXPECT_EQ(fake.client.GetResponseLine(7), "");
    EXPECT_EQ(fake.client.GetTransferType(), 0);

    EXPECT_EQ(fake.client.Quote("STAT"), UTE_SUCCESS);
    EXPECT_EQ(fake.client.GetResponseLineCount(), 3);
    EXPECT_EQ(fake.client.GetLastResponse(), "211 Ende");
    EXPECT_EQ(fake.CommandsAfterLogin(), (Lines{"STAT", "Quit"}));
    EXPECT_EQ(fake.server.Commands().front(), "USER lager");
    EXPECT_EQ(fake.server.Commands()[1], "PASS geheim");
}

TEST(FtpClientLogin, PasswordRepliesDecideAboutTheAccount)
{
    {
        FakeLogin fake;  // 332 counts as logged in: no ACCT
        fake.server.Greet(kGreeting).Reply("331 Passwort.\r\n").Reply("332 Konto?\r\n")
            .Reply("200 A\r\n").Reply("200 S\r\n").Reply("200 F\r\n");
        fake.server.Start();
        EXPECT_EQ(fake.Login(), UTE_SUCCESS);
        fake.client.Logout();
        fake.server.Finish();
        EXPECT_EQ(fake.server.Commands(), (Lines{"USER lager", "PASS geheim", "TYPE A", "MODE S", "STRU F", "Quit"}));
    }
    {
        FakeLogin fake;  // exactly 300 asks for the account
        fake.server.Greet(kGreeting).Reply("331 Passwort.\r\n").Reply("300 Konto.\r\n").Reply("230 Ja.\r\n")
            .Reply("200 A\r\n").Reply("200 S\r\n").Reply("200 F\r\n");
        fake.server.Start();
        EXPECT_EQ(fake.Login(), UTE_SUCCESS);
        fake.client.Logout();
        fake.server.Finish();
        EXPECT_EQ(fake.server.Commands().at(2), "ACCT konto");
    }
    {
        FakeLogin fake;
        fake.server.Greet(kGreeting).Reply("331 Passwort.\r\n").Reply("300 Konto.\r\n").Reply("530 Nein.\r\n");
        fake.server.Start();
        EXPECT_EQ(fake.Login(), UTE_ACCT_NA);
    }
    {
        FakeLogin fake;
        fake.server.Greet(kGreeting).Reply("331 Passwort.\r\n").Reply("530 Falsch.\r\n");
        fake.server.Start();
        EXPECT_EQ(fake.Login(), UTE_PASS_NA);
        EXPECT_EQ(fake.client.GetLastResponse(), "530 Falsch.");
    }
    {
        FakeLogin fake;
        fake.server.Greet(kGreeting).Reply("530 Unbekannt.\r\n");
        fake.server.Start();
        EXPECT_EQ(fake.Login(), UTE_USER_NA);
    }
    {
        FakeLogin fake;  // a user without password
        fake.server.Greet(kGreeting).Reply("230 Ja.\r\n").Reply("200 A\r\n").Reply("200 S\r\n").Reply("200 F\r\n");
        fake.server.Start();
        EXPECT_EQ(fake.Login(), UTE_SUCCESS);
    }
    {
        FakeLogin fake;
        fake.server.Greet(kGreeting).Reply("331 Passwort.\r\n").Reply("");
        fake.server.Start();
        fake.client.SetReceiveTimeout(kSilenceMs);
        EXPECT_EQ(fake.Login(), UTE_NO_RESPONSE);
    }
}

TEST(FtpClientLogin, GreetingDecidesTheConnect)
{
    {
        FakeLogin fake;  // accepts and never greets
        fake.server.Greet("");
        fake.server.Start();
        fake.client.SetReceiveTimeout(kSilenceMs);
        EXPECT_EQ(fake.Login(), UTE_NO_RESPONSE);
        EXPECT_FALSE(fake.client.IsConnected());
    }
    {
        FakeLogin fake;
        fake.server.Greet("421 Zu viele Nutzer.\r\n");
        fake.server.Start();
        EXPECT_EQ(fake.Login(), UTE_CONNECT_FAILED);
        EXPECT_FALSE(fake.client.IsConnected());
        EXPECT_EQ(fake.client.GetLastResponse(), "421 Zu viele Nutzer.");
    }
    {
        FakeLogin fake;  // a multi-line greeting
        fake.server.Greet("220-Lager\r\n220 bereit\r\n").AcceptLogin();
        fake.server.Start();
        EXPECT_EQ(fake.Login(), UTE_SUCCESS);
    }
    FtpClient client;
    UnansweredPort silent;
    client.SetControlPort(silent.Port());
    client.SetConnectTimeout(1);
    EXPECT_EQ(client.Login("127.0.0.1", "lager", "geheim"), UTE_CONNECT_TIMEOUT);
}

TEST(FtpClientLogin, AGreetingThatNeverEndsIsNoGreeting)
{
    std::string greeting = "220-Lager\r\n";
    for (int line = 0; line < 10001; ++line)
        greeting += "220-und weiter\r\n";
    FakeLogin fake;
    fake.server.Greet(greeting).AcceptLogin();
    fake.server.Start();
    fake.client.SetReceiveTimeout(kSilenceMs);
    EXPECT_EQ(fake.Login(), UTE_NO_RESPONSE);
    EXPECT_FALSE(fake.client.IsConnected());
}

TEST(FtpClientCommands, SilentServerGivesNoResponseAndKeepsTheLastResponse)
{
    FakeLogin fake;
    fake.server.Greet(kGreeting).AcceptLogin().Reply("");
    fake.server.Start();
    ASSERT_EQ(fake.Login(), UTE_SUCCESS);
    const std::string before = fake.client.GetLastResponse();
    fake.client.SetReceiveTimeout(kSilenceMs);
    EXPECT_EQ(fake.client.Noop(), UTE_NO_RESPONSE);
    EXPECT_EQ(fake.client.GetLastResponse(), before);
}

TEST(FtpClientCommands, OutOfRangeOptionsSendNothing)
{
    FakeLogin fake;
    fake.server.Greet(kGreeting).AcceptLogin().Reply("200 TYPE I.\r\n").Reply("504 MODE B nicht.\r\n");
    fake.server.Start();
    ASSERT_EQ(fake.Login(), UTE_SUCCESS);
    EXPECT_EQ(fake.client.SetTransferMode(3), UTE_PARAMETER_INVALID_VALUE);
    EXPECT_EQ(fake.client.SetTransferType(2), UTE_PARAMETER_INVALID_VALUE);
    EXPECT_EQ(fake.client.SetStructure(-1), UTE_PARAMETER_INVALID_VALUE);
    EXPECT_EQ(fake.client.SetTransferType(1), UTE_SUCCESS);
    EXPECT_EQ(fake.client.GetTransferType(), 1);
    EXPECT_EQ(fake.client.SetTransferMode(1), UTE_SVR_REQUEST_DENIED);
    EXPECT_EQ(fake.client.GetTransferMode(), 0);
    EXPECT_EQ(fake.CommandsAfterLogin(), (Lines{"TYPE I", "MODE B", "Quit"}));
}

TEST(FtpClientCommands, SimpleCommandsAndTheirReplyRanges)
{
    FakeLogin fake;
    fake.server.Greet(kGreeting).AcceptLogin()
        .Reply("250 OK.\r\n")
        .Reply("550 Gibt es nicht.\r\n")
        .Reply("250 OK.\r\n")
        .Reply("257 \"/pub/1001/SPOOL\" ist das aktuelle Verzeichnis.\r\n")
        .Reply("257 Neu.\r\n")
        .Reply("250 Weg.\r\n")
        .Reply("250 Geloescht.\r\n")
        .Reply("350 Weiter.\r\n").Reply("250 Umbenannt.\r\n")
        .Reply("550 Fehlt.\r\n")
        .Reply("350 Weiter.\r\n").Reply("553 Nein.\r\n")
        .Reply("214-Befehle:\r\n USER PASS\r\n214 Ende.\r\n")
        .Reply("214 USER name\r\n")
        .Reply("500 Unbekannt.\r\n")
        .Reply("200 NOOP.\r\n");
    fake.server.Start();
    ASSERT_EQ(fake.Login(), UTE_SUCCESS);
    FtpClient& c = fake.client;
    EXPECT_EQ(c.ChangeDirectory("/pub"), UTE_SUCCESS);
    EXPECT_EQ(c.ChangeDirectory("fehlt"), UTE_SVR_REQUEST_DENIED);
    EXPECT_EQ(c.ChangeDirectoryUp(), UTE_SUCCESS);
    std::string directory;
    EXPECT_EQ(c.GetCurrentDirectory(directory), UTE_SUCCESS);
    EXPECT_EQ(directory, "/pub/1001/SPOOL");
    EXPECT_EQ(c.MakeDirectory("neu"), UTE_SUCCESS);
    EXPECT_EQ(c.RemoveDirectory("neu"), UTE_SUCCESS);
    EXPECT_EQ(c.DeleteFile("a.pdf"), UTE_SUCCESS);
    EXPECT_EQ(c.Rename("a.pdf", "b.pdf"), UTE_SUCCESS);
    EXPECT_EQ(c.Rename("x.pdf", "y.pdf"), UTE_RNFR_NA);
    EXPECT_EQ(c.Rename("b.pdf", "/etc/c.pdf"), UTE_RNTO_NA);
    EXPECT_EQ(c.Help(""), UTE_SUCCESS);
    EXPECT_EQ(c.GetResponseLineCount(), 3);
    EXPECT_EQ(c.GetResponseLine(1), " USER PASS");
    EXPECT_EQ(c.Help("USER"), UTE_SUCCESS);
    EXPECT_EQ(c.GetResponseLineCount(), 1);
    EXPECT_EQ(c.Quote(""), UTE_QUOTE_LINE_IS_EMPTY);
    EXPECT_EQ(c.GetLastResponse(), "");
    EXPECT_EQ(c.Quote("SITE CHMOD 600 a.pdf"), UTE_SUCCESS);
    EXPECT_EQ(c.GetLastResponse(), "500 Unbekannt.");
    EXPECT_EQ(c.Noop(), UTE_SUCCESS);
    EXPECT_EQ(fake.CommandsAfterLogin(),
              (Lines{"CWD /pub", "CWD fehlt", "CDUP", "PWD", "MKD neu", "RMD neu", "DELE a.pdf", "RNFR a.pdf",
                     "RNTO b.pdf", "RNFR x.pdf", "RNFR b.pdf", "RNTO /etc/c.pdf", "HELP", "HELP USER",
                     "SITE CHMOD 600 a.pdf", "NOOP", "Quit"}));
}

TEST(FtpClientCommands, SftpModeAnswersTheProtocolOptionsItself)
{
    FtpClient client;
    client.SetSftpMode(1);
    EXPECT_EQ(client.SetTransferType(0), UTE_SUCCESS);
    EXPECT_EQ(client.SetTransferMode(2), UTE_SUCCESS);
    EXPECT_EQ(client.SetStructure(1), UTE_SUCCESS);
    EXPECT_EQ(client.SetTransferMode(3), UTE_PARAMETER_INVALID_VALUE);
    EXPECT_EQ(client.Noop(), UTE_SUCCESS);
    EXPECT_EQ(client.Help("x"), UTE_SUCCESS);
}

TEST(FtpClientCommands, WithoutConnectionEveryCommandHasNoResponse)
{
    FtpClient client;
    EXPECT_EQ(client.Noop(), UTE_NO_RESPONSE);
    EXPECT_EQ(client.ChangeDirectory("/"), UTE_NO_RESPONSE);
    EXPECT_EQ(client.GetLastResponse(), "");
    FtpDirEntry entry;
    EXPECT_EQ(client.GetDirEntry(0, entry), UTE_INDEX_OUTOFRANGE);
    EXPECT_EQ(client.Logout(), UTE_SUCCESS);
}
