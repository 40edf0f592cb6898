#include "queue_state.h"

#include "translation.h"

#include <sstream>

namespace {

constexpr const char* kProcessing = "4";
constexpr const char* kStopped = "5";

}  // namespace

bool ReportsCannotPrint(const std::string& reasons)
{
    std::istringstream list(reasons);
    for (std::string reason; std::getline(list, reason, ',');) {
        if (reason.ends_with("-error") || reason.starts_with("offline") || reason == "connecting-to-device")
            return true;
    }
    return false;
}

std::string ReasonList(const std::string& reasons)
{
    if (reasons == "none")
        return "";
    std::string list;
    for (const char c : reasons)
        list += c == ',' ? std::string(", ") : std::string(1, c);
    return list;
}

bool QueueStopped(const QueueState& state)
{
    return state.state == kStopped;
}

std::string QueueClosedReason(const std::string& queue, const QueueState& state)
{
    std::string closed;
    const auto add = [&closed](const char* what) { closed += (closed.empty() ? "" : ", ") + std::string(what); };
    if (QueueStopped(state))
        add(Tr("stopped"));
    if (state.accepting == "false")
        add(Tr("rejecting jobs"));
    // Only a backend at work reports the printer's state; an idle queue may show what an
    // earlier job left.
    if (closed.empty() && state.state == kProcessing && ReportsCannotPrint(state.reasons)
        && state.secondsInState >= kCannotPrintGraceSeconds)
        add(Tr("the printer reports that it cannot print"));
    if (closed.empty())
        return "";
    const std::string reasons = ReasonList(state.reasons);
    if (!reasons.empty())
        closed = Fill(Tr("%1 (state reasons: %2)"), {closed, reasons});
    return Fill(Tr("queue \"%1\" does not take jobs now: %2"), {queue, closed});
}
