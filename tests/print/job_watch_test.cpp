#include "job_watch.h"
#include "station_jobs.h"

#include <gtest/gtest.h>

TEST(JobWatch, StopsWaitingByTheJobsProgressAndTellsTakenFromNotTaken)
{
    using enum JobVerdict;
    struct Case {
        const char* what;
        JobLook look;  // the same at the first look and `seconds` later
        double seconds;
        JobVerdict verdict;
    };
    const std::string refused = "The printer may not exist or is unavailable at this time.";
    for (const Case& c :
         {Case{"completed", {9, 0, 0, 0, false, "none", ""}, 0, Printed},
          Case{"aborted", {8, 0, 0, 0, false, "none", ""}, 0, NotPrinted},
          Case{"port refuses, within the bound", {5, 0, 0, 0, false, "none", refused}, 19, Wait},
          Case{"port refuses, past the bound", {5, 0, 0, 0, false, "none", refused}, 21, NotTaken},
          Case{"lpd backend sending", {5, 0, 0, 0, false, "none", "Spooling job, 40% complete."}, 100, Wait},
          Case{"held", {4, 0, 0, 0, false, "none", ""}, 21, NotTaken},
          Case{"behind other jobs", {3, 0, 0, 2, false, "none", ""}, 100, Wait},
          Case{"connected: first page counted", {5, 1, 1, 0, false, "none", refused}, 100, Wait},
          Case{"all sent, printer finishing", {5, 0, 0, 0, false, "cups-waiting-for-job-completed", ""}, 100, Wait},
          Case{"offline within the grace", {5, 0, 0, 0, false, "offline-report", refused}, 4, Wait},
          Case{"offline past the grace", {5, 0, 0, 0, false, "offline-report", refused}, 6, NotTaken},
          Case{"error past the grace, connected", {5, 0, 0, 0, false, "media-jam-error", "Connected to printer."}, 6,
               Taken},
          Case{"stopped, none taken", {3, 0, 0, 0, true, "paused", ""}, 0, NotTaken},
          Case{"stopped, part printed", {3, 2, 1, 0, true, "media-jam-error,paused", ""}, 0, Taken}}) {
        JobWatch watch;
        watch.Look(c.look, 0);
        EXPECT_EQ(watch.Look(c.look, c.seconds), c.verdict) << c.what;
    }
}

TEST(EarlierJobReason, HoldsTheQueueForAnUnfinishedOrLatelyUntakenJobOfTheStation)
{
    const StationJob printed{1, 9, "job-completed-successfully", 1, 1, 100, "pdf_print s: a.pdf"};
    const StationJob untaken{2, 7, "job-canceled-by-user", 0, 0, 110, "pdf_print s: b.pdf"};
    const StationJob pending{3, 3, "job-incoming", 0, 0, 0, "pdf_print s: c.pdf"};
    const StationJob usersOwn{4, 3, "job-incoming", 0, 0, 0, "Brief.pdf"};
    const StationJob otherStations{5, 3, "job-incoming", 0, 0, 0, "pdf_print t: d.pdf"};
    struct Case {
        std::vector<StationJob> jobs;
        int now;
        const char* says;  // "": the queue is not held
    };
    for (const Case& c : {Case{{printed, usersOwn, otherStations}, 200, ""}, Case{{usersOwn, pending}, 200, "job 3 of this station"},
                          Case{{printed, untaken}, 129, "took none of job 2"}, Case{{untaken, printed}, 131, ""}}) {
        const std::string reason = EarlierJobReason("q", c.jobs, c.now, "pdf_print s: ");
        EXPECT_EQ(reason.empty(), *c.says == '\0') << reason;
        EXPECT_NE(reason.find(c.says), std::string::npos) << reason;
    }
}
