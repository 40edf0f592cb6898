// The connection of a fetch stage: its progress hook, and the log-in with the store
// settings in either protocol.
#include "spool/store_connection.h"

#include "net/result_codes.h"
#include "net/sftp_stub_component.h"
#include "fakes/recording_display_fields.h"
#include "servers/fake_ftp_server.h"
#include "support/scratch_folder.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(StoreConnection, DownloadsMoveTheFileProgressBarWhileTheFlagIsSet)
{
    ScratchFolder folder;
    FakeFtpServer server;
    const std::string document = PatternBytes(5000);
    server.Greet("220 Lager.\r\n").AcceptLogin();
    for (int download = 0; download < 3; ++download)
        server.Passive().SendData(FtpDataStep{.data = document});
    server.Start();

    StoreConnection connection;
    // Keeps every position the file progress bar was given.
    struct : RecordingDisplayFields {
        void SetFileProgressPosition(std::int64_t position) override { positions.push_back(position); }
        std::vector<std::int64_t> positions;
    } display;
    connection.SetControlPort(server.Port());
    connection.SetPassiveMode(1);
    ASSERT_EQ(connection.Login("127.0.0.1", "kv", "secret"), UTE_SUCCESS);
    EXPECT_FALSE(connection.IsAborted());

    // Without an owner, and with the flag not set, nothing is shown.
    connection.SetReceiveProgress(true);
    ASSERT_EQ(connection.GetFile("a.pdf", folder / "a"), UTE_SUCCESS);
    connection.SetOwner(&display);
    connection.SetReceiveProgress(false);
    connection.SetSendProgress(true);
    ASSERT_EQ(connection.GetFile("a.pdf", folder / "b"), UTE_SUCCESS);
    EXPECT_TRUE(display.positions.empty());

    connection.SetReceiveProgress(true);
    ASSERT_EQ(connection.GetFile("a.pdf", folder / "c"), UTE_SUCCESS);
    ASSERT_FALSE(display.positions.empty());
    EXPECT_TRUE(std::is_sorted(display.positions.begin(), display.positions.end()));
    EXPECT_EQ(display.positions.back(), 5000);
    EXPECT_EQ(ReadTestFile(folder / "c"), document);
    connection.Logout();
    server.Finish();
}

TEST(StoreConnection, OpenStoreLogsInWithTheStoreSettings)
{
    StationSettings settings;
    settings.KV_FTP_Store = "store.example";
    settings.KV_FTP_Store_User = "kv";
    settings.KV_FTP_Store_Password = "pass word";
    settings.KV_Sftp_Mode = 1;
    settings.ProgramFolder = SFTP_STUB_COMPLETE_DIR;
    StubComponent stub(SFTP_STUB_COMPLETE_DIR);
    ASSERT_TRUE(stub.Usable());
    {
        StoreConnection connection;
        ASSERT_EQ(OpenStore(connection, settings), UTE_SUCCESS);
        EXPECT_EQ(connection.GetSftpMode(), 1);
        CloseStore(connection);
        EXPECT_EQ(stub.TakeCalls(), "connect_port store.example 22 kv pass word\ndisconnect 7\n");
    }

    // The FTP form: USER and PASS on the control port, and QUIT at the close.
    FakeFtpServer server;
    server.Greet("220 Lager.\r\n").AcceptLogin();
    server.Start();
    settings.KV_Sftp_Mode = 0;
    settings.KV_FTP_Store = "127.0.0.1";
    StoreConnection connection;
    connection.SetControlPort(server.Port());
    ASSERT_EQ(OpenStore(connection, settings), UTE_SUCCESS);
    EXPECT_EQ(connection.GetSftpMode(), 0);
    CloseStore(connection);
    server.Finish();
    EXPECT_EQ(server.Commands(), (std::vector<std::string>{"USER kv", "PASS pass word", "TYPE A", "MODE S", "STRU F",
                                                           "Quit"}));
    EXPECT_EQ(stub.TakeCalls(), "");
}
