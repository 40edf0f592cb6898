#include "job_watch.h"

#include "queue_state.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace {

constexpr int kPending = 3;
constexpr int kHeld = 4;

// What the socket, ipp and lpd backends of CUPS say, in English, before each try to
// connect and after each failed one.
constexpr std::string_view kNotConnected[] = {
    "Connecting to printer.",
    "The printer is in use.",
    "The printer is not responding.",
    "The printer is unreachable at this time.",
    "The printer may not exist or is unavailable at this time.",
    "Unable to locate printer",
};

}  // namespace

bool PrinterTookNone(const JobLook& look)
{
    if (look.impressions > 0 || look.sheets > 0
        || look.printerReasons.find("cups-waiting-for-job-completed") != std::string::npos)
        return false;
    if (look.state == kPending || look.state == kHeld)
        return true;
    return std::any_of(std::begin(kNotConnected), std::end(kNotConnected),
                       [&look](std::string_view said) { return look.printerMessage.starts_with(said); });
}

JobVerdict JobWatch::Look(const JobLook& look, double seconds)
{
    if (look.state == kJobCompleted)
        return JobVerdict::Printed;
    if (look.state >= kJobCanceled)
        return JobVerdict::NotPrinted;

    if (!ReportsCannotPrint(look.printerReasons))
        cannotPrintSince_ = -1;
    else if (cannotPrintSince_ < 0)
        cannotPrintSince_ = seconds;
    // Jobs ahead of this one keep the printer busy; the start bound runs once none is left.
    if (look.jobsAhead > 0)
        firstInLineSince_ = -1;
    else if (firstInLineSince_ < 0)
        firstInLineSince_ = seconds;
    const bool cannotPrint =
        look.printerStopped || (cannotPrintSince_ >= 0 && seconds - cannotPrintSince_ >= kCannotPrintGraceSeconds);
    const bool late = firstInLineSince_ >= 0 && seconds - firstInLineSince_ >= kStartSeconds;
    if (!cannotPrint && !late)
        return JobVerdict::Wait;
    if (PrinterTookNone(look))
        return JobVerdict::NotTaken;
    return cannotPrint ? JobVerdict::Taken : JobVerdict::Wait;
}
