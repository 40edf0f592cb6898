#include "job_wait.h"

#include "exit_codes.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kFirstPause{250};
constexpr std::chrono::milliseconds kLongestPause{2000};

struct JobState {
    bool known = false;  // CUPS told the state
    bool gone = false;   // CUPS no longer knows the job
    ipp_jstate_t state = IPP_JSTATE_PENDING;
    std::string message;  // what CUPS says about the job, one line
    std::string error;    // why CUPS did not tell the state
};

std::string OneLine(const char* text)
{
    std::string line = text != nullptr ? text : "";
    std::replace_if(line.begin(), line.end(), [](unsigned char c) { return c < 0x20; }, ' ');
    return line;
}

// The job's own state message, else the printer's message for the job, else the state
// reasons.
std::string JobMessage(ipp_t* response)
{
    for (const char* name : {"job-state-message", "job-printer-state-message"}) {
        const std::string text = OneLine(ippGetString(ippFindAttribute(response, name, IPP_TAG_TEXT), 0, nullptr));
        if (!text.empty())
            return text;
    }
    std::string reasons;
    ipp_attribute_t* attribute = ippFindAttribute(response, "job-state-reasons", IPP_TAG_KEYWORD);
    for (int i = 0; i < ippGetCount(attribute); ++i)
        reasons += (i == 0 ? "" : ", ") + OneLine(ippGetString(attribute, i, nullptr));
    return reasons;
}

JobState AskJobState(http_t* http, int job)
{
    static const char* const kAttributes[] = {"job-state", "job-state-reasons", "job-state-message",
                                              "job-printer-state-message"};
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/jobs/%d", job);
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  std::size(kAttributes), nullptr, kAttributes);
    ipp_t* response = cupsDoRequest(http, request, "/");

    JobState result;
    ipp_attribute_t* state = ippFindAttribute(response, "job-state", IPP_TAG_ENUM);
    if (cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE || state == nullptr) {
        result.gone = cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND;
        result.error = cupsLastErrorString();
    } else {
        result.known = true;
        result.state = static_cast<ipp_jstate_t>(ippGetInteger(state, 0));
        result.message = JobMessage(response);
    }
    ippDelete(response);
    return result;
}

}  // namespace

void WaitForJobEnd(http_t* http, int seconds, Submission& submission)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(seconds);
    Clock::duration pause = kFirstPause;
    JobState job;
    for (;;) {
        job = AskJobState(http, submission.jobId);
        const Clock::duration left = deadline - Clock::now();
        if (job.gone || (job.known && job.state >= IPP_JSTATE_CANCELED) || left <= Clock::duration::zero())
            break;
        std::this_thread::sleep_for(std::min(pause, left));
        pause = std::min<Clock::duration>(pause * 2, kLongestPause);
    }

    const std::string what = "job " + std::to_string(submission.jobId) + " on queue \"" + submission.queue + "\"";
    if (job.known && job.state == IPP_JSTATE_COMPLETED)
        return;
    if (job.known && job.state >= IPP_JSTATE_CANCELED) {
        submission.code = kNotPrinted;
        submission.reason = "CUPS did not print " + what + ", it was " + ippEnumString("job-state", job.state)
            + (job.message.empty() ? "" : ": " + job.message);
        return;
    }
    const std::string kept = "; it stays with CUPS, which prints it when it can";
    if (job.known)
        submission.note = what + " is still " + ippEnumString("job-state", job.state) + " after "
            + std::to_string(seconds) + " s" + kept;
    else if (job.gone)
        submission.note = "CUPS no longer knows " + what + ", so whether it printed is unknown";
    else
        submission.note = "CUPS did not tell the state of " + what + " (" + job.error + ")" + kept;
}
