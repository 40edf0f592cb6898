// Bounds every wait of a connection: when an armed deadline passes, the connection's
// socket is shut down, so that the blocked call in libssh returns with an error.
// libssh bounds only the connect by itself; its SFTP requests would wait forever.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

class Watchdog {
public:
    // Watches the socket of a connected session; keeps a duplicate of the descriptor,
    // so that a shut-down never reaches a descriptor number the process reused.
    explicit Watchdog(int socket);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    // False when the descriptor could not be duplicated: nothing would bound the waits.
    bool Watching() const { return socket_ >= 0; }
    void Arm(int seconds);
    void Disarm();
    // True once a deadline passed: the connection is unusable from then on.
    bool Fired();
    // The seconds of the deadline that passed.
    int FiredAfter();

private:
    void Run();

    int socket_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<std::chrono::steady_clock::time_point> deadline_;
    // The deadline the thread sleeps until; none while it waits to be armed.
    std::optional<std::chrono::steady_clock::time_point> waitingUntil_;
    int seconds_ = 0;
    bool fired_ = false;
    bool stop_ = false;
    std::thread thread_;
};

// Arms the watchdog for the lifetime of one call.
class WatchdogArm {
public:
    WatchdogArm(Watchdog& watchdog, int seconds) : watchdog_(watchdog) { watchdog_.Arm(seconds); }
    ~WatchdogArm() { watchdog_.Disarm(); }
    WatchdogArm(const WatchdogArm&) = delete;
    WatchdogArm& operator=(const WatchdogArm&) = delete;

private:
    Watchdog& watchdog_;
};
