#include "cups_requests.h"

#include <algorithm>
#include <iterator>

std::string OneLine(const char* text)
{
    std::string line = text != nullptr ? text : "";
    std::replace_if(line.begin(), line.end(), [](unsigned char c) { return c < 0x20; }, ' ');
    return line;
}

ipp_t* NewRequest(ipp_op_t operation, const char* uriKind, const char* format, const std::string& name,
                  const std::vector<const char*>& attributes)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), format,
                     name.c_str());
    ipp_t* request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, uriKind, nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    if (!attributes.empty())
        ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                      static_cast<int>(attributes.size()), nullptr, attributes.data());
    return request;
}

namespace {

int Integer(ipp_t* response, const char* name)
{
    return ippGetInteger(ippFindAttribute(response, name, IPP_TAG_ZERO), 0);
}

// The keywords of an attribute, separated by commas.
std::string Keywords(ipp_attribute_t* attribute)
{
    std::string keywords;
    for (int i = 0; i < ippGetCount(attribute); ++i)
        keywords += (i == 0 ? "" : ",") + OneLine(ippGetString(attribute, i, nullptr));
    return keywords;
}

bool Failed()
{
    return cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE;
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
    return ReasonList(Keywords(ippFindAttribute(response, "job-state-reasons", IPP_TAG_KEYWORD)));
}

}  // namespace

QueueAnswer AskQueue(http_t* http, const std::string& queue)
{
    ipp_t* response = cupsDoRequest(
        http,
        NewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES, "printer-uri", "/printers/%s", queue,
                   {"printer-state", "printer-is-accepting-jobs", "printer-state-reasons", "printer-state-change-time",
                    "printer-up-time"}),
        "/");
    QueueAnswer answer;
    ipp_attribute_t* state = ippFindAttribute(response, "printer-state", IPP_TAG_ENUM);
    if (Failed() || state == nullptr) {
        answer.error = cupsLastErrorString();
    } else {
        answer.known = true;
        answer.now = Integer(response, "printer-up-time");
        answer.state.state = std::to_string(ippGetInteger(state, 0));
        ipp_attribute_t* accepting = ippFindAttribute(response, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
        if (accepting != nullptr)
            answer.state.accepting = ippGetBoolean(accepting, 0) ? "true" : "false";
        answer.state.reasons = Keywords(ippFindAttribute(response, "printer-state-reasons", IPP_TAG_KEYWORD));
        answer.state.secondsInState = answer.now - Integer(response, "printer-state-change-time");
    }
    ippDelete(response);
    return answer;
}

bool AskUsersJobs(http_t* http, const std::string& queue, const char* which, int limit,
                  std::vector<StationJob>& jobs, std::string& error)
{
    ipp_t* request = NewRequest(IPP_OP_GET_JOBS, "printer-uri", "/printers/%s", queue,
                                {"job-id", "job-state", "job-state-reasons", "job-impressions-completed",
                                 "job-media-sheets-completed", "time-at-completed", "document-name-supplied"});
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, which);
    ippAddBoolean(request, IPP_TAG_OPERATION, "my-jobs", 1);
    if (limit > 0)
        ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "limit", limit);
    ipp_t* response = cupsDoRequest(http, request, "/");
    if (Failed()) {
        error = cupsLastErrorString();
        ippDelete(response);
        return false;
    }
    // Each job is a group of attributes; a separator without a name ends it.
    StationJob job;
    for (ipp_attribute_t* attribute = ippFirstAttribute(response);; attribute = ippNextAttribute(response)) {
        const char* name = attribute != nullptr ? ippGetName(attribute) : nullptr;
        if (name == nullptr) {
            if (job.id != 0)
                jobs.push_back(job);
            job = StationJob();
            if (attribute == nullptr)
                break;
            continue;
        }
        if (ippGetGroupTag(attribute) != IPP_TAG_JOB)
            continue;
        const std::string is = name;
        if (is == "job-id")
            job.id = ippGetInteger(attribute, 0);
        else if (is == "job-state")
            job.state = ippGetInteger(attribute, 0);
        else if (is == "job-state-reasons")
            job.reasons = Keywords(attribute);
        else if (is == "job-impressions-completed")
            job.impressions = ippGetInteger(attribute, 0);
        else if (is == "job-media-sheets-completed")
            job.sheets = ippGetInteger(attribute, 0);
        else if (is == "time-at-completed")
            job.completedAt = ippGetInteger(attribute, 0);
        else if (is == "document-name-supplied")
            job.document = OneLine(ippGetString(attribute, 0, nullptr));
    }
    ippDelete(response);
    return true;
}

JobAnswer AskJob(http_t* http, int job)
{
    ipp_t* response = cupsDoRequest(
        http,
        NewRequest(IPP_OP_GET_JOB_ATTRIBUTES, "job-uri", "/jobs/%s", std::to_string(job),
                   {"job-state", "job-state-reasons", "job-state-message", "job-printer-state-message",
                    "job-impressions-completed", "job-media-sheets-completed", "number-of-intervening-jobs"}),
        "/");
    JobAnswer answer;
    ipp_attribute_t* state = ippFindAttribute(response, "job-state", IPP_TAG_ENUM);
    if (Failed() || state == nullptr) {
        answer.gone = cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND;
        answer.error = cupsLastErrorString();
    } else {
        answer.known = true;
        answer.look.state = ippGetInteger(state, 0);
        answer.look.impressions = Integer(response, "job-impressions-completed");
        answer.look.sheets = Integer(response, "job-media-sheets-completed");
        answer.look.jobsAhead = Integer(response, "number-of-intervening-jobs");
        answer.look.printerMessage =
            OneLine(ippGetString(ippFindAttribute(response, "job-printer-state-message", IPP_TAG_TEXT), 0, nullptr));
        answer.message = JobMessage(response);
    }
    ippDelete(response);
    return answer;
}
