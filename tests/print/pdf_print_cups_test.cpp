// pdf_print against the machine's CUPS scheduler with a queue that writes PDF files.
#include "exit_codes.h"
#include "fixtures/cups_fixture.h"
#include "fixtures/make_pdf.h"
#include "fixtures/run_program.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace {

constexpr std::chrono::seconds kPrintLimit{90};

class PdfPrintCups : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(std::filesystem::create_directory(folder));
        std::string reason;
        ASSERT_TRUE(SetUpCupsPdfQueue(pdfQueue, reason)) << reason;
    }

    ProgramRun Print(std::vector<std::string> args)
    {
        args.insert(args.begin(), PDF_PRINT_PROGRAM);
        ProgramRun run = RunProgram(args, folder);
        EXPECT_TRUE(run.finished);
        return run;
    }

    // A name part no other test run on this machine uses at the same time.
    static std::string UniqueToken(const std::string& what)
    {
        static int counter = 0;
        return what + std::to_string(getpid()) + "n" + std::to_string(++counter);
    }

    // Waits for the printed file, checks that it carries `text` and removes it.
    void ExpectPrinted(const std::string& token, const std::string& text,
                       std::chrono::seconds limit = kPrintLimit)
    {
        const std::string printed = WaitForPrintedPdf(pdfQueue, token, limit);
        ASSERT_FALSE(printed.empty()) << "nothing with " << token << " in " << pdfQueue.outputFolder;
        EXPECT_NE(PdfText(printed).find(text), std::string::npos) << printed;
        std::filesystem::remove(printed);
    }

    ScratchFolder scratch;
    // pdf_print knows a station's jobs by the folder above a document's folder: documents
    // one level down keep the tests that run side by side apart.
    const std::string folder = scratch / "DELV";
    CupsPdfQueue pdfQueue;
};

}  // namespace

