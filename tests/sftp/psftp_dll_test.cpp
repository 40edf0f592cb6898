// The SFTP component on its own, loaded the way the station loads it, against a private
// OpenSSH server on loopback.
#include "psftp_dll.h"

#include <arpa/inet.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utime.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/scratch_folder.h"
#include "support/test_files.h"
#include "fixtures/sshd_fixture.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Tokens(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;) {
        tokens.push_back(token);
    }
    return tokens;
}

// The component, loaded with dlopen and bound by the names the station uses.
struct Component {
    Component()
    {
        library = dlopen(PSFTP_DLL_DIR "/psftp_dll.so", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            return;
        }
        Bind(connect, "psftp_dll_connect");
        Bind(connectPort, "psftp_dll_connect_port");
        Bind(disconnect, "psftp_dll_disconnect");
        Bind(getLastError, "psftp_dll_get_last_error");
        Bind(pwd, "psftp_dll_pwd");
        Bind(put, "psftp_dll_put");
        Bind(get, "psftp_dll_get");
        Bind(ls, "psftp_dll_ls");
        Bind(chdir, "psftp_dll_chdir");
        Bind(mkdir, "psftp_dll_mkdir");
        Bind(rmdir, "psftp_dll_rmdir");
        Bind(remove, "psftp_dll_delete");
        Bind(rename, "psftp_dll_rename");
        Bind(setTimeouts, "psftp_dll_set_timeouts");
    }
    ~Component()
    {
        if (library != nullptr) {
            dlclose(library);
        }
    }
    template <typename Function>
    void Bind(Function& function, const char* name)
    {
        function = reinterpret_cast<Function>(dlsym(library, name));
        complete = complete && function != nullptr;
    }
    std::string Error(psftp_dll_handle handle)
    {
        char buffer[8192] = {};
        getLastError(handle, buffer, 8190);
        return buffer;
    }
    std::string Pwd(psftp_dll_handle handle)
    {
        char buffer[256] = {};
        return pwd(handle, buffer, 250) == 0 ? buffer : "(failed)";
    }
    std::vector<std::string> List(psftp_dll_handle handle)
    {
        std::vector<std::string> lines;
        const int result = ls(
            handle,
            [](const char* line, void* context) {
                static_cast<std::vector<std::string>*>(context)->emplace_back(line);
                return 0;
            },
            &lines);
        if (result != 1) {
            lines.assign(1, "(failed)");
        }
        return lines;
    }

    void* library = nullptr;
    bool complete = true;
    psftp_dll_connect_fn connect = nullptr;
    psftp_dll_connect_port_fn connectPort = nullptr;
    psftp_dll_disconnect_fn disconnect = nullptr;
    psftp_dll_get_last_error_fn getLastError = nullptr;
    psftp_dll_pwd_fn pwd = nullptr;
    psftp_dll_transfer_fn put = nullptr;
    psftp_dll_transfer_fn get = nullptr;
    psftp_dll_ls_fn ls = nullptr;
    psftp_dll_name_fn chdir = nullptr;
    psftp_dll_name_fn mkdir = nullptr;
    psftp_dll_name_fn rmdir = nullptr;
    psftp_dll_name_fn remove = nullptr;
    psftp_dll_rename_fn rename = nullptr;
    void (*setTimeouts)(int, int) = nullptr;
};

class PsftpDll : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(scratch.Path().empty());
        local = scratch.Path();
        // The component's user: a fresh home without a known_hosts file.
        home = local + "/home";
        fs::create_directories(home);
        setenv("HOME", home.c_str(), 1);
        knownHosts = home + "/.ssh/known_hosts";

        ASSERT_NE(sftp.library, nullptr) << dlerror();
        ASSERT_TRUE(sftp.complete);
        sftp.setTimeouts(15, 30);
        std::string error;
        ASSERT_TRUE(server.Start(error)) << error;
        store = fs::canonical(server.StoreRoot()).string();
    }

    void TearDown() override
    {
        if (handle != 0) {
            sftp.disconnect(handle);
        }
    }

    psftp_dll_handle Connect(const char* password = SshdFixture::Password())
    {
        return sftp.connectPort("127.0.0.1", server.Port(), SshdFixture::User(), password);
    }

    // Puts a file into the store as the server's user would find it.
    void StoreFile(const std::string& relative, const std::string& bytes)
    {
        const fs::path path = fs::path(store) / relative;
        fs::create_directories(path.parent_path());
        WriteTestFile(path, bytes);
        ASSERT_TRUE(server.GiveToUser(store));
    }

    Component sftp;
    SshdFixture server;
    ScratchFolder scratch;
    std::string local;
    std::string home;
    std::string knownHosts;
    std::string store;
    psftp_dll_handle handle = 0;
};

