// Whether a CUPS queue takes a job now, from the values CUPS gives for the queue.
#pragma once

#include <string>

struct QueueState {
    std::string state;      // printer-state: "3" idle, "4" processing, "5" stopped
    std::string accepting;  // printer-is-accepting-jobs: "true" or "false"
    std::string reasons;    // printer-state-reasons: keywords separated by commas, or "none"
    int secondsInState = 0; // since printer-state-change-time, by the scheduler's clock
};

// How long a printer may report that it cannot print before it counts: a printer that
// is connecting or wakes up reports so for a moment at the start of every job.
constexpr int kCannotPrintGraceSeconds = 5;

// True when the queue is stopped.
bool QueueStopped(const QueueState& state);

// True when the state reasons say the printer cannot print now: an error, offline, or
// still connecting to the device.
bool ReportsCannotPrint(const std::string& reasons);

// The state reasons as a list for a message: "a, b"; empty for "none".
std::string ReasonList(const std::string& reasons);

// Empty when the queue takes jobs. Otherwise one line that names the queue, what keeps
// it closed (stopped, rejecting jobs, or a printer that has been processing for longer
// than the grace and reports that it cannot print) and its state reasons. A value CUPS
// did not give closes nothing: the scheduler then decides when the job is sent.
std::string QueueClosedReason(const std::string& queue, const QueueState& state);
