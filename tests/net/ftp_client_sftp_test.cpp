// The FTP client in SFTP mode, on the stand-in component: every operation goes to the
// component, results come back as the client's codes.
#include "net/ftp_client.h"
#include "net/result_codes.h"

#include "sftp_stub_component.h"

#include <gtest/gtest.h>

namespace {

struct SftpClient {
    StubComponent stub{SFTP_STUB_COMPLETE_DIR};
    FtpClient client;

    SftpClient()
    {
        client.SetSftpMode(1);
        client.SetComponentFolder(SFTP_STUB_COMPLETE_DIR);
    }
};

// Every operation that needs the component, without a connection to it.
void ExpectNoConnection(FtpClient& client)
{
    std::string directory;
    FtpDirEntry entry;
    EXPECT_EQ(client.ChangeDirectory("SPOOL"), UTE_SVR_DATA_CONNECT_FAILED);
    EXPECT_EQ(client.ChangeDirectoryUp(), UTE_SVR_DATA_CONNECT_FAILED);
    EXPECT_EQ(client.MakeDirectory("RL"), UTE_SVR_DATA_CONNECT_FAILED);
    EXPECT_EQ(client.RemoveDirectory("RL"), UTE_SVR_DATA_CONNECT_FAILED);
    EXPECT_EQ(client.DeleteFile("a.pdf"), UTE_SVR_DATA_CONNECT_FAILED);
    EXPECT_EQ(client.Rename("a.pdf", "b.pdf"), UTE_SVR_DATA_CONNECT_FAILED);
    EXPECT_EQ(client.GetCurrentDirectory(directory), UTE_SVR_DATA_CONNECT_FAILED);
    EXPECT_EQ(client.GetFile("a.pdf", "/tmp/a.part"), UTE_SVR_DATA_CONNECT_FAILED);
    EXPECT_EQ(client.PutFile("/tmp/a.pdf", "a.pdf"), UTE_SVR_DATA_CONNECT_FAILED);
    EXPECT_EQ(client.ListDirectory(), UTE_SVR_DATA_CONNECT_FAILED);
    EXPECT_EQ(client.GetDirEntry(0, entry), UTE_SVR_DATA_CONNECT_FAILED);
    EXPECT_EQ(client.GetDirEntryCount(), 0);
}

}  // namespace

TEST(FtpClientSftp, OperationsGoToTheComponent)
{
    SftpClient sftp;
    ASSERT_TRUE(sftp.stub.Usable());
    FtpClient& client = sftp.client;
    client.SetSftpPort(2222);
    ASSERT_EQ(client.Login("store.example", "kv", "pass word", "ignored"), UTE_SUCCESS);
    EXPECT_EQ(client.GetLastResponse(), "");

    std::string directory;
    EXPECT_EQ(client.ChangeDirectory("/pub/SPOOL"), UTE_SUCCESS);
    EXPECT_EQ(client.ChangeDirectoryUp(), UTE_SUCCESS);
    EXPECT_EQ(client.MakeDirectory("RL"), UTE_SUCCESS);
    EXPECT_EQ(client.RemoveDirectory("RL"), UTE_SUCCESS);
    EXPECT_EQ(client.DeleteFile("a.pdf"), UTE_SUCCESS);
    EXPECT_EQ(client.Rename("a.pdf", "b.pdf"), UTE_SUCCESS);
    EXPECT_EQ(client.GetCurrentDirectory(directory), UTE_SUCCESS);
    EXPECT_EQ(directory, "/home/stub");
    EXPECT_EQ(client.GetFile("DELV/a.pdf", "/spool/DELV/a.pdf.part"), UTE_SUCCESS);
    EXPECT_EQ(client.PutFile("/spool/in.pdf", "in.pdf"), UTE_SUCCESS);
    // What has no meaning for SFTP succeeds without a call.
    EXPECT_EQ(client.SetTransferType(0), UTE_SUCCESS);
    EXPECT_EQ(client.SetTransferMode(2), UTE_SUCCESS);
    EXPECT_EQ(client.SetStructure(1), UTE_SUCCESS);
    EXPECT_EQ(client.SetTransferMode(3), UTE_PARAMETER_INVALID_VALUE);
    EXPECT_EQ(client.Noop(), UTE_SUCCESS);
    EXPECT_EQ(client.Help("LIST"), UTE_SUCCESS);

    // The entries come one after the other from the listing lines, whatever the index.
    ASSERT_EQ(client.ListDirectory(), UTE_SUCCESS);
    ASSERT_EQ(client.GetDirEntryCount(), 2);
    FtpDirEntry entry;
    ASSERT_EQ(client.GetDirEntry(1, entry), UTE_SUCCESS);
    EXPECT_EQ(entry.name, "one.pdf");
    EXPECT_EQ(entry.size, 5);
    EXPECT_EQ(entry.isDir, 0);
    ASSERT_EQ(client.GetDirEntry(0, entry), UTE_SUCCESS);
    EXPECT_EQ(entry.name, "two");
    EXPECT_EQ(entry.isDir, 1);
    entry.name = "kept";
    EXPECT_EQ(client.GetDirEntry(2, entry), UTE_INDEX_OUTOFRANGE);
    EXPECT_EQ(entry.name, "kept");
    // A new listing starts at its first line again.
    ASSERT_EQ(client.ListDirectory(), UTE_SUCCESS);
    ASSERT_EQ(client.GetDirEntry(0, entry), UTE_SUCCESS);
    EXPECT_EQ(entry.name, "one.pdf");

    EXPECT_EQ(client.Logout(), UTE_SUCCESS);
    ExpectNoConnection(client);
    EXPECT_EQ(sftp.stub.TakeCalls(),
              "connect_port store.example 2222 kv pass word\n"
              "chdir 7 /pub/SPOOL\n"
              "chdir 7 ..\n"
              "mkdir 7 RL\n"
              "rmdir 7 RL\n"
              "delete 7 a.pdf\n"
              "rename 7 a.pdf b.pdf\n"
              "pwd 7 250\n"
              "get 7 /spool/DELV/a.pdf.part DELV/a.pdf\n"
              "put 7 /spool/in.pdf in.pdf\n"
              "ls 7\n"
              "ls 7\n"
              "disconnect 7\n");
}

