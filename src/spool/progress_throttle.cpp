#include "spool/progress_throttle.h"

void ProgressThrottle::Start(Clock::time_point now)
{
    shown_ = latest_ = 0;
    shownAt_ = now;
}

bool ProgressThrottle::Due(long position, Clock::time_point now)
{
    latest_ = position;
    if (position - shown_ < kBytes && now - shownAt_ < kInterval)
        return false;
    shown_ = position;
    shownAt_ = now;
    return true;
}
