// Waits for the end of a job that CUPS has accepted.
#pragma once

#include "cups_submission.h"

#include <cups/cups.h>

// Asks CUPS for the state of submission.jobId until the job has ended or `seconds` have
// passed. Completed leaves the submission printed; aborted or canceled makes it
// kNotPrinted with the job's state message. A job that is still waiting or printing at
// the end stays with CUPS, which keeps it in its own queue: the submission stays
// printed, with a note that says so.
void WaitForJobEnd(http_t* http, int seconds, Submission& submission);
