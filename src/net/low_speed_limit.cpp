#include "net/low_speed_limit.h"

LowSpeedLimit::LowSpeedLimit(long bytes, int milliseconds)
    : bytes_(bytes), window_(std::chrono::milliseconds(milliseconds)), windowStart_(Clock::now())
{
}

bool LowSpeedLimit::Moved(long count)
{
    windowBytes_ += count;
    Clock::time_point now = Clock::now();
    if (windowBytes_ >= bytes_) {
        windowStart_ = now;
        windowBytes_ = 0;
        return true;
    }
    return now - windowStart_ < window_;
}
