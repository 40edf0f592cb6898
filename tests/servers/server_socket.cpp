#include "servers/server_socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in Address(const std::string& text, int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, text.c_str(), &address.sin_addr);
    return address;
}

}  // namespace

ServerSocket::ServerSocket(ServerSocket&& other) noexcept
    : fd_(other.fd_), stop_(other.stop_), pending_(std::move(other.pending_))
{
    other.fd_ = -1;
}

ServerSocket& ServerSocket::operator=(ServerSocket&& other) noexcept
{
    if (this != &other) {
        Close();
        fd_ = other.fd_;
        stop_ = other.stop_;
        pending_ = std::move(other.pending_);
        other.fd_ = -1;
    }
    return *this;
}

ServerSocket ServerSocket::Listen(const std::string& address, const std::atomic<bool>* stop, int port)
{
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in local = Address(address, port);
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 || listen(fd, 8) != 0) {
        if (fd >= 0)
            close(fd);
        return ServerSocket();
    }
    return ServerSocket(fd, stop);
}

ServerSocket ServerSocket::ConnectTo(const std::string& address, int port, const std::string& from,
                                     const std::atomic<bool>* stop)
{
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return ServerSocket();
    if (!from.empty()) {
        sockaddr_in local = Address(from, 0);
        if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
            close(fd);
            return ServerSocket();
        }
    }
    sockaddr_in remote = Address(address, port);
    if (connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0) {
        close(fd);
        return ServerSocket();
    }
    return ServerSocket(fd, stop);
}

int ServerSocket::Port() const
{
    sockaddr_in local{};
    socklen_t length = sizeof local;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &length);
    return ntohs(local.sin_port);
}

bool ServerSocket::WaitReadable(int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    pollfd entry{fd_, POLLIN, 0};
    while (Clock::now() < deadline) {
        if (stop_ && stop_->load())
            return false;
        entry.revents = 0;
        int ready = poll(&entry, 1, 50);
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
    return false;
}

ServerSocket ServerSocket::Accept(int timeoutMs)
{
    if (fd_ < 0 || !WaitReadable(timeoutMs))
        return ServerSocket();
    int fd = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    return fd < 0 ? ServerSocket() : ServerSocket(fd, stop_);
}

bool ServerSocket::SendAll(const std::string& bytes)
{
    size_t sent = 0;
    while (fd_ >= 0 && sent < bytes.size()) {
        ssize_t count = send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        sent += static_cast<size_t>(count);
    }
    return fd_ >= 0;
}

bool ServerSocket::ReadLine(std::string& line, int timeoutMs)
{
    for (;;) {
        size_t end = pending_.find('\n');
        if (end != std::string::npos) {
            line = pending_.substr(0, end + 1);
            pending_.erase(0, end + 1);
            return true;
        }
        if (fd_ < 0 || !WaitReadable(timeoutMs))
            return false;
        char chunk[4096];
        ssize_t count = recv(fd_, chunk, sizeof chunk, 0);
        if (count <= 0)
            return false;
        pending_.append(chunk, static_cast<size_t>(count));
    }
}

std::string ServerSocket::ReadToEnd(int timeoutMs)
{
    std::string all = std::move(pending_);
    pending_.clear();
    char chunk[4096];
    while (fd_ >= 0 && WaitReadable(timeoutMs)) {
        ssize_t count = recv(fd_, chunk, sizeof chunk, 0);
        if (count <= 0)
            break;
        all.append(chunk, static_cast<size_t>(count));
    }
    return all;
}

bool ServerSocket::AwaitPeerClose(int timeoutMs)
{
    pending_.clear();
    char chunk[4096];
    while (fd_ >= 0 && WaitReadable(timeoutMs)) {
        if (recv(fd_, chunk, sizeof chunk, 0) <= 0)
            return true;
    }
    return false;
}

void ServerSocket::Close()
{
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
    pending_.clear();
}
