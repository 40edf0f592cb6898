// Hands a checked PDF file to the CUPS scheduler as a print job.
#pragma once

#include "print_options.h"

#include <string>

struct Submission {
    int code = 0;        // a PrintExitCode
    std::string reason;  // one line, set when code is not kPrinted
    std::string queue;   // the queue that was asked
    int jobId = 0;
    std::string note;    // one line for the operator when printed is not yet confirmed
};

// Connects to the scheduler the CUPS client configuration names (CUPS_SERVER and
// client.conf included), looks the queue up, sends nothing to a queue that is stopped,
// rejects jobs, whose printer reports that it cannot print, or that an earlier job of
// the station holds (see EarlierJobReason), sends options.file as application/pdf and waits for the job's end
// as WaitForJobEnd does, at most options.waitSeconds (0: returns kPrinted as soon as
// the scheduler accepted the whole document).
Submission SubmitToCups(const PrintOptions& options);
