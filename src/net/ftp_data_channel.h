// The data connection of an FTP client: its progress hooks and its abort query are the
// owning client's, so that a client that reports progress or aborts sees the data bytes.
#pragma once

#include "net/ws_client.h"

#include <string>

class FtpClient;
class TlsContext;

class FtpDataChannel : public CUT_WSClient {
public:
    FtpDataChannel(FtpClient& owner, TlsContext& tls) : owner_(owner), tls_(tls) {}

    int OnReceiveProgress(long bytesSoFar) override;
    int OnSendProgress(long bytesSoFar) override;
    bool IsAborted() override;
    // Refuses an accepted connection from any other address than the expected peer;
    // a protected connection gets its TLS here, in both directions of connecting.
    int OnConnected(SocketHandle socket, const std::string& hostText) override;

    // The address an accepted connection must come from; empty accepts any.
    void ExpectPeer(const std::string& address) { expectedPeer_ = address; }

private:
    FtpClient& owner_;
    TlsContext& tls_;
    std::string expectedPeer_;
};
