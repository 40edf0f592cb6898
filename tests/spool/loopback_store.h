// A real store on loopback for the end-to-end tests of the fetch, in each form the
// station reaches one: FTP with passive or active data connections, and SFTP.
#pragma once

#include "fixtures/sshd_fixture.h"
#include "fixtures/local_ftp_server.h"
#include "spool/store_station.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

constexpr const char* kStoreUser = "kv";
constexpr const char* kStorePassword = "Lager-Passwort";

// The store's account under nobody, so that file permissions count for the server.
inline FtpServerOptions StoreServerOptions(int bytesPerSecond = 0, std::vector<std::string> faults = {}, int seed = 0)
{
    return {.server = {}, .user = kStoreUser, .password = kStorePassword, .asNobody = true, .bytesPerSecond = bytesPerSecond,
            .faults = std::move(faults), .seed = seed};
}

class LoopbackStore {
public:
    virtual ~LoopbackStore() = default;
    virtual bool Start(std::string& error) = 0;
    // Ends the server at once; its connections drop.
    virtual void Stop() = 0;
    // The local folder that holds the store's tree (KV_FTP_Store_Dir).
    virtual std::string TreeFolder() const = 0;
    // Hands everything the test wrote into the tree to the server's account.
    virtual void GiveTree() const = 0;
    // Points the settings and the store access of a station at the server.
    virtual void Configure(StationSettings& settings, TestPortStoreAccess& access) const = 0;
    virtual bool IsSftp() const { return false; }
};

class FtpLoopbackStore : public LoopbackStore {
public:
    explicit FtpLoopbackStore(bool passive, FtpServerOptions options = StoreServerOptions())
        : server_(std::move(options)), passive_(passive)
    {
    }
    bool Start(std::string& error) override { return server_.Start(error); }
    void Stop() override { server_.Stop(); }
    std::string TreeFolder() const override { return server_.Root() + "/kv"; }
    void GiveTree() const override { server_.GiveToServer(server_.Root()); }
    int Port() const { return server_.Port(); }
    void Configure(StationSettings& settings, TestPortStoreAccess& access) const override
    {
        settings.KV_Sftp_Mode = 0;
        settings.KV_Ftp_Passive = passive_ ? 1 : 0;
        settings.KV_FTP_Store_User = kStoreUser;
        settings.KV_FTP_Store_Password = kStorePassword;
        settings.KV_FTP_Store_Dir = "/kv";
        access.ftpPort = server_.Port();
    }
    // Only for the one server that is throttled, stopped and started again.
    void SetBytesPerSecond(int bytesPerSecond) { server_.Options().bytesPerSecond = bytesPerSecond; }
    std::map<std::string, int> Injected() const { return server_.Injected(); }
    void FaultNext(const std::string& fault) const { server_.FaultNext(fault); }

private:
    LocalFtpServer server_;
    bool passive_;
};

// OpenSSH's sshd with internal-sftp, reached through the station's SFTP component, which
// is put into the program folder. The component's home (with its known_hosts file) is a
// fresh folder for the store's lifetime.
class SftpLoopbackStore : public LoopbackStore {
public:
    SftpLoopbackStore()
    {
        if (const char* home = std::getenv("HOME"))
            formerHome_ = home;
        std::filesystem::create_directories(home_.Path());
        setenv("HOME", home_.Path().c_str(), 1);
    }
    ~SftpLoopbackStore() override
    {
        server_.Stop();
        if (formerHome_)
            setenv("HOME", formerHome_->c_str(), 1);
        else
            unsetenv("HOME");
    }
    bool Start(std::string& error) override
    {
        if (!server_.Start(error))
            return false;
        tree_ = std::filesystem::canonical(server_.StoreRoot()).string() + "/kv";
        std::filesystem::create_directories(tree_);
        GiveTree();
        return true;
    }
    void Stop() override { server_.Stop(); }
    std::string TreeFolder() const override { return tree_; }
    void GiveTree() const override { server_.GiveToUser(server_.StoreRoot()); }
    void Configure(StationSettings& settings, TestPortStoreAccess& access) const override
    {
        settings.KV_Sftp_Mode = 1;
        settings.KV_FTP_Store_User = SshdFixture::User();
        settings.KV_FTP_Store_Password = SshdFixture::Password();
        settings.KV_FTP_Store_Dir = tree_;
        access.sftpPort = server_.Port();
        std::error_code exists;
        std::filesystem::create_directories(settings.ProgramFolder);
        std::filesystem::create_symlink(PSFTP_DLL_DIR "/psftp_dll.so", settings.ProgramFolder + "/psftp_dll.so", exists);
    }
    bool IsSftp() const override { return true; }
    // The server drops its open connections and goes on taking new ones.
    void DropSessions() const { server_.EndSessions(); }

private:
    ScratchFolder home_;
    std::optional<std::string> formerHome_;
    SshdFixture server_;
    std::string tree_;
};

// A Korvid station on the store that only logs its errors.
inline Station& MakeLoggingStation(const LoopbackStore& store, StoreStation& station)
{
    StationSettings settings = StoreKorvidSettings(station.test.folder.Path(), "", "");
    settings.OnErrorLogOnly = 1;
    store.Configure(settings, station.access);
    return station.Make(settings);
}
