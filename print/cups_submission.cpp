#include "cups_submission.h"

#include "cups_requests.h"
#include "exit_codes.h"
#include "job_options.h"
#include "job_wait.h"
#include "queue_state.h"
#include "station_jobs.h"
#include "translation.h"

#include <cups/cups.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr int kConnectTimeoutMs = 30000;

http_t* ConnectToScheduler()
{
    return httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                        kConnectTimeoutMs, nullptr);
}

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.is_open() && !in.bad();
}

// Creates the job in English, whatever the user's language: CUPS runs the backends in
// the job's language, and JobWatch reads in their English messages whether they reached
// the printer. 0 when CUPS refused it.
int CreateJob(http_t* http, const char* queue, const std::string& title, const PrintOptions& options)
{
    ipp_t* request = NewRequest(IPP_OP_CREATE_JOB, "printer-uri", "/printers/%s", queue, {});
    ipp_attribute_t* language = ippFindAttribute(request, "attributes-natural-language", IPP_TAG_LANGUAGE);
    ippSetString(request, &language, 0, "en");
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, title.c_str());
    int optionCount = 0;
    cups_option_t* jobOptions = nullptr;
    for (const auto& [name, value] : JobOptions(options))
        optionCount = cupsAddOption(name.c_str(), value.c_str(), optionCount, &jobOptions);
    cupsEncodeOptions2(request, optionCount, jobOptions, IPP_TAG_OPERATION);
    cupsEncodeOptions2(request, optionCount, jobOptions, IPP_TAG_JOB);
    cupsFreeOptions(optionCount, jobOptions);
    ipp_t* response = cupsDoRequest(http, request, (std::string("/printers/") + queue).c_str());
    const int job = ippGetInteger(ippFindAttribute(response, "job-id", IPP_TAG_INTEGER), 0);
    ippDelete(response);
    return cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE ? 0 : job;
}

// Sends the job on an open connection to a known queue. The document is read before the
// job is created, so a read error can never leave the scheduler half a document.
Submission SendJob(http_t* http, const char* queue, const PrintOptions& options)
{
    Submission result;
    result.queue = queue;
    std::string bytes;
    if (!ReadWholeFile(options.file, bytes)) {
        result.code = kFileUnreadable;
        result.reason = Fill(Tr("cannot read \"%1\""), {options.file});
        return result;
    }
    const std::string title = std::filesystem::path(options.file).filename().string();

    const int job = CreateJob(http, queue, title, options);
    if (job == 0) {
        result.code = cupsLastError() == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS ? kQueueClosed : kJobRefused;
        result.reason = Fill(Tr("queue \"%1\" refused the job: %2"), {result.queue, cupsLastErrorString()});
        return result;
    }

    const std::string document = StationDocumentPrefix(options.file) + title;
    const bool started =
        cupsStartDocument(http, queue, job, document.c_str(), CUPS_FORMAT_PDF, 1) == HTTP_STATUS_CONTINUE;
    const bool written = started
        && cupsWriteRequestData(http, bytes.data(), bytes.size()) == HTTP_STATUS_CONTINUE;
    if (started && !written) {
        // Finishing the request would hand the scheduler a cut-off document. Dropping
        // the connection discards it; a fresh connection cancels the empty job.
        result.code = kJobRefused;
        result.reason = Fill(Tr("queue \"%1\" did not take the document: %2"), {result.queue, cupsLastErrorString()});
        httpShutdown(http);
        if (http_t* fresh = ConnectToScheduler()) {
            cupsCancelJob2(fresh, queue, job, 0);
            httpClose(fresh);
        }
        return result;
    }
    const ipp_status_t status = started ? cupsFinishDocument(http, queue) : IPP_STATUS_ERROR_INTERNAL;
    if (status > IPP_STATUS_OK_EVENTS_COMPLETE) {
        result.code = kJobRefused;
        result.reason = Fill(Tr("queue \"%1\" did not take the document: %2"), {result.queue, cupsLastErrorString()});
        cupsCancelJob2(http, queue, job, 0);
        return result;
    }
    result.code = kPrinted;
    result.jobId = job;
    return result;
}

// Why the queue gets nothing now: it is closed, its printer cannot print, or an earlier
// job of the station holds it. Empty when it takes the job; what CUPS does not tell
// closes nothing, and the scheduler then decides when the job is sent.
std::string QueueHeldReason(http_t* http, const std::string& queue, const std::string& file)
{
    const QueueAnswer answer = AskQueue(http, queue);
    if (!answer.known)
        return "";
    const std::string closed = QueueClosedReason(queue, answer.state);
    if (!closed.empty())
        return closed;
    // The latest finished jobs are enough: the job that holds the queue ended moments ago.
    constexpr int kLatestFinished = 20;
    std::vector<StationJob> jobs;
    std::string error;
    return AskUsersJobs(http, queue, "not-completed", 0, jobs, error)
            && AskUsersJobs(http, queue, "completed", kLatestFinished, jobs, error)
        ? EarlierJobReason(queue, jobs, answer.now, StationDocumentPrefix(file))
        : "";
}

}  // namespace

Submission SubmitToCups(const PrintOptions& options)
{
    Submission result;
    http_t* http = ConnectToScheduler();
    if (http == nullptr) {
        result.code = kCupsUnreachable;
        const std::string server = cupsServer();
        result.reason = Fill(Tr("cannot reach the CUPS scheduler at %1"),
                             {server + (server.starts_with("/") ? "" : ":" + std::to_string(ippPort()))});
        return result;
    }

    const char* wanted = options.printer.empty() ? nullptr : options.printer.c_str();
    cups_dest_t* dest = cupsGetNamedDest(http, wanted, nullptr);
    if (dest == nullptr) {
        result.code = kUnknownQueue;
        result.reason = wanted ? Fill(Tr("CUPS has no queue \"%1\""), {options.printer})
                               : std::string(Tr("no queue named and CUPS has no default queue"));
    } else {
        const std::string held = QueueHeldReason(http, dest->name, options.file);
        if (!held.empty()) {
            result.code = kQueueClosed;
            result.reason = held;
            result.queue = dest->name;
        } else {
            result = SendJob(http, dest->name, options);
            if (result.code == kPrinted && options.waitSeconds > 0)
                WaitForJobEnd(http, options.waitSeconds, result);
        }
        cupsFreeDests(1, dest);
    }
    httpClose(http);
    return result;
}
