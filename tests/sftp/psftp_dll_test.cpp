// The SFTP component on its own, loaded and driven through the station's binding,
// against a private OpenSSH server on loopback.
#include "net/sftp_binding.h"
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

#include "fixtures/sshd_fixture.h"
#include "support/scratch_folder.h"
#include "support/test_files.h"

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

// An entry point of the component that the binding loaded.
template <typename Function>
Function EntryPoint(const char* name)
{
    void* library = dlopen(PSFTP_DLL_DIR "/psftp_dll.so", RTLD_NOW | RTLD_NOLOAD);
    if (library == nullptr) {
        return nullptr;
    }
    const auto function = reinterpret_cast<Function>(dlsym(library, name));
    dlclose(library);
    return function;
}

void SetTimeouts(int connectSeconds, int ioSeconds)
{
    EntryPoint<void (*)(int, int)>("psftp_dll_set_timeouts")(connectSeconds, ioSeconds);
}

// The entry points themselves, for what the binding never asks of them: closed and
// unknown handles, missing arguments, short buffers, a line function that stops.
struct EntryPoints {
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

    psftp_dll_connect_port_fn connectPort = EntryPoint<psftp_dll_connect_port_fn>("psftp_dll_connect_port");
    psftp_dll_disconnect_fn disconnect = EntryPoint<psftp_dll_disconnect_fn>("psftp_dll_disconnect");
    psftp_dll_get_last_error_fn getLastError = EntryPoint<psftp_dll_get_last_error_fn>("psftp_dll_get_last_error");
    psftp_dll_pwd_fn pwd = EntryPoint<psftp_dll_pwd_fn>("psftp_dll_pwd");
    psftp_dll_transfer_fn get = EntryPoint<psftp_dll_transfer_fn>("psftp_dll_get");
    psftp_dll_ls_fn ls = EntryPoint<psftp_dll_ls_fn>("psftp_dll_ls");
    psftp_dll_name_fn chdir = EntryPoint<psftp_dll_name_fn>("psftp_dll_chdir");
    psftp_dll_name_fn mkdir = EntryPoint<psftp_dll_name_fn>("psftp_dll_mkdir");
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

        ASSERT_TRUE(sftp.IsLoaded()) << sftp.GetLastError();
        SetTimeouts(15, 30);
        std::string error;
        ASSERT_TRUE(server.Start(error)) << error;
        store = fs::canonical(server.StoreRoot()).string();
        sftp.SetPort(server.Port());
    }
    void TearDown() override { sftp.Disconnect(); }

    bool Connect(const char* password = SshdFixture::Password())
    {
        return sftp.Connect("127.0.0.1", SshdFixture::User(), password);
    }
    std::string Pwd()
    {
        std::string directory;
        return sftp.Pwd(directory) ? directory : "(failed)";
    }
    std::vector<std::string> List()
    {
        std::vector<std::string> lines;
        return sftp.List(lines) ? lines : std::vector<std::string>{"(failed)"};
    }

    // Puts a file into the store as the server's user would find it.
    void StoreFile(const std::string& relative, const std::string& bytes)
    {
        WriteTestFile(store + "/" + relative, bytes);
        ASSERT_TRUE(server.GiveToUser(store));
    }

    SftpBinding sftp{PSFTP_DLL_DIR};
    SshdFixture server;
    ScratchFolder scratch;
    std::string local;
    std::string home;
    std::string knownHosts;
    std::string store;
};

TEST_F(PsftpDll, LogsInRecordsTheHostKeyAndStartsInTheStartDirectory)
{
    EntryPoints component;
    ASSERT_TRUE(Connect()) << sftp.GetLastError();
    EXPECT_EQ(component.Error(0), "");
    EXPECT_EQ(Pwd(), store);
    // Trust on first use: the server's key is now known for its host and port.
    EXPECT_NE(ReadTestFile(knownHosts).find("[127.0.0.1]:" + std::to_string(server.Port())),
              std::string::npos);

    // A second connection finds the key known and leaves the file as it was.
    const std::string known = ReadTestFile(knownHosts);
    const psftp_dll_handle second =
        component.connectPort("127.0.0.1", server.Port(), SshdFixture::User(), SshdFixture::Password());
    ASSERT_NE(second, 0) << component.Error(0);
    EXPECT_EQ(ReadTestFile(knownHosts), known);
    component.disconnect(second);

    // A closed handle is unknown from then on.
    EXPECT_EQ(component.Pwd(second), "(failed)");
    EXPECT_EQ(component.Error(second), "No such connection.");
    EXPECT_EQ(component.mkdir(second, "x"), 0);
    EXPECT_EQ(Pwd(), store);
}

