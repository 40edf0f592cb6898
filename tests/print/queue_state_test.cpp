#include "queue_state.h"

#include <gtest/gtest.h>

TEST(QueueClosedReason, NamesWhatClosesTheQueueAndItsStateReasons)
{
    EXPECT_EQ(QueueClosedReason("q", {"4", "true", "media-empty-warning"}), "");
    EXPECT_EQ(QueueClosedReason("q", {"", "", ""}), "");
    EXPECT_EQ(QueueClosedReason("q", {"5", "false", "media-empty-error,offline-report"}),
              "queue \"q\" does not take jobs now: stopped, rejecting jobs (state reasons: media-empty-error, "
              "offline-report)");
    EXPECT_EQ(QueueClosedReason("q", {"4", "true", "media-jam-error", kCannotPrintGraceSeconds - 1}), "");
    EXPECT_EQ(QueueClosedReason("q", {"3", "true", "offline-report", kCannotPrintGraceSeconds}), "");
    EXPECT_EQ(QueueClosedReason("q", {"4", "true", "offline-report", kCannotPrintGraceSeconds}),
              "queue \"q\" does not take jobs now: the printer reports that it cannot print (state reasons: "
              "offline-report)");
}
