#include "job_wait.h"

#include "cups_requests.h"
#include "exit_codes.h"
#include "translation.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kFirstPause{50};
constexpr std::chrono::milliseconds kLongestPause{2000};

const char* StateName(int state)
{
    return ippEnumString("job-state", state);
}

// Cancels a job the printer took none of. The job may have ended or been taken just
// before: then it stays as it is.
void CancelUntaken(http_t* http, const JobAnswer& job, const std::string& why, Submission& submission)
{
    const std::string id = std::to_string(submission.jobId);
    if (cupsCancelJob2(http, submission.queue.c_str(), submission.jobId, 0) <= IPP_STATUS_OK_EVENTS_COMPLETE) {
        submission.code = kNotPrinted;
        submission.reason = Fill(Tr("job %1 on queue \"%2\" was canceled because its printer took none of it: %3"),
                                 {id, submission.queue, why + (job.message.empty() ? "" : " (" + job.message + ")")});
        return;
    }
    const JobAnswer now = AskJob(http, submission.jobId);
    if (now.known && now.look.state >= IPP_JSTATE_CANCELED && now.look.state != IPP_JSTATE_COMPLETED) {
        submission.code = kNotPrinted;
        submission.reason = Fill(Tr("CUPS did not print job %1 on queue \"%2\", it was %3"),
                                 {id, submission.queue, StateName(now.look.state)});
    } else if (!now.known || now.look.state != IPP_JSTATE_COMPLETED) {
        submission.note = Fill(Tr("job %1 on queue \"%2\" could not be canceled (%3); it stays with CUPS, which "
                                  "prints it when it can"),
                               {id, submission.queue, cupsLastErrorString()});
    }
}

}  // namespace

void WaitForJobEnd(http_t* http, int seconds, Submission& submission)
{
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + std::chrono::seconds(seconds);
    Clock::duration pause = kFirstPause;
    JobWatch watch;
    JobAnswer job;
    JobVerdict verdict = JobVerdict::Wait;
    QueueAnswer queue;
    for (;;) {
        job = AskJob(http, submission.jobId);
        if (job.known) {
            queue = AskQueue(http, submission.queue);
            job.look.printerStopped = queue.known && QueueStopped(queue.state);
            job.look.printerReasons = queue.state.reasons;
            verdict = watch.Look(job.look, std::chrono::duration<double>(Clock::now() - start).count());
        }
        const Clock::duration left = deadline - Clock::now();
        if (job.gone || verdict != JobVerdict::Wait || left <= Clock::duration::zero())
            break;
        std::this_thread::sleep_for(std::min(pause, left));
        pause = std::min<Clock::duration>(pause * 5 / 4, kLongestPause);
    }

    const std::string id = std::to_string(submission.jobId);
    const std::string kept = Tr("it stays with CUPS, which prints it when it can");
    const std::string reasons = ReasonList(queue.state.reasons);
    const std::string cannotPrint = job.look.printerStopped
        ? std::string(Tr("the queue was stopped"))
        : Fill(Tr("the printer reports that it cannot print: %1"), {reasons});
    switch (verdict) {
    case JobVerdict::Printed:
        return;
    case JobVerdict::NotPrinted:
        submission.code = kNotPrinted;
        submission.reason = Fill(Tr("CUPS did not print job %1 on queue \"%2\", it was %3"),
                                 {id, submission.queue, StateName(job.look.state)})
            + (job.message.empty() ? "" : ": " + job.message);
        return;
    case JobVerdict::NotTaken:
        CancelUntaken(http,
                      job,
                      job.look.printerStopped || ReportsCannotPrint(queue.state.reasons)
                          ? cannotPrint
                          : Fill(Tr("it did not start within %1 s"), {std::to_string(kStartSeconds)}),
                      submission);
        return;
    case JobVerdict::Taken:
        submission.note = Fill(Tr("job %1 on queue \"%2\": %3, and the printer may have part of the job; %4"),
                               {id, submission.queue, cannotPrint, kept});
        return;
    case JobVerdict::Wait:
        break;
    }
    if (job.known)
        submission.note = Fill(Tr("job %1 on queue \"%2\" is still %3 after %4 s; %5"),
                               {id, submission.queue, StateName(job.look.state), std::to_string(seconds), kept});
    else if (job.gone)
        submission.note = Fill(Tr("CUPS no longer knows job %1 on queue \"%2\", so whether it printed is unknown"),
                               {id, submission.queue});
    else
        submission.note = Fill(Tr("CUPS did not tell the state of job %1 on queue \"%2\" (%3); %4"),
                               {id, submission.queue, job.error, kept});
}
