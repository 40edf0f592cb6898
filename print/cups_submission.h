// Hands a checked PDF file to the CUPS scheduler as a print job.
#pragma once

#include "print_options.h"

#include <string>

struct Submission {
    int code = 0;        // a PrintExitCode
    std::string reason;  // one line, set when code is not kPrinted
    std::string queue;   // the queue that took the job
    int jobId = 0;
};

// Connects to the scheduler the CUPS client configuration names (CUPS_SERVER and
// client.conf included), looks the queue up and sends options.file as application/pdf.
// Returns kPrinted once the scheduler accepted the whole document.
Submission SubmitToCups(const PrintOptions& options);
