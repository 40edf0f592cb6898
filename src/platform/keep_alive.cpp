#include "platform/keep_alive.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kLeastGap = std::chrono::milliseconds(10);

std::atomic<DesktopKeepAlive*> installed{nullptr};
// The desktop's events are handled on the thread that installed it, and only there.
std::thread::id desktopThread;
Clock::time_point lastCall;
int inputScopes = 0;

}  // namespace

void InstallDesktopKeepAlive(DesktopKeepAlive* keepAlive)
{
    desktopThread = std::this_thread::get_id();
    lastCall = {};
    installed = keepAlive;
}

void KeepDesktopAlive()
{
    DesktopKeepAlive* keepAlive = installed;
    if (!keepAlive || std::this_thread::get_id() != desktopThread)
        return;
    Clock::time_point now = Clock::now();
    if (now - lastCall < kLeastGap)
        return;
    lastCall = now;
    keepAlive->HandlePending(inputScopes > 0);
}

DesktopInputTaken::DesktopInputTaken()
{
    ++inputScopes;
}

DesktopInputTaken::~DesktopInputTaken()
{
    --inputScopes;
}
