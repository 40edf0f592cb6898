// Waits for the end of a job that CUPS has accepted.
#pragma once

#include "cups_submission.h"

#include <cups/cups.h>

// Asks CUPS for the state of submission.jobId and of its queue until the job has ended,
// JobWatch gives up on it, or `seconds` have passed. Completed leaves the submission
// printed; aborted or canceled makes it kNotPrinted with the job's state message. A job
// whose printer took none of it is canceled and kNotPrinted. A job that the printer has
// taken part of, or that is still waiting or printing when the time is up, stays with
// CUPS, which keeps it in its own queue: the submission stays printed, with a note that
// says so.
void WaitForJobEnd(http_t* http, int seconds, Submission& submission);
