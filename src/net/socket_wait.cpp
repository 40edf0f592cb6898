#include "net/socket_wait.h"

#include "platform/keep_alive.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>

namespace {

// A long wait is cut into slices of this length, and the desktop is kept alive between
// them; the time-out as a whole stays as it was.
constexpr long long kSliceMs = 100;

}  // namespace

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
        const long long left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        const int slice = static_cast<int>(std::clamp(left, 0LL, kSliceMs));
        int ready = poll(&entry, 1, slice);
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
        // The last slice held the rest of the time. After a keep-alive that took longer
        // than the time left, the socket is still asked once more.
        if (ready == 0 && left <= kSliceMs)
            return false;
        KeepDesktopAlive();
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
