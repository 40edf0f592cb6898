#include "net/socket_wait.h"

#include <cerrno>
#include <chrono>
#include <poll.h>

bool WaitForSocket(SocketHandle socket, SocketEvent event, int seconds, int microseconds)
{
    if (socket == kInvalidSocket)
        return false;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(seconds < 0 ? 0 : seconds)
        + std::chrono::microseconds(microseconds < 0 ? 0 : microseconds);
    pollfd entry{};
    entry.fd = socket;
    entry.events = event == SocketEvent::Readable ? POLLIN : POLLOUT;
    for (;;) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        int ready = poll(&entry, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

SocketDeadline DeadlineAfterMs(int milliseconds)
{
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds < 0 ? 0 : milliseconds);
}

bool TimeLeft(SocketDeadline deadline, int& seconds, int& microseconds)
{
    const auto left = std::chrono::ceil<std::chrono::microseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0)
        return false;
    seconds = static_cast<int>(left / 1000000);
    microseconds = static_cast<int>(left % 1000000);
    return true;
}
