// Ends a transfer that moves too little: fewer than the given bytes within each window of
// the given time (by default 1 KB in 30 seconds), so a peer that trickles cannot hold a
// transfer for ever while every single receive is well within its time-out.
#pragma once

#include <chrono>

class LowSpeedLimit {
public:
    static constexpr long kBytes = 1024;
    static constexpr int kMilliseconds = 30000;

    LowSpeedLimit(long bytes, int milliseconds);

    // Counts bytes that arrived now; false once a whole window passed with fewer.
    bool Moved(long count);

private:
    using Clock = std::chrono::steady_clock;

    long bytes_;
    Clock::duration window_;
    Clock::time_point windowStart_;
    long windowBytes_ = 0;
};
