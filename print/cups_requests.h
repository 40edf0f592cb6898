// The questions pdf_print asks the CUPS scheduler about a queue and its jobs.
#pragma once

#include "job_watch.h"
#include "queue_state.h"
#include "station_jobs.h"

#include <cups/cups.h>

#include <string>
#include <vector>

// The text with its control characters made blanks: one line of a message.
std::string OneLine(const char* text);

// A request about the object that the format names ("/printers/%s", "/jobs/%s") in its
// URI attribute (uriKind), for the user, asking for the attributes when any are given.
ipp_t* NewRequest(ipp_op_t operation, const char* uriKind, const char* format, const std::string& name,
                  const std::vector<const char*>& attributes);

struct QueueAnswer {
    bool known = false;  // CUPS told the queue's state
    QueueState state;
    int now = 0;        // the scheduler's clock (printer-up-time)
    std::string error;  // why CUPS did not tell, one line
};

QueueAnswer AskQueue(http_t* http, const std::string& queue);

// Adds the user's jobs on the queue that `which` names ("not-completed", "completed"), at
// most `limit` of them (0: all); CUPS lists finished jobs latest first. False with the
// error when CUPS did not list them.
bool AskUsersJobs(http_t* http, const std::string& queue, const char* which, int limit,
                  std::vector<StationJob>& jobs, std::string& error);

struct JobAnswer {
    bool known = false;  // CUPS told the job's state
    bool gone = false;   // CUPS no longer knows the job
    JobLook look;        // the job's part of it; the queue's part is not filled in
    std::string message; // what CUPS says about the job, one line
    std::string error;   // why CUPS did not tell the state
};

JobAnswer AskJob(http_t* http, int job);
