// A transport put between a socket client and its connection socket (TLS): the raw
// calls of the connection go through it, so the client reads and writes plain bytes.
#pragma once

#include "net/socket_layer.h"

class SocketFilter {
public:
    virtual ~SocketFilter() = default;

    // The connection socket the filter sits on.
    virtual SocketHandle Socket() const = 0;
    // As the raw calls of SocketLayer; MSG_PEEK is the one flag a receive takes.
    virtual int Receive(char* buffer, int size, int flags) = 0;
    virtual int Send(const char* data, int length) = 0;
    virtual bool DataAvailable() = 0;
    virtual int WaitReadable(int seconds, int microseconds) = 0;
    // Ends the filtered stream, then shuts the socket down.
    virtual int Shutdown(int how) = 0;
};
