// Keeps the desktop alive while the station waits: a wait that can last (for the print
// program, for a transfer, for a server) calls KeepDesktopAlive between its slices, so
// the window repaints and answers the desktop meanwhile. Input is taken during a wait
// only inside a scope that is ready for it (the polling cycle, whose guards refuse what
// may not run while it runs); during any other wait, such as a dialog's connection test,
// input waits for the wait's end.
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

class DesktopKeepAlive {
public:
    virtual ~DesktopKeepAlive() = default;
    // Handles what has come in for the desktop, input only when asked, and returns at once.
    virtual void HandlePending(bool takeInput) = 0;
};

// While one lives, waits take input.
class DesktopInputTaken {
public:
    DesktopInputTaken();
    ~DesktopInputTaken();
    DesktopInputTaken(const DesktopInputTaken&) = delete;
    DesktopInputTaken& operator=(const DesktopInputTaken&) = delete;
};

// The event loop belongs to the process, as the message boxes do: the desktop installs
// its implementation at start and removes it at the end; without one the call does
// nothing.
void InstallDesktopKeepAlive(DesktopKeepAlive* keepAlive);
// Calls the installed one, at most once in a few milliseconds however often it is
// called, so a transfer may call it at every block; on another thread than the one that
// installed it, nothing.
void KeepDesktopAlive();

// Waits on the condition until done() holds, true, or the deadline passes, false; the
// desktop is kept alive between slices of the wait, with the lock released.
template <typename Done>
bool WaitKeepingDesktopAlive(std::unique_lock<std::mutex>& lock, std::condition_variable& condition,
                             std::chrono::steady_clock::time_point deadline, Done done)
{
    using Clock = std::chrono::steady_clock;
    for (;;) {
        const Clock::time_point sliceEnd = std::min(deadline, Clock::now() + std::chrono::milliseconds(100));
        if (condition.wait_until(lock, sliceEnd, done))
            return true;
        if (Clock::now() >= deadline)
            return false;
        lock.unlock();
        KeepDesktopAlive();
        lock.lock();
    }
}
