#include "servers/unanswered_port.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

UnansweredPort::UnansweredPort()
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    // A backlog of 0 holds one finished handshake; further connects go unanswered.
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || listen(listener_, 0) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    port_ = ntohs(address.sin_port);
    for (int i = 0; i < 2; ++i) {
        int filler = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
        fillers_.push_back(filler);
    }
    // The backlog is full once the first filler is connected.
    pollfd entry{fillers_.front(), POLLOUT, 0};
    poll(&entry, 1, 2000);
}

UnansweredPort::~UnansweredPort()
{
    for (int filler : fillers_)
        close(filler);
    if (listener_ >= 0)
        close(listener_);
}
