// The raw calls of the socket client: through the filter for the connection it sits on,
// straight to the platform for everything else (the listening socket, a plain connection).
#include "net/ws_client.h"

int CUT_WSClient::RawClose(SocketHandle socket)
{
    if (filter_ && filter_->Socket() == socket)
        filter_.reset();
    return SocketLayer::RawClose(socket);
}

int CUT_WSClient::RawShutdown(SocketHandle socket, int how)
{
    if (filter_ && filter_->Socket() == socket)
        return filter_->Shutdown(how);
    return SocketLayer::RawShutdown(socket, how);
}

int CUT_WSClient::RawReceive(SocketHandle socket, char* buffer, int size, int flags)
{
    if (filter_ && filter_->Socket() == socket)
        return filter_->Receive(buffer, size, flags);
    return SocketLayer::RawReceive(socket, buffer, size, flags);
}

int CUT_WSClient::RawSend(SocketHandle socket, const char* data, int length, int flags)
{
    if (filter_ && filter_->Socket() == socket)
        return filter_->Send(data, length);
    return SocketLayer::RawSend(socket, data, length, flags);
}

bool CUT_WSClient::RawDataAvailable(SocketHandle socket)
{
    if (filter_ && filter_->Socket() == socket)
        return filter_->DataAvailable();
    return SocketLayer::RawDataAvailable(socket);
}

int CUT_WSClient::RawWaitReadable(SocketHandle socket, int seconds, int microseconds)
{
    if (filter_ && filter_->Socket() == socket)
        return filter_->WaitReadable(seconds, microseconds);
    return SocketLayer::RawWaitReadable(socket, seconds, microseconds);
}
