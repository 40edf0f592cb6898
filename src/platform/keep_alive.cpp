#include "platform/keep_alive.h"

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kLeastGap = std::chrono::milliseconds(10);

DesktopKeepAlive* installed = nullptr;
Clock::time_point lastCall;
int inputScopes = 0;

}  // namespace

void InstallDesktopKeepAlive(DesktopKeepAlive* keepAlive)
{
    installed = keepAlive;
    lastCall = {};
}

void KeepDesktopAlive()
{
    if (!installed)
        return;
    Clock::time_point now = Clock::now();
    if (now - lastCall < kLeastGap)
        return;
    lastCall = now;
    installed->HandlePending(inputScopes > 0);
}

DesktopInputTaken::DesktopInputTaken()
{
    ++inputScopes;
}

DesktopInputTaken::~DesktopInputTaken()
{
    --inputScopes;
}
