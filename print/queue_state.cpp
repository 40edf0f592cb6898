#include "queue_state.h"

namespace {

constexpr const char* kStopped = "5";

}  // namespace

std::string QueueClosedReason(const std::string& queue, const QueueState& state)
{
    std::string closed;
    if (state.state == kStopped)
        closed = "stopped";
    if (state.accepting == "false")
        closed += (closed.empty() ? "" : ", ") + std::string("rejecting jobs");
    if (closed.empty())
        return "";
    std::string reasons;
    if (!state.reasons.empty() && state.reasons != "none") {
        for (const char c : state.reasons)
            reasons += c == ',' ? std::string(", ") : std::string(1, c);
        reasons = " (state reasons: " + reasons + ")";
    }
    return "queue \"" + queue + "\" does not take jobs now: " + closed + reasons;
}
