#include "queue_state.h"

#include <gtest/gtest.h>

TEST(QueueClosedReason, NamesWhatClosesTheQueueAndItsStateReasons)
{
    struct Case {
        QueueState state;
        std::string reason;
    };
    const std::string prefix = "queue \"Ausleihe\" does not take jobs now: ";
    const Case cases[] = {
        {{"3", "true", "none"}, ""},
        {{"4", "true", "media-empty-warning"}, ""},
        {{"", "", ""}, ""},
        {{"5", "true", "paused"}, prefix + "stopped (state reasons: paused)"},
        {{"3", "false", "none"}, prefix + "rejecting jobs"},
        {{"5", "false", "media-empty-error,offline-report"},
         prefix + "stopped, rejecting jobs (state reasons: media-empty-error, offline-report)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QueueClosedReason("Ausleihe", c.state), c.reason) << c.state.state << " " << c.state.accepting;
}
