// The raw socket calls beneath the socket client, one virtual slot each, so that a
// derived class can put another transport underneath.
#pragma once

#include <string>

using SocketHandle = int;
constexpr SocketHandle kInvalidSocket = -1;

class SocketLayer {
public:
    virtual ~SocketLayer() = default;

    // Called once a connection is made; a nonzero result makes the connect fail with it.
    virtual int OnConnected(SocketHandle socket, const std::string& hostText);

    virtual int RawClose(SocketHandle socket);
    virtual int RawShutdown(SocketHandle socket, int how);
    virtual int RawReceive(SocketHandle socket, char* buffer, int size, int flags);
    // Never raises SIGPIPE: a send to a peer that closed its end fails instead.
    virtual int RawSend(SocketHandle socket, const char* data, int length, int flags);
    // True when bytes are waiting to be received.
    virtual bool RawDataAvailable(SocketHandle socket);
    // 0 when the socket became readable within the time, 1 otherwise.
    virtual int RawWaitReadable(SocketHandle socket, int seconds, int microseconds);
};
