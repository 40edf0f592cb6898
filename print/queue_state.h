// Whether a CUPS queue takes a job now, from the values CUPS lists with the queue.
#pragma once

#include <string>

struct QueueState {
    std::string state;      // printer-state: "3" idle, "4" processing, "5" stopped
    std::string accepting;  // printer-is-accepting-jobs: "true" or "false"
    std::string reasons;    // printer-state-reasons: keywords separated by commas, or "none"
};

// Empty when the queue takes jobs. Otherwise one line that names the queue, what keeps
// it closed (stopped, rejecting jobs) and its state reasons. A value CUPS did not give
// closes nothing: the scheduler then decides when the job is sent.
std::string QueueClosedReason(const std::string& queue, const QueueState& state);
