#include "cups_submission.h"

#include "exit_codes.h"
#include "job_options.h"
#include "job_wait.h"
#include "queue_state.h"

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

// Sends the job on an open connection to a known queue. The document is read before the
// job is created, so a read error can never leave the scheduler half a document.
Submission SendJob(http_t* http, const char* queue, const PrintOptions& options)
{
    Submission result;
    result.queue = queue;
    std::string document;
    if (!ReadWholeFile(options.file, document)) {
        result.code = kFileUnreadable;
        result.reason = "cannot read \"" + options.file + "\"";
        return result;
    }
    const std::string title = std::filesystem::path(options.file).filename().string();

    int optionCount = 0;
    cups_option_t* jobOptions = nullptr;
    for (const auto& [name, value] : JobOptions(options))
        optionCount = cupsAddOption(name.c_str(), value.c_str(), optionCount, &jobOptions);
    const int job = cupsCreateJob(http, queue, title.c_str(), optionCount, jobOptions);
    cupsFreeOptions(optionCount, jobOptions);
    if (job == 0) {
        result.code = cupsLastError() == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS ? kQueueClosed : kJobRefused;
        result.reason = "queue \"" + result.queue + "\" refused the job: " + cupsLastErrorString();
        return result;
    }

    const bool started =
        cupsStartDocument(http, queue, job, title.c_str(), CUPS_FORMAT_PDF, 1) == HTTP_STATUS_CONTINUE;
    const bool written = started
        && cupsWriteRequestData(http, document.data(), document.size()) == HTTP_STATUS_CONTINUE;
    if (started && !written) {
        // Finishing the request would hand the scheduler a cut-off document. Dropping
        // the connection discards it; a fresh connection cancels the empty job.
        result.code = kJobRefused;
        result.reason = "queue \"" + result.queue + "\" did not take the document: " + cupsLastErrorString();
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
        result.reason = "queue \"" + result.queue + "\" did not take the document: " + cupsLastErrorString();
        cupsCancelJob2(http, queue, job, 0);
        return result;
    }
    result.code = kPrinted;
    result.jobId = job;
    return result;
}

QueueState StateOf(const cups_dest_t& dest)
{
    const auto value = [&dest](const char* name) {
        const char* text = cupsGetOption(name, dest.num_options, dest.options);
        return std::string(text != nullptr ? text : "");
    };
    return {value("printer-state"), value("printer-is-accepting-jobs"), value("printer-state-reasons")};
}

}  // namespace

Submission SubmitToCups(const PrintOptions& options)
{
    Submission result;
    http_t* http = ConnectToScheduler();
    if (http == nullptr) {
        result.code = kCupsUnreachable;
        const std::string server = cupsServer();
        result.reason = "cannot reach the CUPS scheduler at " + server
            + (server.starts_with("/") ? "" : ":" + std::to_string(ippPort()));
        return result;
    }

    const char* wanted = options.printer.empty() ? nullptr : options.printer.c_str();
    cups_dest_t* dest = cupsGetNamedDest(http, wanted, nullptr);
    if (dest == nullptr) {
        result.code = kUnknownQueue;
        result.reason = wanted ? "CUPS has no queue \"" + options.printer + "\""
                               : std::string("no queue named and CUPS has no default queue");
    } else {
        const std::string closed = QueueClosedReason(dest->name, StateOf(*dest));
        if (!closed.empty()) {
            result.code = kQueueClosed;
            result.reason = closed;
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
