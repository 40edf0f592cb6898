// What pdf_print makes of its job while it waits for the job's end: the job's progress
// decides, not a fixed time.
#pragma once

#include <string>

// How long a job may wait, first in its queue, before its backend is connected to the
// printer. A printer that works is connected to within a second or two; one that is off
// or refuses connections never is, and CUPS keeps trying for days.
constexpr int kStartSeconds = 20;

// The job states pdf_print decides on; those from canceled on are final.
constexpr int kJobCanceled = 7;
constexpr int kJobCompleted = 9;

// One look at the job and at its queue.
struct JobLook {
    int state = 0;        // job-state: 3 pending, 4 held, 5 processing, 6 stopped, 7 canceled, 8 aborted, 9 completed
    int impressions = 0;  // job-impressions-completed
    int sheets = 0;       // job-media-sheets-completed
    int jobsAhead = 0;    // number-of-intervening-jobs
    bool printerStopped = false;
    std::string printerReasons;  // printer-state-reasons of the queue
    std::string printerMessage;  // job-printer-state-message: the backend's last word, in English
};

enum class JobVerdict {
    Wait,        // look again
    Printed,     // completed
    NotPrinted,  // aborted or canceled
    NotTaken,    // the printer cannot print or did not start, and has none of the job: cancel it
    Taken,       // the printer cannot print and may have part of the job: leave it with CUPS
};

// True when nothing of the job can have reached the printer: no page or sheet is
// counted, the backend does not wait for the printer to finish the job, and either no
// backend is sending it (the job waits in its queue) or the backend says that it cannot
// connect to the printer. The network backends report their connection only in words.
bool PrinterTookNone(const JobLook& look);

// Follows one job from its sending on. It gives up on a job when the queue is stopped,
// when the printer has reported beyond the grace that it cannot print, or when the job
// has not started kStartSeconds after it was first in line; and then cancels it only
// when the printer took none of it. A job that the printer works on is waited for.
class JobWatch {
public:
    // The verdict of a look taken `seconds` after the sending.
    JobVerdict Look(const JobLook& look, double seconds);

private:
    double firstInLineSince_ = -1;  // since when no other job is ahead of this one
    double cannotPrintSince_ = -1;  // since when the printer reports that it cannot print
};
