#include "job_watch.h"

#include "queue_state.h"

namespace {

constexpr int kCanceled = 7;
constexpr int kCompleted = 9;

}  // namespace

int StartSeconds(std::uintmax_t documentBytes)
{
    constexpr std::uintmax_t kMegabyte = 1024 * 1024;
    return kStartSeconds + kStartSecondsPerMegabyte * static_cast<int>((documentBytes + kMegabyte - 1) / kMegabyte);
}

bool PrinterTookPart(const JobLook& look)
{
    return look.impressions > 0 || look.sheets > 0
        || look.printerReasons.find("cups-waiting-for-job-completed") != std::string::npos;
}

JobVerdict JobWatch::Look(const JobLook& look, double seconds)
{
    if (look.state == kCompleted)
        return JobVerdict::Printed;
    if (look.state >= kCanceled)
        return JobVerdict::NotPrinted;

    if (!ReportsCannotPrint(look.printerReasons))
        cannotPrintSince_ = -1;
    else if (cannotPrintSince_ < 0)
        cannotPrintSince_ = seconds;
    const bool cannotPrint =
        look.printerStopped || (cannotPrintSince_ >= 0 && seconds - cannotPrintSince_ >= kCannotPrintGraceSeconds);
    const bool took = PrinterTookPart(look);
    if (cannotPrint)
        return took ? JobVerdict::Taken : JobVerdict::NotTaken;
    if (took)
        return JobVerdict::Wait;

    // Jobs ahead of this one keep the printer busy; the bound starts once none is left.
    if (look.jobsAhead > 0)
        firstInLineSince_ = -1;
    else if (firstInLineSince_ < 0)
        firstInLineSince_ = seconds;
    return firstInLineSince_ >= 0 && seconds - firstInLineSince_ >= startSeconds_ ? JobVerdict::NotTaken
                                                                                 : JobVerdict::Wait;
}