TEST_F(PsftpDll, DirectoryCommands)
{
    ASSERT_TRUE(Connect()) << sftp.GetLastError();
    EXPECT_TRUE(sftp.MakeDirectory("SPOOL")) << sftp.GetLastError();
    EXPECT_TRUE(sftp.ChangeDirectory("SPOOL")) << sftp.GetLastError();
    EXPECT_EQ(Pwd(), store + "/SPOOL");
    EXPECT_TRUE(sftp.MakeDirectory("DELV")) << sftp.GetLastError();
    EXPECT_TRUE(fs::is_directory(store + "/SPOOL/DELV"));
    EXPECT_TRUE(sftp.ChangeDirectory("DELV"));
    EXPECT_TRUE(sftp.ChangeDirectory(".."));
    EXPECT_EQ(Pwd(), store + "/SPOOL");
    EXPECT_TRUE(sftp.RemoveDirectory("DELV")) << sftp.GetLastError();
    EXPECT_FALSE(fs::exists(store + "/SPOOL/DELV"));
    EXPECT_TRUE(sftp.ChangeDirectory("/"));
    EXPECT_EQ(Pwd(), "/");
    EXPECT_TRUE(sftp.ChangeDirectory(store + "/SPOOL"));
    EXPECT_EQ(Pwd(), store + "/SPOOL");

    // Failures keep the current directory and say what went wrong.
    EXPECT_FALSE(sftp.ChangeDirectory("missing"));
    EXPECT_EQ(sftp.GetLastError(), "Cannot change to " + store + "/SPOOL/missing: no such file or directory");
    StoreFile("SPOOL/a.pdf", "%PDF");
    EXPECT_FALSE(sftp.ChangeDirectory("a.pdf"));
    EXPECT_EQ(sftp.GetLastError(), "Cannot change to " + store + "/SPOOL/a.pdf: not a directory");
    EXPECT_EQ(Pwd(), store + "/SPOOL");
    EXPECT_FALSE(sftp.MakeDirectory("a.pdf"));
    EXPECT_NE(sftp.GetLastError().find("Cannot make the directory " + store + "/SPOOL/a.pdf"), std::string::npos);
    EXPECT_FALSE(sftp.RemoveDirectory("missing"));
    EXPECT_EQ(sftp.GetLastError(), "Cannot remove the directory " + store + "/SPOOL/missing: no such file or directory");
}

