// The store of the fetch stage when the station is not in the local mode: one
// StoreConnection per session, logged in with the station's settings.
#pragma once

#include "spool/store_access.h"
#include "spool/store_connection.h"

class RemoteStoreSession : public StoreSession {
public:
    RemoteStoreSession(Station& station, int ftpPort, int sftpPort);

    // After a successful login the data connections take the passive flag of the
    // settings, and downloads show their progress in the station's window. With a
    // relative store folder the folder the store put the user in is asked for.
    int Open() override;
    int EnterBaseFolder(const std::string& path) override;
    bool FetchRemoteFolder(const std::string& label, const std::string& source,
                           const std::string& destination) override;
    void Close() override;
    std::string LastResponse() override;
    std::string FailureReason() override;
    bool IsSftp() const override;

private:
    Station& station_;
    StoreConnection connection_;
    std::string home_;
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