TEST_F(PsftpDll, LogsInRecordsTheHostKeyAndStartsInTheStartDirectory)
{
    handle = Connect();
    ASSERT_NE(handle, 0) << sftp.Error(0);
    EXPECT_EQ(sftp.Error(0), "");
    EXPECT_EQ(sftp.Pwd(handle), store);
    // Trust on first use: the server's key is now known for its host and port.
    EXPECT_NE(ReadTestFile(knownHosts).find("[127.0.0.1]:" + std::to_string(server.Port())),
              std::string::npos);

    // A second connection finds the key known and leaves the file as it was.
    const std::string known = ReadTestFile(knownHosts);
    const psftp_dll_handle second = Connect();
    ASSERT_NE(second, 0) << sftp.Error(0);
    EXPECT_EQ(ReadTestFile(knownHosts), known);
    sftp.disconnect(second);

    // A closed handle is unknown from then on.
    EXPECT_EQ(sftp.Pwd(second), "(failed)");
    EXPECT_EQ(sftp.Error(second), "No such connection.");
    EXPECT_EQ(sftp.mkdir(second, "x"), 0);
    EXPECT_EQ(sftp.Pwd(handle), store);
}

TEST_F(PsftpDll, DirectoryCommands)
{
    handle = Connect();
    ASSERT_NE(handle, 0) << sftp.Error(0);
    EXPECT_EQ(sftp.mkdir(handle, "SPOOL"), 1) << sftp.Error(handle);
    EXPECT_EQ(sftp.chdir(handle, "SPOOL"), 1) << sftp.Error(handle);
    EXPECT_EQ(sftp.Pwd(handle), store + "/SPOOL");
    EXPECT_EQ(sftp.mkdir(handle, "DELV"), 1) << sftp.Error(handle);
    EXPECT_TRUE(fs::is_directory(store + "/SPOOL/DELV"));
    EXPECT_EQ(sftp.chdir(handle, "DELV"), 1);
    EXPECT_EQ(sftp.chdir(handle, ".."), 1);
    EXPECT_EQ(sftp.Pwd(handle), store + "/SPOOL");
    EXPECT_EQ(sftp.rmdir(handle, "DELV"), 1) << sftp.Error(handle);
    EXPECT_FALSE(fs::exists(store + "/SPOOL/DELV"));
    EXPECT_EQ(sftp.chdir(handle, "/"), 1);
    EXPECT_EQ(sftp.Pwd(handle), "/");
    EXPECT_EQ(sftp.chdir(handle, (store + "/SPOOL").c_str()), 1);
    EXPECT_EQ(sftp.Pwd(handle), store + "/SPOOL");

    // Failures keep the current directory and say what went wrong.
    EXPECT_EQ(sftp.chdir(handle, "missing"), 0);
    EXPECT_EQ(sftp.Error(handle), "Cannot change to " + store
                                      + "/SPOOL/missing: no such file or directory");
    StoreFile("SPOOL/a.pdf", "%PDF");
    EXPECT_EQ(sftp.chdir(handle, "a.pdf"), 0);
    EXPECT_EQ(sftp.Error(handle), "Cannot change to " + store + "/SPOOL/a.pdf: not a directory");
    EXPECT_EQ(sftp.Pwd(handle), store + "/SPOOL");
    EXPECT_EQ(sftp.mkdir(handle, "a.pdf"), 0);
    EXPECT_NE(sftp.Error(handle).find("Cannot make the directory " + store + "/SPOOL/a.pdf"), std::string::npos);
    EXPECT_EQ(sftp.rmdir(handle, "missing"), 0);
    EXPECT_EQ(sftp.Error(handle), "Cannot remove the directory " + store
                                      + "/SPOOL/missing: no such file or directory");

    // A current directory longer than the caller's buffer is a failure, not a cut text.
    char small[8] = "before";
    EXPECT_NE(sftp.pwd(handle, small, sizeof small), 0);
    EXPECT_STREQ(small, "before");
    EXPECT_NE(sftp.Error(handle).find("longer than the buffer"), std::string::npos);
}

