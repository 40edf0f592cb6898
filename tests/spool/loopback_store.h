// A real store on loopback for the end-to-end tests of the fetch, in each form the
// station reaches one: FTP with passive or active data connections, and SFTP.
#pragma once

#include "spool/store_station.h"
#include "fixtures/store_ftp_server.h"

#include <memory>
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
