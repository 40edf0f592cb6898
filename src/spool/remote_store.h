// The store of the fetch stage when the station is not in the local mode: one
// StoreConnection per session, logged in with the station's settings.
#pragma once

#include "spool/store_access.h"
#include "spool/store_connection.h"

class RemoteStoreSession : public StoreSession {
public:
    // The receive time-out and the low-speed window of a transfer: others than the
    // defaults only for servers on test ports.
    RemoteStoreSession(Station& station, int ftpPort, int sftpPort, int receiveTimeoutMs = SocketDefaults::kTimeoutMs,
                       int lowSpeedMs = LowSpeedLimit::kMilliseconds);

    // After a successful login the data connections take the passive flag of the
    // settings, and downloads show their progress in the station's window. With a
    // relative store folder the folder the store put the user in is asked for.
    int Open() override;
    int EnterBaseFolder(const std::string& path) override;
    bool FetchRemoteFolder(const std::string& label, const std::string& source,
                           const std::string& destination) override;
    void Close() override;
    std::string LastResponse() override;
    bool IsSftp() const override;

    // Before each command of the fetch: true while the connection is up. A lost one is
    // opened again, once per session, and a failed new log-in is reported as the first
    // one; after that the store cannot be reached until the session ends.
    bool Usable();
    bool Reachable() const { return !closed_; }
    // The folder the store put the user in; a relative store folder lies below it.
    const std::string& Home() const { return home_; }

private:
    Station& station_;
    StoreConnection connection_;
    std::string home_;
    bool reopened_ = false;
    bool closed_ = false;
};

class RemoteStoreAccess : public StoreAccess {
public:
    // The ports of the two protocols; others only for servers on test ports.
    explicit RemoteStoreAccess(int ftpPort = 21, int sftpPort = 22) : ftpPort_(ftpPort), sftpPort_(sftpPort) {}
    std::unique_ptr<StoreSession> CreateSession(Station& station) override;

private:
    int ftpPort_;
    int sftpPort_;
};