TEST_F(PdfPrintCups, PrintsWithTheStationsDefaultTemplate)
{
    const std::string token = UniqueToken("delv");
    const std::string text = "Lieferung " + token;
    ASSERT_TRUE(WritePdf(folder + "/" + (token + ".pdf"), text));

    const ProgramRun run = Print({"-dPDFFitPage", "-color", "-printer", pdfQueue.queue, token + ".pdf"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("on queue " + pdfQueue.queue), std::string::npos) << run.out;
    // pdf_print waited for the job's end: the queue has written the file already.
    ExpectPrinted(token, text, std::chrono::seconds(0));
}

TEST_F(PdfPrintCups, PrintsAFileWhoseNameArrivedInPiecesInBlackAndWhite)
{
    const std::string token = UniqueToken("rl");
    const std::string text = "Leihschein " + token;
    ASSERT_TRUE(WritePdf(folder + "/" + ("Leihschein " + token + ".pdf"), text));

    const ProgramRun run = Print({"-mono", "-copies", "2", "-printer", pdfQueue.queue, "Leihschein",
                                  token + ".pdf"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ExpectPrinted(token, text);
}

TEST_F(PdfPrintCups, RefusesAQueueThatDoesNotExist)
{
    ASSERT_TRUE(WritePdf(folder + "/a.pdf", "Deckblatt"));
    const ProgramRun run = Print({"-printer", "station-no-such-queue", "a.pdf"});
    EXPECT_EQ(run.exitCode, 6);
    EXPECT_EQ(run.err, "pdf_print: CUPS has no queue \"station-no-such-queue\"\n");
}

TEST_F(PdfPrintCups, SendsNothingToAQueueThatIsStoppedOrRejectsJobs)
{
    ASSERT_TRUE(WritePdf(folder + "/a.pdf", "Deckblatt"));
    for (const auto& [command, closed] : {std::pair{"/usr/sbin/cupsdisable", "stopped (state reasons: paused)"},
                                          std::pair{"/usr/sbin/cupsreject", "rejecting jobs"}}) {
        // A queue of this run's own, so that no other run changes its state meanwhile.
        const UnreachableQueue queue(UniqueToken("station-closed-"), {});
        ASSERT_EQ(RunProgram({command, queue.name}).exitCode, 0);
        const ProgramRun run = Print({"-printer", queue.name, "a.pdf"});
        EXPECT_EQ(run.exitCode, kQueueClosed) << command;
        EXPECT_EQ(run.err, "pdf_print: queue \"" + queue.name + "\" does not take jobs now: " + closed + "\n");
        EXPECT_EQ(QueueJobs(queue.name, "all"), "") << command;
    }
}

TEST_F(PdfPrintCups, EndsWithTheJobsEndOrLeavesTheJobToCupsWhenTheWaitIsOver)
{
    struct Case {
        const char* option;  // of the queue
        const char* wait;
        int code;
        const char* says;  // after the queue's name on standard error
    };
    ASSERT_TRUE(WritePdf(folder + "/a.pdf", "Deckblatt"));
    for (const Case& c : {Case{"printer-error-policy=abort-job", "60", kNotPrinted, "\", it was aborted: "},
                          Case{"job-hold-until-default=indefinite", "1", kPrinted, "\" is still pending-held after 1 s"}}) {
        const UnreachableQueue queue(UniqueToken("station-unreachable-"), {c.option});
        const ProgramRun run = Print({"-wait", c.wait, "-printer", queue.name, "a.pdf"});
        EXPECT_EQ(run.exitCode, c.code) << run.err;
        EXPECT_NE(run.err.find(" on queue \"" + queue.name + c.says), std::string::npos) << run.err;
        // A job that was not printed has ended; one left to CUPS is still there.
        EXPECT_EQ(QueueJobs(queue.name, "not-completed").empty(), c.code == kNotPrinted) << c.option;
    }
}

TEST_F(PdfPrintCups, HoldsOneDocumentForAPrinterThatIsOffAndPrintsEachOnceWhenItIsBack)
{
    struct Step {
        const char* document;
        bool toPdfQueue;  // else to the queue whose printer is off until `printerOn`
        bool printerOn;
        int code;          // 9, not 0 after the whole wait: the job was given up early
        const char* says;  // on standard error
        size_t jobsSent;   // to the queue with the printer that was off, so far
    };
    SwitchedOffPrinterQueue off(UniqueToken("station-off-"));
    const std::string token = UniqueToken("back");
    const auto text = [&token](const std::string& name) { return "Dokument " + token + name; };
    for (const char* name : {"d1.pdf", "d2.pdf", "r1.pdf"})
        ASSERT_TRUE(WritePdf(folder + "/" + (token + name), text(name)));
    const std::string cut = MakePdf(text("kaputt.pdf"));
    std::ofstream(folder + "/" + (token + "kaputt.pdf")) << cut.substr(0, cut.size() / 2);
    bool on = false;

    for (const Step& step : {Step{"kaputt.pdf", false, false, kDamagedPdf, "ist beschädigt", 0},
                             Step{"d1.pdf", false, false, kNotPrinted, "printer took none of it", 1},
                             Step{"d2.pdf", false, false, kQueueClosed, "took none of job", 1},
                             Step{"r1.pdf", true, false, kPrinted, "", 1},
                             Step{"d1.pdf", false, true, kPrinted, "", 2},
                             Step{"d2.pdf", false, true, kPrinted, "", 3}}) {
        const std::string document = token + step.document;
        const std::string queue = step.toPdfQueue ? pdfQueue.queue : off.Name();
        if (step.printerOn && !on) {
            ASSERT_TRUE(on = off.SwitchOn());
        }
        ProgramRun run;  // a code 8 is tried again, as the station does, until the queue takes it
        for (int tries = 0; tries < 30; ++tries) {
            run = RunProgram({PDF_PRINT_PROGRAM, "-printer", queue, document}, folder,
                             {"LANG=C.UTF-8", "LANGUAGE=" + std::string(step.code == kDamagedPdf ? "de" : "en")});
            if (run.exitCode != kQueueClosed || step.code == kQueueClosed)
                break;
            std::this_thread::sleep_for(std::chrono::seconds(2));
        }
        EXPECT_EQ(run.exitCode, step.code) << document << ": " << run.err;
        EXPECT_NE(run.err.find(step.says), std::string::npos) << run.err;
        EXPECT_EQ(QueueJobs(off.Name(), "not-completed"), "") << document;
        const std::string sent = QueueJobs(off.Name(), "all");
        EXPECT_EQ(static_cast<size_t>(std::count(sent.begin(), sent.end(), '\n')), step.jobsSent) << document;
    }
    ExpectPrinted(token + "r1", text("r1.pdf"));
    EXPECT_EQ(off.Received(), (std::vector<std::string>{MakePdf(text("d1.pdf")), MakePdf(text("d2.pdf"))}));
}
