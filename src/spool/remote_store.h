// The store access of the station when it is not in the local mode: the store of each
// cycle on the ports of the two protocols.
#pragma once

#include "net/ws_client.h"
#include "spool/store_access.h"

class RemoteStoreAccess : public StoreAccess {
public:
    // Other ports and receive time-outs only for servers on test ports.
    explicit RemoteStoreAccess(int ftpPort = 21, int sftpPort = 22, int receiveTimeoutMs = SocketDefaults::kTimeoutMs)
        : ftpPort_(ftpPort), sftpPort_(sftpPort), receiveTimeoutMs_(receiveTimeoutMs)
    {
    }
    std::unique_ptr<StoreSource> Create(const StationSettings& settings, StoreContext context) override;

private:
    int ftpPort_;
    int sftpPort_;
    int receiveTimeoutMs_;
};