TEST(FtpClientSftp, FailedCallsGiveTheComponentsText)
{
    SftpClient sftp;
    ASSERT_TRUE(sftp.stub.Usable());
    FtpClient& client = sftp.client;
    ASSERT_EQ(client.Login("store", "kv", "secret"), UTE_SUCCESS);
    sftp.stub.SetFailing(true);

    std::string directory = "unchanged";
    EXPECT_EQ(client.ChangeDirectory("missing"), UTE_SVR_REQUEST_DENIED);
    EXPECT_EQ(client.GetLastResponse(), "stub error of handle 7");
    EXPECT_EQ(client.ChangeDirectoryUp(), UTE_SVR_REQUEST_DENIED);
    EXPECT_EQ(client.MakeDirectory("RL"), UTE_SVR_REQUEST_DENIED);
    EXPECT_EQ(client.RemoveDirectory("RL"), UTE_SVR_REQUEST_DENIED);
    EXPECT_EQ(client.DeleteFile("a.pdf"), UTE_SVR_REQUEST_DENIED);
    EXPECT_EQ(client.Rename("a.pdf", "b.pdf"), UTE_SVR_REQUEST_DENIED);
    EXPECT_EQ(client.GetCurrentDirectory(directory), UTE_SVR_REQUEST_DENIED);
    EXPECT_EQ(directory, "unchanged");
    EXPECT_EQ(client.GetFile("a.pdf", "/tmp/a.part"), UTE_RETR_FAILED);
    EXPECT_EQ(client.PutFile("/tmp/a.pdf", "a.pdf"), UTE_STOR_FAILED);
    EXPECT_EQ(client.ListDirectory(), UTE_LIST_FAILED);
    EXPECT_EQ(client.GetLastResponse(), "stub error of handle 7");
    EXPECT_EQ(client.GetDirEntryCount(), 0);
    sftp.stub.SetFailing(false);

    // A destroyed client closes its connection.
    sftp.stub.TakeCalls();
    {
        FtpClient other;
        other.SetSftpMode(1);
        other.SetComponentFolder(SFTP_STUB_COMPLETE_DIR);
        ASSERT_EQ(other.Login("second", "kv", "secret"), UTE_SUCCESS);
    }
    EXPECT_EQ(sftp.stub.TakeCalls(), "connect_port second 22 kv secret\ndisconnect 7\n");
}

TEST(FtpClientSftp, RefusedLoginLeavesNoConnection)
{
    SftpClient sftp;
    ASSERT_TRUE(sftp.stub.Usable());
    FtpClient& client = sftp.client;
    sftp.stub.SetFailing(true);
    EXPECT_EQ(client.Login("store", "kv", "wrong"), UTE_CONNECT_FAILED);
    EXPECT_EQ(client.GetLastResponse(), "stub error of handle 0");
    sftp.stub.SetFailing(false);
    ExpectNoConnection(client);
    EXPECT_EQ(sftp.stub.TakeCalls(), "connect_port store 22 kv wrong\nget_last_error 0 8190\n");

    // A second log-in replaces the failed one.
    ASSERT_EQ(client.Login("store", "kv", "right"), UTE_SUCCESS);
    EXPECT_EQ(client.GetLastResponse(), "");
    EXPECT_EQ(client.ChangeDirectory("SPOOL"), UTE_SUCCESS);

    // Without the component the reason why it did not load is the response.
    FtpClient lost;
    lost.SetSftpMode(1);
    lost.SetComponentFolder(SFTP_STUB_COMPLETE_DIR "/nowhere");
    EXPECT_EQ(lost.Login("store", "kv", "right"), UTE_CONNECT_FAILED);
    EXPECT_EQ(lost.GetLastResponse().rfind(SFTP_STUB_COMPLETE_DIR "/nowhere/psftp_dll.so", 0), 0u);
    ExpectNoConnection(lost);
}
