#include "watchdog.h"

#include <sys/socket.h>
#include <unistd.h>

Watchdog::Watchdog(int socket)
    : socket_(dup(socket)),
      thread_([this] { Run(); })
{
}

Watchdog::~Watchdog()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
    if (socket_ >= 0) {
        close(socket_);
    }
}

void Watchdog::Arm(int seconds)
{
    bool sooner = false;
    {
        std::lock_guard lock(mutex_);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        // A later deadline waits until the thread wakes for the earlier one: a transfer
        // that arms for every block wakes it only now and then.
        sooner = !waitingUntil_ || deadline < *waitingUntil_;
        deadline_ = deadline;
        if (!fired_) {
            seconds_ = seconds;
        }
    }
    if (sooner) {
        wake_.notify_one();
    }
}

void Watchdog::Disarm()
{
    std::lock_guard lock(mutex_);
    deadline_.reset();
}

bool Watchdog::Fired()
{
    std::lock_guard lock(mutex_);
    return fired_;
}

int Watchdog::FiredAfter()
{
    std::lock_guard lock(mutex_);
    return seconds_;
}

void Watchdog::Run()
{
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (!deadline_) {
            waitingUntil_.reset();
            wake_.wait(lock);
            continue;
        }
        const auto deadline = *deadline_;
        if (std::chrono::steady_clock::now() < deadline) {
            waitingUntil_ = deadline;
            wake_.wait_until(lock, deadline);
            continue;
        }
        deadline_.reset();
        fired_ = true;
        if (socket_ >= 0) {
            shutdown(socket_, SHUT_RDWR);
        }
    }
}
