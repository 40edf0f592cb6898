#include "net/sftp_binding.h"

#include "sftp_stub_component.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

void ExpectEveryCallButConnectFails(SftpBinding& binding)
{
    std::string directory = "unchanged";
    std::vector<std::string> lines{"kept"};
    EXPECT_FALSE(binding.Pwd(directory));
    EXPECT_EQ(directory, "unchanged");
    EXPECT_FALSE(binding.Put("/tmp/local.pdf", "remote.pdf"));
    EXPECT_FALSE(binding.Get("/tmp/local.pdf", "remote.pdf"));
    EXPECT_FALSE(binding.List(lines));
    EXPECT_EQ(lines, std::vector<std::string>{"kept"});
    EXPECT_FALSE(binding.ChangeDirectory("SPOOL"));
    EXPECT_FALSE(binding.MakeDirectory("new"));
    EXPECT_FALSE(binding.RemoveDirectory("old"));
    EXPECT_FALSE(binding.Delete("a.pdf"));
    EXPECT_FALSE(binding.Rename("a.pdf", "b.pdf"));
    binding.Disconnect();
}

TEST(SftpBinding, LoadsOnlyAComponentWithEveryEntryPoint)
{
    StubComponent complete(SFTP_STUB_COMPLETE_DIR);
    ASSERT_TRUE(complete.Usable());
    EXPECT_TRUE(SftpBinding(SFTP_STUB_COMPLETE_DIR).IsLoaded());

    StubComponent incomplete(SFTP_STUB_INCOMPLETE_DIR);
    ASSERT_TRUE(incomplete.Usable());
    SftpBinding lacking(SFTP_STUB_INCOMPLETE_DIR);
    EXPECT_FALSE(lacking.IsLoaded());
    EXPECT_FALSE(lacking.Connect("store", "user", "secret"));
    EXPECT_FALSE(lacking.IsConnected());
    ExpectEveryCallButConnectFails(lacking);
    EXPECT_NE(lacking.GetLastError().find("psftp_dll_rename"), std::string::npos);
    EXPECT_EQ(incomplete.TakeCalls(), "");

    SftpBinding missing(SFTP_STUB_COMPLETE_DIR "/nowhere");
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_FALSE(missing.Connect("store", "user", "secret"));
    EXPECT_EQ(missing.GetLastError().rfind(SFTP_STUB_COMPLETE_DIR "/nowhere/psftp_dll.so", 0), 0u);

    // An empty folder text still names a folder: the root.
    SftpBinding empty("");
    EXPECT_FALSE(empty.IsLoaded());
    EXPECT_EQ(empty.GetLastError().rfind("/psftp_dll.so", 0), 0u);
    EXPECT_EQ(complete.TakeCalls(), "");
}

TEST(SftpBinding, RefusesAComponentThatAnyoneButItsOwnerCouldReplace)
{
    ScratchFolder folder;
    const std::string copy = folder / "psftp_dll.so";
    std::filesystem::copy_file(SFTP_STUB_COMPLETE_DIR "/psftp_dll.so", copy);
    struct Case {
        mode_t mode;
        uid_t owner;
        bool loaded;
    };
    for (const Case& c : {Case{0755, 0, true}, Case{0700, geteuid(), true}, Case{0775, 0, false},
                          Case{0757, 0, false}, Case{0755, 65534, false}}) {
        ASSERT_EQ(chown(copy.c_str(), c.owner, 0), 0);
        ASSERT_EQ(chmod(copy.c_str(), c.mode), 0);
        SftpBinding binding(folder.Path());
        EXPECT_EQ(binding.IsLoaded(), c.loaded) << std::oct << c.mode << " " << std::dec << c.owner;
        if (!c.loaded) {
            EXPECT_EQ(binding.GetLastError().rfind(copy + ": ", 0), 0u) << binding.GetLastError();
        }
    }
}

TEST(SftpBinding, WithoutConnectionOnlyTheErrorTextIsAsked)
{
    StubComponent stub(SFTP_STUB_COMPLETE_DIR);
    ASSERT_TRUE(stub.Usable());
    SftpBinding binding(SFTP_STUB_COMPLETE_DIR);
    ASSERT_TRUE(binding.IsLoaded());
    ExpectEveryCallButConnectFails(binding);
    EXPECT_EQ(stub.TakeCalls(), "");

    // A refused connect leaves the binding without connection, and the component's text
    // of the failed connect is asked for with handle 0.
    stub.SetFailing(true);
    EXPECT_FALSE(binding.Connect("store", "user", "wrong"));
    EXPECT_FALSE(binding.IsConnected());
    EXPECT_EQ(binding.GetLastError(), "stub error of handle 0");
    ExpectEveryCallButConnectFails(binding);
    EXPECT_EQ(stub.TakeCalls(),
              "connect_port store 22 user wrong\n"
              "get_last_error 0 8190\n");
}

