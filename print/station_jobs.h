// The jobs that pdf_print sent earlier to a queue for the same user: while one of them
// has not finished, or its printer lately took none of one, the queue gets nothing more,
// so a printer that does not print holds at most one document of the station.
#pragma once

#include <string>
#include <vector>

// pdf_print names the documents it sends with this prefix before the file's name; with
// the requesting user it tells the station's jobs from the user's other jobs.
constexpr const char* kStationDocumentPrefix = "pdf_print: ";

struct StationJob {
    int id = 0;
    int state = 0;           // job-state
    std::string reasons;     // job-state-reasons, separated by commas
    int impressions = 0;     // job-impressions-completed
    int sheets = 0;          // job-media-sheets-completed
    int completedAt = 0;     // time-at-completed, by the scheduler's clock; 0 while not finished
    std::string document;    // document-name-supplied
};

// Empty when none of `jobs` holds the queue at the scheduler's time `now`. Otherwise one
// line: a job of the station that has not finished, or one that pdf_print canceled
// because its printer took none of it less than the start bound ago (the next document
// is sent once that time is over, to see whether the printer is back).
std::string EarlierJobReason(const std::string& queue, const std::vector<StationJob>& jobs, int now);
