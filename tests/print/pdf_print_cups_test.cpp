// pdf_print against the machine's CUPS scheduler with a queue that writes PDF files.
#include "fixtures/cups_fixture.h"
#include "fixtures/make_pdf.h"
#include "fixtures/run_program.h"
#include "fixtures/scratch_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr std::chrono::seconds kPrintLimit{90};

class PdfPrintCups : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(folder.Path().empty());
        std::string reason;
        ASSERT_TRUE(SetUpCupsPdfQueue(pdfQueue, reason)) << reason;
    }

    ProgramRun Print(std::vector<std::string> args)
    {
        args.insert(args.begin(), PDF_PRINT_PROGRAM);
        ProgramRun run = RunProgram(args, folder.Path());
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
    void ExpectPrinted(const std::string& token, const std::string& text)
    {
        const std::string printed = WaitForPrintedPdf(pdfQueue, token, kPrintLimit);
        ASSERT_FALSE(printed.empty()) << "nothing with " << token << " in " << pdfQueue.outputFolder;
        EXPECT_NE(PdfText(printed).find(text), std::string::npos) << printed;
        std::filesystem::remove(printed);
    }

    ScratchFolder folder;
    CupsPdfQueue pdfQueue;
};

}  // namespace

TEST_F(PdfPrintCups, PrintsWithTheStationsDefaultTemplate)
{
    const std::string token = UniqueToken("delv");
    const std::string text = "Lieferung " + token;
    ASSERT_TRUE(WritePdf(folder / (token + ".pdf"), text));

    const ProgramRun run = Print({"-dPDFFitPage", "-color", "-printer", pdfQueue.queue, token + ".pdf"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("on queue " + pdfQueue.queue), std::string::npos) << run.out;
    ExpectPrinted(token, text);
}

TEST_F(PdfPrintCups, PrintsAFileWhoseNameArrivedInPiecesInBlackAndWhite)
{
    const std::string token = UniqueToken("rl");
    const std::string text = "Leihschein " + token;
    ASSERT_TRUE(WritePdf(folder / ("Leihschein " + token + ".pdf"), text));

    const ProgramRun run = Print({"-mono", "-copies", "2", "-printer", pdfQueue.queue, "Leihschein",
                                  token + ".pdf"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ExpectPrinted(token, text);
}

TEST_F(PdfPrintCups, RefusesAQueueThatDoesNotExist)
{
    ASSERT_TRUE(WritePdf(folder / "a.pdf", "Deckblatt"));
    const ProgramRun run = Print({"-printer", "station-no-such-queue", "a.pdf"});
    EXPECT_EQ(run.exitCode, 6);
    EXPECT_EQ(run.err, "pdf_print: CUPS has no queue \"station-no-such-queue\"\n");
}

TEST_F(PdfPrintCups, ReportsAQueueThatRefusesJobs)
{
    // A queue of this run's own, so that no other run accepts jobs on it meanwhile.
    const std::string closed = UniqueToken("station-closed-");
    CupsPdfQueue closedQueue;
    std::string reason;
    ASSERT_TRUE(SetUpCupsPdfQueue(closedQueue, reason, closed)) << reason;
    ASSERT_EQ(RunProgram({"/usr/sbin/cupsreject", closed}).exitCode, 0);

    ASSERT_TRUE(WritePdf(folder / "a.pdf", "Deckblatt"));
    const ProgramRun run = Print({"-printer", closed, "a.pdf"});
    EXPECT_EQ(run.exitCode, 7);
    EXPECT_NE(run.err.find(closed), std::string::npos) << run.err;

    EXPECT_EQ(RunProgram({"/usr/sbin/lpadmin", "-x", closed}).exitCode, 0);
}
