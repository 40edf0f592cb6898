#include "spool/progress_throttle.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ProgressThrottle, ShowsEvery64KBOr50Milliseconds)
{
    using std::chrono::milliseconds;
    const ProgressThrottle::Clock::time_point start{};
    struct Case {
        milliseconds perStep;
        long every;  // shown every so many 1024-byte steps
    };
    for (Case c : {Case{milliseconds(0), 64}, Case{milliseconds(10), 5}, Case{milliseconds(50), 1}}) {
        ProgressThrottle throttle;
        throttle.Start(start);
        std::vector<long> shown;
        std::vector<long> expected;
        for (long step = 1; step <= 1024; ++step) {
            if (throttle.Due(step * 1024, start + step * c.perStep))
                shown.push_back(step * 1024);
            if (step % c.every == 0)
                expected.push_back(step * 1024);
        }
        EXPECT_EQ(shown, expected) << c.every;
        EXPECT_EQ(throttle.Behind(), 1024 % c.every != 0);
        EXPECT_EQ(throttle.Latest(), 1024 * 1024);
    }
}
