#include "net/socket_layer.h"

#include "net/socket_wait.h"

#include <cerrno>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

int SocketLayer::OnConnected(SocketHandle, const std::string&)
{
    return 0;
}

int SocketLayer::RawClose(SocketHandle socket)
{
    return close(socket);
}

int SocketLayer::RawShutdown(SocketHandle socket, int how)
{
    return shutdown(socket, how);
}

int SocketLayer::RawReceive(SocketHandle socket, char* buffer, int size, int flags)
{
    ssize_t count;
    do
        count = recv(socket, buffer, static_cast<size_t>(size), flags);
    while (count < 0 && errno == EINTR);
    return static_cast<int>(count);
}

int SocketLayer::RawSend(SocketHandle socket, const char* data, int length, int flags)
{
    ssize_t count;
    do
        count = send(socket, data, static_cast<size_t>(length), flags | MSG_NOSIGNAL);
    while (count < 0 && errno == EINTR);
    return static_cast<int>(count);
}

bool SocketLayer::RawDataAvailable(SocketHandle socket)
{
    int count = 0;
    return ioctl(socket, FIONREAD, &count) == 0 && count > 0;
}

int SocketLayer::RawWaitReadable(SocketHandle socket, int seconds, int microseconds)
{
    return WaitForSocket(socket, SocketEvent::Readable, seconds, microseconds) ? 0 : 1;
}