TEST_F(PsftpDll, TransfersKeepEveryByte)
{
    std::string document;
    for (int i = 0; i < 100000; ++i) {
        document.push_back(char((i * 7 + i / 256) & 0xFF));
    }
    const std::string upload = local + "/upload.pdf";
    WriteTestFile(upload, document);
    ASSERT_TRUE(Connect()) << sftp.GetLastError();

    EXPECT_TRUE(sftp.Put(upload, "stored.pdf")) << sftp.GetLastError();
    EXPECT_EQ(ReadTestFile(store + "/stored.pdf"), document);

    const std::string download = local + "/download.tmp";
    EXPECT_TRUE(sftp.Get(download, "stored.pdf")) << sftp.GetLastError();
    EXPECT_EQ(ReadTestFile(download), document);

    StoreFile("empty.pdf", "");
    const std::string empty = local + "/empty.tmp";
    EXPECT_TRUE(sftp.Get(empty, "empty.pdf")) << sftp.GetLastError();
    EXPECT_TRUE(fs::exists(empty));
    EXPECT_EQ(fs::file_size(empty), 0u);

    EXPECT_TRUE(sftp.Rename("stored.pdf", "renamed.pdf")) << sftp.GetLastError();
    EXPECT_FALSE(fs::exists(store + "/stored.pdf"));
    EXPECT_EQ(ReadTestFile(store + "/renamed.pdf"), document);
    EXPECT_TRUE(sftp.Delete("renamed.pdf")) << sftp.GetLastError();
    EXPECT_FALSE(fs::exists(store + "/renamed.pdf"));

    // A missing remote file creates no local file; a local file that cannot be
    // created leaves the remote file alone.
    const std::string missing = local + "/missing.tmp";
    EXPECT_FALSE(sftp.Get(missing, "renamed.pdf"));
    EXPECT_EQ(sftp.GetLastError(), "Cannot open " + store + "/renamed.pdf: no such file or directory");
    EXPECT_FALSE(fs::exists(missing));
    StoreFile("kept.pdf", "kept");
    EXPECT_FALSE(sftp.Get(local + "/no/such/folder/x.tmp", "kept.pdf"));
    EXPECT_NE(sftp.GetLastError().find("Cannot create " + local + "/no/such/folder/x.tmp"), std::string::npos);
    EXPECT_EQ(ReadTestFile(store + "/kept.pdf"), "kept");

    EXPECT_FALSE(sftp.Put(local + "/absent.pdf", "absent.pdf"));
    EXPECT_NE(sftp.GetLastError().find("Cannot open " + local + "/absent.pdf"), std::string::npos);
    EXPECT_FALSE(fs::exists(store + "/absent.pdf"));
    EXPECT_FALSE(sftp.Delete("absent.pdf"));
    EXPECT_FALSE(sftp.Rename("absent.pdf", "other.pdf"));
    EXPECT_NE(sftp.GetLastError().find("Cannot rename " + store + "/absent.pdf to "), std::string::npos);

    // An unreadable file on the server fails and leaves no local file behind.
    StoreFile("locked.pdf", "secret");
    fs::permissions(store + "/locked.pdf", fs::perms::none);
    const std::string locked = local + "/locked.tmp";
    EXPECT_FALSE(sftp.Get(locked, "locked.pdf"));
    EXPECT_EQ(sftp.GetLastError(), "Cannot open " + store + "/locked.pdf: permission denied");
    EXPECT_FALSE(fs::exists(locked));
}

