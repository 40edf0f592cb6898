// The FTP client against a real FTP server on loopback, in active and in passive mode.
#include "net/ftp_client.h"
#include "net/result_codes.h"

#include "fixtures/local_ftp_server.h"
#include "support/scratch_folder.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class FtpRealServer : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(server.Start(error)) << error;
        client.SetControlPort(server.Port());
    }
    int Login() { return client.Login("127.0.0.1", LocalFtpServer::kUser, LocalFtpServer::kPassword); }

    LocalFtpServer server;
    FtpClient client;
    ScratchFolder local;
};

std::string ModeName(const ::testing::TestParamInfo<int>& info)
{
    return info.param ? "Passive" : "Active";
}

}  // namespace

TEST_P(FtpRealServer, StoreRoundTrip)
{
    ASSERT_EQ(Login(), UTE_SUCCESS);
    client.SetPassiveMode(GetParam());

    ASSERT_EQ(client.MakeDirectory("DELV"), UTE_SUCCESS);
    ASSERT_EQ(client.ChangeDirectory("DELV"), UTE_SUCCESS);
    std::string directory;
    ASSERT_EQ(client.GetCurrentDirectory(directory), UTE_SUCCESS);
    EXPECT_EQ(directory, "/DELV");

    const std::string bytes = PatternBytes(50000);
    WriteTestFile(local / "quelle.pdf", bytes);
    ASSERT_EQ(client.SetTransferType(1), UTE_SUCCESS);
    ASSERT_EQ(client.PutFile(local / "quelle.pdf", "Lieferung 1.pdf"), UTE_SUCCESS);
    EXPECT_EQ(ReadTestFile(server / "DELV/Lieferung 1.pdf"), bytes);

    ASSERT_EQ(client.SetTransferType(0), UTE_SUCCESS);
    ASSERT_EQ(client.ListDirectory(), UTE_SUCCESS);
    ASSERT_EQ(client.GetDirEntryCount(), 1);
    FtpDirEntry entry;
    ASSERT_EQ(client.GetDirEntry(0, entry), UTE_SUCCESS);
    EXPECT_EQ(entry.name, "Lieferung 1.pdf");
    EXPECT_EQ(entry.size, 50000);
    EXPECT_EQ(entry.isDir, 0);

    ASSERT_EQ(client.SetTransferType(1), UTE_SUCCESS);
    ASSERT_EQ(client.GetFile("Lieferung 1.pdf", local / "geholt.pdf"), UTE_SUCCESS);
    EXPECT_EQ(ReadTestFile(local / "geholt.pdf"), bytes);

    WriteTestFile(local / "teil.pdf", bytes.substr(0, 12345));
    ASSERT_EQ(client.ResumeFile("Lieferung 1.pdf", local / "teil.pdf"), UTE_SUCCESS);
    EXPECT_EQ(ReadTestFile(local / "teil.pdf"), bytes);

    EXPECT_EQ(client.GetFile("fehlt.pdf", local / "fehlt.pdf"), UTE_RETR_FAILED);
    EXPECT_EQ(client.Rename("Lieferung 1.pdf", "erledigt.pdf"), UTE_SUCCESS);
    EXPECT_EQ(client.Rename("fehlt.pdf", "x.pdf"), UTE_RNFR_NA);
    EXPECT_EQ(client.DeleteFile("erledigt.pdf"), UTE_SUCCESS);
    EXPECT_EQ(client.DeleteFile("erledigt.pdf"), UTE_SVR_REQUEST_DENIED);
    EXPECT_FALSE(std::filesystem::exists(server / "DELV/erledigt.pdf"));

    ASSERT_EQ(client.ChangeDirectoryUp(), UTE_SUCCESS);
    EXPECT_EQ(client.ChangeDirectory("fehlt"), UTE_SVR_REQUEST_DENIED);
    EXPECT_EQ(client.RemoveDirectory("DELV"), UTE_SUCCESS);
    EXPECT_FALSE(std::filesystem::exists(server / "DELV"));
    EXPECT_EQ(client.Noop(), UTE_SUCCESS);
    EXPECT_EQ(client.Logout(), UTE_SUCCESS);
    EXPECT_FALSE(client.IsConnected());
}

TEST_P(FtpRealServer, PassiveAndActiveFormsCanBeChosenPerCall)
{
    ASSERT_EQ(Login(), UTE_SUCCESS);
    client.SetPassiveMode(GetParam());
    ASSERT_EQ(client.SetTransferType(1), UTE_SUCCESS);
    WriteTestFile(local / "a.pdf", "Deckblatt");
    ASSERT_EQ(client.PutFileFromName(local / "a.pdf", "a.pdf"), UTE_SUCCESS);
    ASSERT_EQ(client.PutFile(local / "a.pdf", "b.pdf"), UTE_SUCCESS);
    ASSERT_EQ(client.ListPassive(), UTE_SUCCESS);
    EXPECT_EQ(client.GetDirEntryCount(), 2);
    ASSERT_EQ(client.GetFileToName("b.pdf", local / "b.pdf"), UTE_SUCCESS);
    EXPECT_EQ(ReadTestFile(local / "b.pdf"), "Deckblatt");
    FileTransferSource partial(local / "c.pdf");
    WriteTestFile(local / "c.pdf", "Deck");
    ASSERT_EQ(client.ResumePassive(partial, "a.pdf"), UTE_SUCCESS);
    EXPECT_EQ(ReadTestFile(local / "c.pdf"), "Deckblatt");
}

INSTANTIATE_TEST_SUITE_P(Modes, FtpRealServer, ::testing::Values(0, 1), ModeName);

TEST_P(FtpRealServer, FetchAndDeleteOverIpv6)
{
    LocalFtpServer server6;
    std::string error;
    ASSERT_TRUE(server6.Start(error, "::1")) << error;
    client.SetControlPort(server6.Port());
    ASSERT_EQ(client.Login("::1", LocalFtpServer::kUser, LocalFtpServer::kPassword), UTE_SUCCESS);
    client.SetPassiveMode(GetParam());
    WriteTestFile(server6 / "a.pdf", "Deckblatt");
    ASSERT_EQ(client.ListDirectory(), UTE_SUCCESS);
    EXPECT_EQ(client.GetDirEntryCount(), 1);
    ASSERT_EQ(client.GetFile("a.pdf", local / "a.pdf"), UTE_SUCCESS);
    EXPECT_EQ(ReadTestFile(local / "a.pdf"), "Deckblatt");
    EXPECT_EQ(client.DeleteFile("a.pdf"), UTE_SUCCESS);
    EXPECT_FALSE(std::filesystem::exists(server6 / "a.pdf"));
}

TEST(FtpRealServerLogin, WrongPasswordIsRefused)
{
    LocalFtpServer server;
    std::string error;
    ASSERT_TRUE(server.Start(error)) << error;
    FtpClient client;
    client.SetControlPort(server.Port());
    EXPECT_EQ(client.Login("localhost", LocalFtpServer::kUser, "falsch"), UTE_PASS_NA);
    EXPECT_EQ(client.GetLastResponse().substr(0, 3), "530");
}
