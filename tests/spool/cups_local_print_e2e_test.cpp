// The station in local mode printing through pdf_print with the default parameter
// template into queues of the machine's CUPS scheduler: a document stays in the spool
// tree until CUPS has printed it, and then it is printed once; a printer that is off
// holds back no other category.
#include "config/station_settings.h"
#include "fixtures/cups_fixture.h"
#include "fixtures/make_pdf.h"
#include "fixtures/run_program.h"
#include "spool/polling_cycle.h"
#include "spool/store_station.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

// The log lines that report pdf_print's `code` for a document.
long CodeLines(const Lines& log, int code)
{
    const std::string end = " hat Code " + std::to_string(code) + " zurückgeliefert!";
    return std::count_if(log.begin(), log.end(), [&end](const std::string& line) { return line.ends_with(end); });
}

TEST(LocalPrintThroughCups, KeepsWhatCupsDidNotPrintAndPrintsEachDocumentOnce)
{
    CupsPdfQueue pdfQueue;
    std::string error;
    ASSERT_TRUE(SetUpCupsPdfQueue(pdfQueue, error)) << error;
    const std::string token = "lcups" + std::to_string(getpid()) + "n";
    const UnreachableQueue failing("station-" + token + "abort", {"printer-error-policy=abort-job"});
    const UnreachableQueue stopped("station-" + token + "stopped", {});
    const UnreachableQueue rejecting("station-" + token + "rejecting", {});
    ASSERT_EQ(RunProgram({"/usr/sbin/cupsdisable", stopped.name}).exitCode, 0);
    ASSERT_EQ(RunProgram({"/usr/sbin/cupsreject", rejecting.name}).exitCode, 0);

    StoreStation station;
    StationSettings settings = LocalKorvidSettings(station.test.folder.Path());
    settings.Printer_PDF_Prog = PDF_PRINT_PROGRAM;
    settings.Printer_PDF_Prog_Params = kDefaultPrintParams;
    Station& korvid = station.Make(settings);
    Lines documents;  // sorted as FilesBelow lists them
    // Every pass fetches one more document and prints all that wait on `queue`, or the
    // deliveries on a queue of their own.
    const auto pass = [&](const std::string& queue, const Lines& more, const std::string& deliveries = "") {
        for (const std::string& document : more) {
            const std::string path = station.test.folder / "source/4711/SPOOL/" + document;
            fs::create_directories(fs::path(path).parent_path());
            ASSERT_TRUE(WritePdf(path, "Dokument " + document));
            documents.insert(std::upper_bound(documents.begin(), documents.end(), document), document);
        }
        StationSettings& now = korvid.Settings();
        now.Printer_RL = now.Printer_FrontSheet = queue;
        now.Printer_Delivery = deliveries.empty() ? queue : deliveries;
        korvid.OnPollingTick(POLL_TIMER_ID);
    };

    korvid.StartPolling();
    pass(failing.name, {"RL/" + token + "r1.pdf", "DELV/" + token + "d1.pdf"});
    EXPECT_EQ(FilesBelow(station.SpoolRoot()), documents);
    pass(stopped.name, {"FRONTSH/" + token + "f1.pdf"});
    EXPECT_EQ(FilesBelow(station.SpoolRoot()), documents);
    pass(rejecting.name, {"DELV/" + token + "d2.pdf"});
    EXPECT_EQ(FilesBelow(station.SpoolRoot()), documents);
    const Lines log = Messages(FileLines(settings.LogFileName));
    EXPECT_EQ(CodeLines(log, 9), 2);
    // The same code again for the same document is not logged again.
    EXPECT_EQ(CodeLines(log, 8), 3 + 1);

    pass(pdfQueue.queue, {"RL/" + token + "r2.pdf"});
    pass(pdfQueue.queue, {});
    EXPECT_EQ(FilesBelow(station.SpoolRoot()), Lines{});
    for (const std::string& document : documents)
        EXPECT_EQ(PrintedPdfs(pdfQueue, fs::path(document).stem().string()).size(), 1u) << document;

    // A printer that is off holds back no other category; once it is back, each document
    // that waited for it is printed once.
    SwitchedOffPrinterQueue off("station-" + token + "off");
    const Lines waiting = {"DELV/" + token + "d3.pdf", "DELV/" + token + "d4.pdf"};
    pass(pdfQueue.queue, {waiting[0], waiting[1], "RL/" + token + "r3.pdf"}, off.Name());
    EXPECT_EQ(FilesBelow(station.SpoolRoot()), waiting);
    EXPECT_EQ(PrintedPdfs(pdfQueue, token + "r3").size(), 1u);
    ASSERT_TRUE(off.SwitchOn());
    for (int tick = 0; tick < 30 && !FilesBelow(station.SpoolRoot()).empty(); ++tick) {
        std::this_thread::sleep_for(std::chrono::seconds(2));
        pass(pdfQueue.queue, {}, off.Name());
    }
    pass(pdfQueue.queue, {}, off.Name());
    korvid.StopPolling();
    EXPECT_EQ(off.Received(), (Lines{MakePdf("Dokument " + waiting[0]), MakePdf("Dokument " + waiting[1])}));
    for (const std::string& printed : PrintedPdfs(pdfQueue, token))
        fs::remove(printed);
}

}  // namespace