TEST_F(PsftpDll, TransfersKeepEveryByte)
{
    std::string document;
    for (int i = 0; i < 100000; ++i) {
        document.push_back(char((i * 7 + i / 256) & 0xFF));
    }
    const std::string upload = local + "/upload.pdf";
    WriteTestFile(upload, document);
    handle = Connect();
    ASSERT_NE(handle, 0) << sftp.Error(0);

    EXPECT_EQ(sftp.put(handle, upload.c_str(), "stored.pdf"), 1) << sftp.Error(handle);
    EXPECT_EQ(ReadTestFile(store + "/stored.pdf"), document);

    const std::string download = local + "/download.tmp";
    EXPECT_EQ(sftp.get(handle, download.c_str(), "stored.pdf"), 1) << sftp.Error(handle);
    EXPECT_EQ(ReadTestFile(download), document);

    StoreFile("empty.pdf", "");
    const std::string empty = local + "/empty.tmp";
    EXPECT_EQ(sftp.get(handle, empty.c_str(), "empty.pdf"), 1) << sftp.Error(handle);
    EXPECT_TRUE(fs::exists(empty));
    EXPECT_EQ(fs::file_size(empty), 0u);

    EXPECT_EQ(sftp.rename(handle, "stored.pdf", "renamed.pdf"), 1) << sftp.Error(handle);
    EXPECT_FALSE(fs::exists(store + "/stored.pdf"));
    EXPECT_EQ(ReadTestFile(store + "/renamed.pdf"), document);
    EXPECT_EQ(sftp.remove(handle, "renamed.pdf"), 1) << sftp.Error(handle);
    EXPECT_FALSE(fs::exists(store + "/renamed.pdf"));

    // A missing remote file creates no local file; a local file that cannot be
    // created leaves the remote file alone.
    const std::string missing = local + "/missing.tmp";
    EXPECT_EQ(sftp.get(handle, missing.c_str(), "renamed.pdf"), 0);
    EXPECT_EQ(sftp.Error(handle), "Cannot open " + store + "/renamed.pdf: no such file or directory");
    EXPECT_FALSE(fs::exists(missing));
    StoreFile("kept.pdf", "kept");
    EXPECT_EQ(sftp.get(handle, (local + "/no/such/folder/x.tmp").c_str(), "kept.pdf"), 0);
    EXPECT_NE(sftp.Error(handle).find("Cannot create " + local + "/no/such/folder/x.tmp"),
              std::string::npos);
    EXPECT_EQ(ReadTestFile(store + "/kept.pdf"), "kept");

    EXPECT_EQ(sftp.put(handle, (local + "/absent.pdf").c_str(), "absent.pdf"), 0);
    EXPECT_NE(sftp.Error(handle).find("Cannot open " + local + "/absent.pdf"), std::string::npos);
    EXPECT_FALSE(fs::exists(store + "/absent.pdf"));
    EXPECT_EQ(sftp.remove(handle, "absent.pdf"), 0);
    EXPECT_EQ(sftp.rename(handle, "absent.pdf", "other.pdf"), 0);
    EXPECT_NE(sftp.Error(handle).find("Cannot rename " + store + "/absent.pdf to "), std::string::npos);

    // An unreadable file on the server fails and leaves no local file behind.
    StoreFile("locked.pdf", "secret");
    fs::permissions(store + "/locked.pdf", fs::perms::none);
    const std::string locked = local + "/locked.tmp";
    EXPECT_EQ(sftp.get(handle, locked.c_str(), "locked.pdf"), 0);
    EXPECT_EQ(sftp.Error(handle), "Cannot open " + store + "/locked.pdf: permission denied");
    EXPECT_FALSE(fs::exists(locked));
}

