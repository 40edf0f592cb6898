// The station in local mode printing through pdf_print with the default parameter
// template into queues of the machine's CUPS scheduler: a document stays in the spool
// tree until CUPS has printed it, and then it is printed once.
#include "config/station_settings.h"
#include "fixtures/cups_fixture.h"
#include "fixtures/make_pdf.h"
#include "fixtures/run_program.h"
#include "spool/polling_cycle.h"
#include "spool/store_station.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

// A queue that does not print: its backend fails the job, or it is closed before the pass.
struct FailingQueue {
    std::vector<std::string> options;
    const char* closing;  // the command that closes it, or nullptr
    int code;             // pdf_print's exit code for it
};

std::string Token(const std::string& what)
{
    return "lcups" + std::to_string(getpid()) + what + "n";
}

// A local-mode station with pdf_print and the default template, all categories on `queue`.
Station& MakeStation(StoreStation& station, const std::string& queue)
{
    StationSettings settings = LocalKorvidSettings(station.test.folder.Path());
    settings.Printer_Delivery = settings.Printer_RL = settings.Printer_FrontSheet = queue;
    settings.Printer_PDF_Prog = PDF_PRINT_PROGRAM;
    settings.Printer_PDF_Prog_Params = kDefaultPrintParams;
    for (const char* category : {"DELV", "RL", "FRONTSH"})
        fs::create_directories(station.test.folder / "source/4711/SPOOL/" + category);
    return station.Make(settings);
}

// Puts documents named "<category>/<name>" into the station's local store tree.
void Put(StoreStation& station, const Lines& documents)
{
    for (const std::string& document : documents)
        ASSERT_TRUE(WritePdf(station.test.folder / "source/4711/SPOOL/" + document, "Dokument " + document));
}

TEST(LocalPrintThroughCups, KeepsEveryDocumentThatCupsDidNotPrint)
{
    CupsPdfQueue pdfQueue;
    std::string error;
    ASSERT_TRUE(SetUpCupsPdfQueue(pdfQueue, error)) << error;
    const FailingQueue failingQueues[] = {
        {{"printer-error-policy=abort-job"}, nullptr, 9},
        {{}, "/usr/sbin/cupsdisable", 8},
        {{}, "/usr/sbin/cupsreject", 8},
    };
    for (const FailingQueue& failing : failingQueues) {
        const std::string token =
            Token(std::to_string(failing.code) + (failing.closing ? fs::path(failing.closing).filename().string() : ""));
        const UnreachableQueue queue("station-" + token, failing.options);
        ASSERT_TRUE(queue.Added());
        if (failing.closing) {
            ASSERT_EQ(RunProgram({failing.closing, queue.Name()}).exitCode, 0);
        }
        StoreStation station;
        Station& korvid = MakeStation(station, queue.Name());
        const Lines documents = {"DELV/" + token + "d1.pdf", "RL/" + token + "r1.pdf"};
        Put(station, documents);

        korvid.StartPolling();
        korvid.StopPolling();

        EXPECT_EQ(FilesBelow(station.SpoolRoot()), documents) << queue.Name();
        const Lines log = Messages(FileLines(korvid.Settings().LogFileName));
        for (const std::string& document : documents) {
            const std::string line = "Drucken der Datei: " + fs::path(document).filename().string() + ": "
                + PDF_PRINT_PROGRAM + " hat Code " + std::to_string(failing.code) + " zurückgeliefert!";
            EXPECT_EQ(std::count(log.begin(), log.end(), line), 1) << line;
        }
        EXPECT_EQ(QueueJobs(queue.Name(), failing.closing ? "all" : "not-completed"), "") << queue.Name();
    }
}

TEST(LocalPrintThroughCups, PrintsWhatWaitedOnceWhenTheQueueTakesJobsAgain)
{
    const std::string token = Token("again");
    CupsPdfQueue pdfQueue;
    std::string error;
    ASSERT_TRUE(SetUpCupsPdfQueue(pdfQueue, error, "station-" + token)) << error;
    ASSERT_EQ(RunProgram({"/usr/sbin/cupsdisable", pdfQueue.queue}).exitCode, 0);
    StoreStation station;
    Station& korvid = MakeStation(station, pdfQueue.queue);
    const Lines documents = {"DELV/" + token + "d1.pdf", "RL/" + token + "r1.pdf", "FRONTSH/" + token + "f1.pdf"};
    Put(station, {documents[0], documents[1]});

    korvid.StartPolling();
    EXPECT_EQ(FilesBelow(station.SpoolRoot()), (Lines{documents[0], documents[1]}));

    // The next pass that fetches a document prints the ones that waited as well, and a
    // pass after it prints nothing again.
    ASSERT_EQ(RunProgram({"/usr/sbin/cupsenable", pdfQueue.queue}).exitCode, 0);
    Put(station, {documents[2]});
    korvid.OnPollingTick(POLL_TIMER_ID);
    korvid.OnPollingTick(POLL_TIMER_ID);
    korvid.StopPolling();

    EXPECT_EQ(FilesBelow(station.SpoolRoot()), Lines{});
    for (const std::string& document : documents)
        EXPECT_EQ(PrintedPdfs(pdfQueue, fs::path(document).stem().string()).size(), 1u) << document;
    for (const std::string& printed : PrintedPdfs(pdfQueue, token))
        fs::remove(printed);
    RunProgram({"/usr/sbin/lpadmin", "-x", pdfQueue.queue});
}

}  // namespace
