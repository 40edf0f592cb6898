// Lets the positions of one transfer through to the progress bar at most every 64 KB or
// 50 ms, so the window does no more work than an eye can see; the transfer's last
// position is shown at its end.
#pragma once

#include <chrono>

class ProgressThrottle {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr long kBytes = 64 * 1024;
    static constexpr Clock::duration kInterval = std::chrono::milliseconds(50);

    void Start(Clock::time_point now);
    // True when the position is to be shown now.
    bool Due(long position, Clock::time_point now);
    // True when the last position given was not shown.
    bool Behind() const { return latest_ != shown_; }
    long Latest() const { return latest_; }

private:
    long shown_ = 0;
    long latest_ = 0;
    Clock::time_point shownAt_;
};