// Several files in one flight, and files and folders announced for later calls: each call
// answers as it would alone, and a passed-over announcement costs nothing.
TEST_F(PsftpDll, CallsOfSeveralFilesAndAnnouncedOnesAnswerAsSingleOnes)
{
    for (const char* name : {"a.pdf", "b.pdf", "c.pdf", "d.pdf"}) {
        StoreFile(std::string("DELV/") + name, Document(name, 70000));
    }
    StoreFile("DELV/folder/x", "");
    ASSERT_TRUE(Connect()) << sftp.GetLastError();
    ASSERT_TRUE(sftp.HasFlights());
    EXPECT_TRUE(sftp.ChangeDirectoryAhead(store + "/missing"));
    EXPECT_TRUE(sftp.ChangeDirectoryAhead(store + "/DELV"));
    EXPECT_TRUE(sftp.ChangeDirectory(store + "/DELV")) << sftp.GetLastError();
    EXPECT_TRUE(sftp.GetAhead({"b.pdf", "c.pdf", "d.pdf"}));
    for (const char* name : {"c.pdf", "b.pdf", "d.pdf", "a.pdf"}) {
        EXPECT_TRUE(sftp.Get(local + "/" + name, name)) << sftp.GetLastError();
        EXPECT_EQ(ReadTestFile(local + "/" + name), Document(name, 70000)) << name;
    }

    std::vector<long long> sizes;
    EXPECT_TRUE(sftp.Sizes({"a.pdf", "missing.pdf", "folder"}, sizes));
    EXPECT_EQ(sizes, (std::vector<long long>{70000, -1, -1}));
    std::vector<int> results;
    std::vector<std::string> failures;
    EXPECT_TRUE(sftp.DeleteAll({"a.pdf", "missing.pdf", "b.pdf"}, results, failures));
    EXPECT_EQ(results, (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(failures, (std::vector<std::string>{
                            "", "Cannot delete " + store + "/DELV/missing.pdf: no such file or directory", ""}));
    EXPECT_EQ(FilesBelow(store + "/DELV"), (std::vector<std::string>{"c.pdf", "d.pdf", "folder/x"}));

    // Files announced and passed over by a listing, before their opens were answered: once
    // a round trip has carried the closes, the server holds no more than before.
    auto held = [&] { return sftp.Sizes({"c.pdf"}, sizes) ? server.OpenFilesOfSessions() : -1; };
    const int before = held();
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(sftp.GetAhead({"c.pdf", "d.pdf"}));
        EXPECT_EQ(List().size(), 3u);
    }
    EXPECT_LE(held(), before);
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

    ASSERT_TRUE(Connect()) << sftp.GetLastError();
    ASSERT_TRUE(sftp.ChangeDirectory("SPOOL/DELV")) << sftp.GetLastError();
    const std::vector<std::string> lines = List();
    ASSERT_EQ(lines.size(), 3u) << sftp.GetLastError();

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
    ASSERT_TRUE(sftp.ChangeDirectory("x.pdf"));
    EXPECT_TRUE(List().empty());
}

TEST_F(PsftpDll, RefusedLogInSaysWhyWithoutAHandle)
{
    EXPECT_FALSE(Connect("wrong password"));
    EXPECT_EQ(sftp.GetLastError(), "Access denied: 127.0.0.1:" + std::to_string(server.Port())
                                       + " refused the log-in of user " + SshdFixture::User()
                                       + " with this password.");
    EXPECT_FALSE(sftp.Connect("127.0.0.1", "nosuchuser", "x"));
    EXPECT_NE(sftp.GetLastError().find("refused the log-in of user nosuchuser"), std::string::npos);

    // Nothing listens on a closed port.
    const int closed = server.Port();
    server.Stop();
    EXPECT_FALSE(Connect());
    EXPECT_EQ(sftp.GetLastError().rfind("Cannot connect to 127.0.0.1:" + std::to_string(closed) + ": ", 0), 0u);
    sftp.SetPort(22);
    EXPECT_FALSE(sftp.Connect("", "user", "x"));
    EXPECT_EQ(sftp.GetLastError(), "No server name given.");
    sftp.SetPort(0);
    EXPECT_FALSE(sftp.Connect("127.0.0.1", "user", "x"));
    EXPECT_EQ(sftp.GetLastError(), "Port 0 is not a port number.");
}

TEST_F(PsftpDll, ChangedHostKeyIsRefused)
{
    ASSERT_TRUE(Connect()) << sftp.GetLastError();
    sftp.Disconnect();
    const std::string known = ReadTestFile(knownHosts);

    std::string error;
    ASSERT_TRUE(server.RenewHostKey(error)) << error;
    EXPECT_FALSE(Connect());
    const std::string refusal = sftp.GetLastError();
    EXPECT_EQ(refusal.rfind("Host key verification failed: the host key of 127.0.0.1:"
                            + std::to_string(server.Port()) + " has changed (now SHA256:", 0),
              0u) << refusal;
    EXPECT_NE(refusal.find("remove its old entry from " + knownHosts), std::string::npos);
    // The old key stays the trusted one.
    EXPECT_EQ(ReadTestFile(knownHosts), known);
    EXPECT_FALSE(Connect());
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

    SetTimeouts(1, 1);
    sftp.SetPort(port);
    EXPECT_FALSE(sftp.Connect("127.0.0.1", "user", "x"));
    EXPECT_EQ(sftp.GetLastError().rfind("Cannot connect to 127.0.0.1:" + std::to_string(port) + ": ", 0), 0u)
        << sftp.GetLastError();
    close(silent);
}

TEST_F(PsftpDll, ServerThatStopsAnsweringEndsEachCallAtTheTimeOut)
{
    StoreFile("a.pdf", std::string(100000, 'a'));
    SetTimeouts(15, 1);
    ASSERT_TRUE(Connect()) << sftp.GetLastError();
    server.FreezeSessions();

    const std::string timeOut = "Time-out: 127.0.0.1:" + std::to_string(server.Port())
        + " did not answer within 1 s; the connection is closed.";
    EXPECT_EQ(List(), std::vector<std::string>{"(failed)"});
    EXPECT_EQ(sftp.GetLastError(), timeOut);
    // The connection is given up: later calls fail at once with the same reason, and a
    // download leaves no local file.
    const std::string download = local + "/a.tmp";
    EXPECT_FALSE(sftp.Get(download, "a.pdf"));
    EXPECT_EQ(sftp.GetLastError(), timeOut);
    EXPECT_FALSE(fs::exists(download));
    EXPECT_FALSE(sftp.ChangeDirectory("/"));
    sftp.Disconnect();
    server.ThawSessions();
}

TEST_F(PsftpDll, ServerThatDropsTheConnectionFailsTheDownload)
{
    StoreFile("a.pdf", std::string(100000, 'a'));
    ASSERT_TRUE(Connect()) << sftp.GetLastError();
    server.EndSessions();

    const std::string download = local + "/a.tmp";
    EXPECT_FALSE(sftp.Get(download, "a.pdf"));
    EXPECT_FALSE(fs::exists(download));
    EXPECT_NE(sftp.GetLastError(), "");
    EXPECT_EQ(ReadTestFile(store + "/a.pdf"), std::string(100000, 'a'));
    EXPECT_EQ(List(), std::vector<std::string>{"(failed)"});
}

TEST_F(PsftpDll, DownloadCutMidPipelineLeavesNoFile)
{
    StoreFile("big.pdf", std::string(64 << 20, 'b'));
    ASSERT_TRUE(Connect()) << sftp.GetLastError();
    // The server goes as soon as the first blocks reached the local file.
    const std::string download = local + "/big.tmp";
    std::thread cut([&] {
        std::error_code error;
        while (!fs::exists(download, error) || fs::file_size(download, error) == 0) {
            std::this_thread::yield();
        }
        server.EndSessions();
    });
    EXPECT_FALSE(sftp.Get(download, "big.pdf"));
    cut.join();
    EXPECT_FALSE(fs::exists(download));
    EXPECT_EQ(sftp.GetLastError().rfind("Cannot read " + store + "/big.pdf: connection lost: ", 0), 0u)
        << sftp.GetLastError();
}

TEST_F(PsftpDll, UnknownHandlesAndMissingArgumentsFailWithoutHarm)
{
    EntryPoints component;
    const psftp_dll_handle unknown = 12345;
    EXPECT_EQ(component.Pwd(unknown), "(failed)");
    EXPECT_NE(component.ls(unknown, [](const char*, void*) { return 0; }, nullptr), 1);
    EXPECT_EQ(component.chdir(unknown, "/"), 0);
    EXPECT_EQ(component.get(unknown, "/tmp/x", "x"), 0);
    EXPECT_EQ(component.Error(unknown), "No such connection.");
    component.disconnect(unknown);

    StoreFile("SPOOL/a.pdf", "%PDF");
    StoreFile("SPOOL/b.pdf", "%PDF");
    const psftp_dll_handle handle =
        component.connectPort("127.0.0.1", server.Port(), SshdFixture::User(), SshdFixture::Password());
    ASSERT_NE(handle, 0) << component.Error(0);
    EXPECT_EQ(component.chdir(handle, nullptr), 0);
    EXPECT_EQ(component.Error(handle), "A name is missing.");
    EXPECT_EQ(component.ls(handle, nullptr, nullptr), 0);
    EXPECT_EQ(component.Error(handle), "No line function given.");
    // The error text is cut to the caller's buffer.
    char small[5] = "xxxx";
    component.getLastError(handle, small, sizeof small);
    EXPECT_STREQ(small, "No l");
    EXPECT_EQ(component.Pwd(handle), store);

    // A current directory longer than the caller's buffer is a failure, not a cut text.
    char shortBuffer[8] = "before";
    EXPECT_NE(component.pwd(handle, shortBuffer, sizeof shortBuffer), 0);
    EXPECT_STREQ(shortBuffer, "before");
    EXPECT_NE(component.Error(handle).find("longer than the buffer"), std::string::npos);

    // A line function that asks to stop ends the listing as a failure.
    ASSERT_EQ(component.chdir(handle, "SPOOL"), 1);
    int calls = 0;
    EXPECT_EQ(component.ls(
                  handle,
                  [](const char*, void* context) {
                      ++*static_cast<int*>(context);
                      return 1;
                  },
                  &calls),
              0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(component.Error(handle), "The listing was stopped by the caller.");
    component.disconnect(handle);
}

}  // namespace
