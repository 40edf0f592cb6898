// A socket of the scripted fake servers. Every wait is bounded and ends early when the
// server is told to stop, so that no test can hang on a fake.
#pragma once

#include <atomic>
#include <string>

class ServerSocket {
public:
    ServerSocket() = default;
    ServerSocket(int fd, const std::atomic<bool>* stop) : fd_(fd), stop_(stop) {}
    ~ServerSocket() { Close(); }
    ServerSocket(ServerSocket&& other) noexcept;
    ServerSocket& operator=(ServerSocket&& other) noexcept;
    ServerSocket(const ServerSocket&) = delete;
    ServerSocket& operator=(const ServerSocket&) = delete;

    // A listening socket on the address, any free port unless one is given.
    static ServerSocket Listen(const std::string& address, const std::atomic<bool>* stop, int port = 0);
    // A connection to address:port made from the local address "from" (empty: any).
    static ServerSocket ConnectTo(const std::string& address, int port, const std::string& from,
                                  const std::atomic<bool>* stop);

    bool IsOpen() const { return fd_ >= 0; }
    int Port() const;
    ServerSocket Accept(int timeoutMs);
    bool SendAll(const std::string& bytes);
    // One line with its line end; false when the peer closed or the time ran out first.
    bool ReadLine(std::string& line, int timeoutMs);
    // Everything until the peer closes (or the time runs out).
    std::string ReadToEnd(int timeoutMs);
    // Drops whatever comes until the peer closes; false when the time ran out first.
    bool AwaitPeerClose(int timeoutMs);
    void Close();

private:
    // True when readable within the time; false on time-out or stop.
    bool WaitReadable(int timeoutMs);

    int fd_ = -1;
    const std::atomic<bool>* stop_ = nullptr;
    std::string pending_;  // received but not yet handed out
};