TEST(SftpBinding, WrappersPassArgumentsAndResults)
{
    StubComponent stub(SFTP_STUB_COMPLETE_DIR);
    ASSERT_TRUE(stub.Usable());
    {
        SftpBinding binding(SFTP_STUB_COMPLETE_DIR);
        EXPECT_EQ(binding.Port(), 22);
        binding.SetPort(2222);
        ASSERT_TRUE(binding.Connect("store.example", "kv", "pass word"));
        EXPECT_TRUE(binding.IsConnected());

        std::string directory;
        EXPECT_TRUE(binding.Pwd(directory));
        EXPECT_EQ(directory, "/home/stub");
        EXPECT_TRUE(binding.Put("/spool/in.pdf", "in.pdf"));
        EXPECT_TRUE(binding.Get("/spool/DELV/out.tmp", "out.pdf"));
        std::vector<std::string> lines{"stale line"};
        EXPECT_TRUE(binding.List(lines));
        EXPECT_EQ(lines, (std::vector<std::string>{
                             "-rw-r--r--    1 stub     stub         5 Jan  2  2024 one.pdf",
                             "drwxr-xr-x    2 stub     stub      4096 Mar  4 12:30 two"}));
        EXPECT_TRUE(binding.ChangeDirectory("/pub/SPOOL"));
        EXPECT_TRUE(binding.MakeDirectory("RL"));
        EXPECT_TRUE(binding.RemoveDirectory("RL"));
        EXPECT_TRUE(binding.Delete("out.pdf"));
        EXPECT_TRUE(binding.Rename("a.pdf", "b.pdf"));
        EXPECT_EQ(binding.GetLastError(), "stub error of handle 7");

        stub.SetFailing(true);
        directory = "before";
        EXPECT_FALSE(binding.Pwd(directory));
        EXPECT_EQ(directory, "before");
        EXPECT_FALSE(binding.Put("/spool/in.pdf", "in.pdf"));
        EXPECT_FALSE(binding.Get("/spool/DELV/out.tmp", "out.pdf"));
        EXPECT_FALSE(binding.List(lines));
        EXPECT_TRUE(lines.empty());
        EXPECT_FALSE(binding.ChangeDirectory("missing"));
        EXPECT_FALSE(binding.MakeDirectory("RL"));
        EXPECT_FALSE(binding.RemoveDirectory("RL"));
        EXPECT_FALSE(binding.Delete("out.pdf"));
        EXPECT_FALSE(binding.Rename("a.pdf", "b.pdf"));
        // Failed calls keep the connection.
        EXPECT_TRUE(binding.IsConnected());
        stub.SetFailing(false);
    }
    // Destroying a connected binding closes its connection before unloading.
    EXPECT_EQ(stub.TakeCalls(),
              "connect_port store.example 2222 kv pass word\n"
              "pwd 7 250\n"
              "put 7 /spool/in.pdf in.pdf\n"
              "get 7 /spool/DELV/out.tmp out.pdf\n"
              "ls 7\n"
              "chdir 7 /pub/SPOOL\n"
              "mkdir 7 RL\n"
              "rmdir 7 RL\n"
              "delete 7 out.pdf\n"
              "rename 7 a.pdf b.pdf\n"
              "get_last_error 7 8190\n"
              "pwd 7 250\n"
              "put 7 /spool/in.pdf in.pdf\n"
              "get 7 /spool/DELV/out.tmp out.pdf\n"
              "ls 7\n"
              "chdir 7 missing\n"
              "mkdir 7 RL\n"
              "rmdir 7 RL\n"
              "delete 7 out.pdf\n"
              "rename 7 a.pdf b.pdf\n"
              "disconnect 7\n");
}

TEST(SftpBinding, DisconnectEndsTheConnectionOnce)
{
    StubComponent stub(SFTP_STUB_COMPLETE_DIR);
    ASSERT_TRUE(stub.Usable());
    SftpBinding binding(SFTP_STUB_COMPLETE_DIR);
    ASSERT_TRUE(binding.Connect("store", "user", "secret"));
    binding.Disconnect();
    EXPECT_FALSE(binding.IsConnected());
    binding.Disconnect();
    ExpectEveryCallButConnectFails(binding);
    EXPECT_EQ(stub.TakeCalls(), "connect_port store 22 user secret\ndisconnect 7\n");
}

}  // namespace
