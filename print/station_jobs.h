// The jobs that pdf_print sent earlier to a queue for the same user: while one of them
// has not finished, or its printer lately took none of one, the queue gets nothing more,
// so a printer that does not print holds at most one document of the station.
#pragma once

#include <string>
#include <vector>

// pdf_print names the document of each job it sends "pdf_print <station>: <file's
// name>". <station> is a short hash of the folder that holds the document's folder: the
// station's spool tree, whose category folders the station prints from. With the
// requesting user it tells the station's jobs from the user's other jobs and from those
// of another station folder.
std::string StationDocumentPrefix(const std::string& documentPath);

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
// `prefix` is the station's StationDocumentPrefix.
std::string EarlierJobReason(const std::string& queue, const std::vector<StationJob>& jobs, int now,
                             const std::string& prefix);
