// What pdf_print makes of its job while it waits for the job's end: the job's progress
// decides, not a fixed time.
#pragma once

#include <cstdint>
#include <string>

// How long a job may wait, first in its queue, before its printer takes any of it. A
// printer that works takes a small job within a few seconds of its sending; one that
// refuses connections never does, and CUPS keeps trying for days. CUPS's filters read a
// large document whole before the printer gets any of it, so each started megabyte of
// the document adds to the bound.
constexpr int kStartSeconds = 20;
constexpr int kStartSecondsPerMegabyte = 1;

int StartSeconds(std::uintmax_t documentBytes);

// One look at the job and at its queue.
struct JobLook {
    int state = 0;        // job-state: 3 pending, 4 held, 5 processing, 6 stopped, 7 canceled, 8 aborted, 9 completed
    int impressions = 0;  // job-impressions-completed
    int sheets = 0;       // job-media-sheets-completed
    int jobsAhead = 0;    // number-of-intervening-jobs
    bool printerStopped = false;
    std::string printerReasons;  // printer-state-reasons of the queue
};

enum class JobVerdict {
    Wait,        // look again
    Printed,     // completed
    NotPrinted,  // aborted or canceled
    NotTaken,    // the printer cannot print or did not start, and has none of the job: cancel it
    Taken,       // the printer cannot print and has part of the job: leave it with CUPS
};

// True when the printer has taken part of the job: it counted a page or a sheet, or
// the backend sent the whole job and waits for the printer to finish it. The network
// backends count the first page as soon as they are connected to the printer.
bool PrinterTookPart(const JobLook& look);

// Follows one job from its sending on.
class JobWatch {
public:
    explicit JobWatch(int startSeconds) : startSeconds_(startSeconds) {}

    // The verdict of a look taken `seconds` after the sending.
    JobVerdict Look(const JobLook& look, double seconds);

private:
    int startSeconds_;
    double firstInLineSince_ = -1;  // since when no other job is ahead of this one
    double cannotPrintSince_ = -1;  // since when the printer reports that it cannot print
};