TEST_F(PsftpDll, ListsTheCurrentDirectoryInTheLongForm)
{
    StoreFile("SPOOL/DELV/b.pdf", "12345");
    StoreFile("SPOOL/DELV/a file.PDF", std::string(70000, 'x'));
    fs::create_directories(store + "/SPOOL/DELV/x.pdf");
    ASSERT_TRUE(server.GiveToUser(store));
    // 2020-03-04: older than half a year, so the line shows the year.
    const utimbuf old{1583323200, 1583323200};
    ASSERT_EQ(utime((store + "/SPOOL/DELV/b.pdf").c_str(), &old), 0);

    handle = Connect();
    ASSERT_NE(handle, 0) << sftp.Error(0);
    ASSERT_EQ(sftp.chdir(handle, "SPOOL/DELV"), 1) << sftp.Error(handle);
    const std::vector<std::string> lines = sftp.List(handle);
    ASSERT_EQ(lines.size(), 3u) << sftp.Error(handle);

    const std::vector<std::string> first = Tokens(lines[0]);
    ASSERT_EQ(first.size(), 10u) << lines[0];
    EXPECT_EQ(first[0].substr(0, 1), "-");
    EXPECT_EQ(first[2], SshdFixture::User());
    EXPECT_EQ(first[4], "70000");
    EXPECT_EQ(lines[0].substr(lines[0].size() - 11), " a file.PDF");

    const std::vector<std::string> second = Tokens(lines[1]);
    ASSERT_EQ(second.size(), 9u) << lines[1];
    EXPECT_EQ(second[0], "-rw-r--r--");
    EXPECT_EQ(second[4], "5");
    EXPECT_EQ(second[5], "Mar");
    EXPECT_EQ(second[6], "4");
    EXPECT_EQ(second[7], "2020");
    EXPECT_EQ(second[8], "b.pdf");

    const std::vector<std::string> third = Tokens(lines[2]);
    ASSERT_EQ(third.size(), 9u) << lines[2];
    EXPECT_EQ(third[0].substr(0, 1), "d");
    EXPECT_EQ(third[8], "x.pdf");

    // An empty directory lists nothing, not even "." and "..".
    ASSERT_EQ(sftp.chdir(handle, "x.pdf"), 1);
    EXPECT_TRUE(sftp.List(handle).empty());

    // A line function that asks to stop ends the listing as a failure.
    ASSERT_EQ(sftp.chdir(handle, ".."), 1);
    int calls = 0;
    EXPECT_EQ(sftp.ls(
                  handle,
                  [](const char*, void* context) {
                      ++*static_cast<int*>(context);
                      return 1;
                  },
                  &calls),
              0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(sftp.Error(handle), "The listing was stopped by the caller.");
}

TEST_F(PsftpDll, RefusedLogInSaysWhyWithoutAHandle)
{
    EXPECT_EQ(Connect("wrong password"), 0);
    EXPECT_EQ(sftp.Error(0), "Access denied: 127.0.0.1:" + std::to_string(server.Port())
                                 + " refused the log-in of user " + SshdFixture::User()
                                 + " with this password.");
    EXPECT_EQ(sftp.connectPort("127.0.0.1", server.Port(), "nosuchuser", "x"), 0);
    EXPECT_NE(sftp.Error(0).find("refused the log-in of user nosuchuser"), std::string::npos);

    // Nothing listens on a closed port.
    const int closed = server.Port();
    server.Stop();
    EXPECT_EQ(Connect(), 0);
    EXPECT_EQ(sftp.Error(0).rfind("Cannot connect to 127.0.0.1:" + std::to_string(closed) + ": ", 0),
              0u);
    EXPECT_EQ(sftp.connectPort("", 22, "user", "x"), 0);
    EXPECT_EQ(sftp.Error(0), "No server name given.");
    EXPECT_EQ(sftp.connectPort("127.0.0.1", 0, "user", "x"), 0);
    EXPECT_EQ(sftp.Error(0), "Port 0 is not a port number.");
}

TEST_F(PsftpDll, ChangedHostKeyIsRefused)
{
    handle = Connect();
    ASSERT_NE(handle, 0) << sftp.Error(0);
    sftp.disconnect(handle);
    handle = 0;
    const std::string known = ReadTestFile(knownHosts);

    std::string error;
    ASSERT_TRUE(server.RenewHostKey(error)) << error;
    EXPECT_EQ(Connect(), 0);
    const std::string refusal = sftp.Error(0);
    EXPECT_EQ(refusal.rfind("Host key verification failed: the host key of 127.0.0.1:"
                            + std::to_string(server.Port()) + " has changed (now SHA256:", 0),
              0u) << refusal;
    EXPECT_NE(refusal.find("remove its old entry from " + knownHosts), std::string::npos);
    // The old key stays the trusted one.
    EXPECT_EQ(ReadTestFile(knownHosts), known);
    EXPECT_EQ(Connect(), 0);
}

TEST_F(PsftpDll, ServerThatNeverSpeaksEndsTheConnectAtTheTimeOut)
{
    // A listening socket that is never accepted: the connection is made by the system
    // and then nothing comes.
    const int silent = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(silent, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(silent, 4), 0);
    ASSERT_EQ(getsockname(silent, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const int port = ntohs(address.sin_port);

    sftp.setTimeouts(1, 1);
    EXPECT_EQ(sftp.connectPort("127.0.0.1", port, "user", "x"), 0);
    EXPECT_EQ(sftp.Error(0).rfind("Cannot connect to 127.0.0.1:" + std::to_string(port) + ": ", 0),
              0u) << sftp.Error(0);
    close(silent);
}

TEST_F(PsftpDll, ServerThatStopsAnsweringEndsEachCallAtTheTimeOut)
{
    StoreFile("a.pdf", std::string(100000, 'a'));
    sftp.setTimeouts(15, 1);
    handle = Connect();
    ASSERT_NE(handle, 0) << sftp.Error(0);
    server.FreezeSessions();

    const std::string timeOut = "Time-out: 127.0.0.1:" + std::to_string(server.Port())
        + " did not answer within 1 s; the connection is closed.";
    EXPECT_EQ(sftp.List(handle), std::vector<std::string>{"(failed)"});
    EXPECT_EQ(sftp.Error(handle), timeOut);
    // The connection is given up: later calls fail at once with the same reason, and a
    // download leaves no local file.
    const std::string download = local + "/a.tmp";
    EXPECT_EQ(sftp.get(handle, download.c_str(), "a.pdf"), 0);
    EXPECT_EQ(sftp.Error(handle), timeOut);
    EXPECT_FALSE(fs::exists(download));
    EXPECT_EQ(sftp.chdir(handle, "/"), 0);
    sftp.disconnect(handle);
    handle = 0;
    server.ThawSessions();
}

TEST_F(PsftpDll, ServerThatDropsTheConnectionFailsTheDownload)
{
    StoreFile("a.pdf", std::string(100000, 'a'));
    handle = Connect();
    ASSERT_NE(handle, 0) << sftp.Error(0);
    server.EndSessions();

    const std::string download = local + "/a.tmp";
    EXPECT_EQ(sftp.get(handle, download.c_str(), "a.pdf"), 0);
    EXPECT_FALSE(fs::exists(download));
    EXPECT_NE(sftp.Error(handle), "");
    EXPECT_EQ(ReadTestFile(store + "/a.pdf"), std::string(100000, 'a'));
    EXPECT_EQ(sftp.List(handle), std::vector<std::string>{"(failed)"});
}

TEST_F(PsftpDll, DownloadCutMidPipelineLeavesNoFile)
{
    StoreFile("big.pdf", std::string(64 << 20, 'b'));
    handle = Connect();
    ASSERT_NE(handle, 0) << sftp.Error(0);
    // The server goes as soon as the first blocks reached the local file.
    const std::string download = local + "/big.tmp";
    std::thread cut([&] {
        std::error_code error;
        while (!fs::exists(download, error) || fs::file_size(download, error) == 0) {
            std::this_thread::yield();
        }
        server.EndSessions();
    });
    EXPECT_EQ(sftp.get(handle, download.c_str(), "big.pdf"), 0);
    cut.join();
    EXPECT_FALSE(fs::exists(download));
    EXPECT_EQ(sftp.Error(handle).rfind("Cannot read " + store + "/big.pdf: connection lost: ", 0), 0u)
        << sftp.Error(handle);
}

TEST_F(PsftpDll, UnknownHandlesAndMissingArgumentsFailWithoutHarm)
{
    const psftp_dll_handle unknown = 12345;
    EXPECT_EQ(sftp.Pwd(unknown), "(failed)");
    EXPECT_EQ(sftp.List(unknown), std::vector<std::string>{"(failed)"});
    EXPECT_EQ(sftp.chdir(unknown, "/"), 0);
    EXPECT_EQ(sftp.get(unknown, "/tmp/x", "x"), 0);
    EXPECT_EQ(sftp.Error(unknown), "No such connection.");
    sftp.disconnect(unknown);

    handle = Connect();
    ASSERT_NE(handle, 0) << sftp.Error(0);
    EXPECT_EQ(sftp.chdir(handle, nullptr), 0);
    EXPECT_EQ(sftp.Error(handle), "A name is missing.");
    EXPECT_EQ(sftp.ls(handle, nullptr, nullptr), 0);
    EXPECT_EQ(sftp.Error(handle), "No line function given.");
    // The error text is cut to the caller's buffer.
    char small[5] = "xxxx";
    sftp.getLastError(handle, small, sizeof small);
    EXPECT_STREQ(small, "No l");
    EXPECT_EQ(sftp.Pwd(handle), store);
}

}  // namespace
