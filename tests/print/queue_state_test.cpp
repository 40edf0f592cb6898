#include "queue_state.h"

#include <gtest/gtest.h>

TEST(QueueClosedReason, NamesWhatClosesTheQueueAndItsStateReasons)
{
    EXPECT_EQ(QueueClosedReason("q", {"4", "true", "media-empty-warning"}), "");
    EXPECT_EQ(QueueClosedReason("q", {"", "", ""}), "");
    EXPECT_EQ(QueueClosedReason("q", {"5", "false", "media-empty-error,offline-report"}),
              "queue \"q\" does not take jobs now: stopped, rejecting jobs (state reasons: media-empty-error, "
              "offline-report)");
}
