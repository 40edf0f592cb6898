#include "station_jobs.h"

#include "job_watch.h"
#include "translation.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace {

bool CanceledUntaken(const StationJob& job)
{
    return job.state == kJobCanceled && job.reasons.find("job-canceled-by-user") != std::string::npos
        && job.impressions == 0 && job.sheets == 0;
}

}  // namespace

std::string StationDocumentPrefix(const std::string& documentPath)
{
    std::error_code error;
    const std::filesystem::path document = std::filesystem::weakly_canonical(documentPath, error);
    // FNV-1a: the same folder gives the same name with every build of pdf_print.
    std::uint64_t hash = 0xcbf29ce484222325;
    for (const char c : (error ? std::filesystem::path(documentPath) : document).parent_path().parent_path().string())
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3;
    char name[32];
    std::snprintf(name, sizeof name, "pdf_print %016llx: ", static_cast<unsigned long long>(hash));
    return name;
}

std::string EarlierJobReason(const std::string& queue, const std::vector<StationJob>& jobs, int now,
                             const std::string& prefix)
{
    const StationJob* latest = nullptr;
    for (const StationJob& job : jobs) {
        if (!job.document.starts_with(prefix))
            continue;
        if (job.state < kJobCanceled)
            return Fill(Tr("queue \"%1\" does not take jobs now: job %2 of this station has not finished yet"),
                        {queue, std::to_string(job.id)});
        if (latest == nullptr || job.completedAt > latest->completedAt)
            latest = &job;
    }
    if (latest != nullptr && CanceledUntaken(*latest) && now - latest->completedAt < kStartSeconds)
        return Fill(Tr("queue \"%1\" does not take jobs now: its printer took none of job %2, which was canceled "
                       "%3 s ago; the next document is sent after %4 s"),
                    {queue, std::to_string(latest->id), std::to_string(now - latest->completedAt),
                     std::to_string(kStartSeconds)});
    return "";
}
