// A store's host key is kept only once a log-in there succeeded: the component through
// the station's binding, against a private OpenSSH server on loopback.
#include "net/sftp_binding.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/test_files.h"
#include "fixtures/sshd_fixture.h"

namespace fs = std::filesystem;

TEST(SftpHostKey, IsRecordedOnlyByTheFirstLogInThatSucceeds)
{
    SshdFixture server;
    std::string error;
    ASSERT_TRUE(server.Start(error)) << error;
    // A home without a known_hosts file, in the server's own folder.
    const fs::path home = fs::path(server.HostKeyFile()).parent_path() / "home";
    const std::string knownHosts = (home / ".ssh/known_hosts").string();
    fs::create_directories(home);
    const char* formerHome = std::getenv("HOME");
    const std::string kept = formerHome != nullptr ? formerHome : "";
    setenv("HOME", home.c_str(), 1);

    SftpBinding binding(PSFTP_DLL_DIR);
    binding.SetPort(server.Port());
    ASSERT_TRUE(binding.IsLoaded()) << binding.GetLastError();
    EXPECT_FALSE(binding.Connect("127.0.0.1", SshdFixture::User(), "wrong password"));
    EXPECT_FALSE(fs::exists(knownHosts));

    std::string fingerprint;
    bool recorded = false;
    EXPECT_TRUE(binding.Connect("127.0.0.1", SshdFixture::User(), SshdFixture::Password())) << binding.GetLastError();
    EXPECT_TRUE(binding.HostKey(fingerprint, recorded));
    EXPECT_TRUE(recorded);
    EXPECT_EQ(fingerprint.rfind("SHA256:", 0), 0u) << fingerprint;
    EXPECT_NE(ReadTestFile(knownHosts).find("[127.0.0.1]:" + std::to_string(server.Port())), std::string::npos);
    formerHome != nullptr ? setenv("HOME", kept.c_str(), 1) : unsetenv("HOME");
}
