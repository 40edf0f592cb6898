#include "station_jobs.h"

#include "job_watch.h"
#include "translation.h"

namespace {

constexpr int kCanceled = 7;

bool IsStations(const StationJob& job)
{
    return job.document.starts_with(kStationDocumentPrefix);
}

bool CanceledUntaken(const StationJob& job)
{
    return job.state == kCanceled && job.reasons.find("job-canceled-by-user") != std::string::npos
        && job.impressions == 0 && job.sheets == 0;
}

}  // namespace

std::string EarlierJobReason(const std::string& queue, const std::vector<StationJob>& jobs, int now)
{
    const StationJob* latest = nullptr;
    for (const StationJob& job : jobs) {
        if (!IsStations(job))
            continue;
        if (job.state < kCanceled)
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
