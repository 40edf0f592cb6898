// A real store on loopback for the end-to-end tests of the fetch, in each form the
// station reaches one: FTP with passive or active data connections, and SFTP.
#pragma once

#include "fixtures/sshd_fixture.h"
#include "fixtures/store_ftp_server.h"
#include "spool/store_station.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

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
    explicit FtpLoopbackStore(bool passive, int bytesPerSecond = 0)
        : passive_(passive), bytesPerSecond_(bytesPerSecond)
    {
    }
    bool Start(std::string& error) override { return server_.Start(error, bytesPerSecond_); }
    void Stop() override { server_.Stop(); }
    std::string TreeFolder() const override { return server_.Root() + "/kv"; }
    void GiveTree() const override { server_.GiveToServer(server_.Root()); }
    void Configure(StationSettings& settings, TestPortStoreAccess& access) const override
    {
        settings.KV_Sftp_Mode = 0;
        settings.KV_Ftp_Passive = passive_ ? 1 : 0;
        settings.KV_FTP_Store_User = StoreFtpServer::kUser;
        settings.KV_FTP_Store_Password = StoreFtpServer::kPassword;
        settings.KV_FTP_Store_Dir = "/kv";
        access.ftpPort = server_.Port();
    }
    // Only for the one server that is throttled, stopped and started again.
    void SetBytesPerSecond(int bytesPerSecond) { bytesPerSecond_ = bytesPerSecond; }

private:
    StoreFtpServer server_;
    bool passive_;
    int bytesPerSecond_;
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
