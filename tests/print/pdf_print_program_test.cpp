// pdf_print as the station starts it, for everything it decides before CUPS answers.
#include "exit_codes.h"

#include "fixtures/make_pdf.h"
#include "fixtures/run_program.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

class PdfPrintProgram : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(folder.Path().empty()); }

    ProgramRun Run(std::vector<std::string> args, std::vector<std::string> environment = {})
    {
        args.insert(args.begin(), PDF_PRINT_PROGRAM);
        ProgramRun run = RunProgram(args, folder.Path(), environment);
        EXPECT_TRUE(run.finished);
        return run;
    }

    // The program explains a failure in exactly one line.
    static void ExpectOneLineReason(const ProgramRun& run, const std::string& part)
    {
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_TRUE(run.err.starts_with("pdf_print: ")) << run.err;
        EXPECT_NE(run.err.find(part), std::string::npos) << run.err;
    }

    ScratchFolder folder;
};

// A loopback port on which nothing listens.
int ClosedPort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

}  // namespace

TEST_F(PdfPrintProgram, RefusesBadArgumentsWithCodeTwo)
{
    ASSERT_TRUE(WritePdf(folder / "a.pdf", "Lieferung"));
    ProgramRun run = Run({"-dPDFFitPage", "-duplex", "-printer", "q", "a.pdf"});
    EXPECT_EQ(run.exitCode, kBadArguments);
    ExpectOneLineReason(run, "unknown option -duplex");

    run = Run({"-printer", "a.pdf"});
    EXPECT_EQ(run.exitCode, kBadArguments);
    ExpectOneLineReason(run, "-printer");

    run = Run({});
    EXPECT_EQ(run.exitCode, kBadArguments);
    ExpectOneLineReason(run, "no file given");
}

TEST_F(PdfPrintProgram, RefusesFilesItCannotReadWithCodeThree)
{
    ProgramRun run = Run({"-printer", "q", "fehlt.pdf"});
    EXPECT_EQ(run.exitCode, kFileUnreadable);
    ExpectOneLineReason(run, "fehlt.pdf");

    std::filesystem::create_directory(folder / "ordner.pdf");
    run = Run({"-printer", "q", "ordner.pdf"});
    EXPECT_EQ(run.exitCode, kFileUnreadable);
    ExpectOneLineReason(run, "ordner.pdf");
}

TEST_F(PdfPrintProgram, RefusesFilesThatAreNoPdfWithCodeFour)
{
    std::ofstream(folder / "brief.pdf") << "Sehr geehrte Damen und Herren,\n";
    ProgramRun run = Run({"-dPDFFitPage", "-color", "-printer", "q", "brief.pdf"});
    EXPECT_EQ(run.exitCode, kNotPdf);
    ExpectOneLineReason(run, "brief.pdf");

    // The file is found relative to the working folder even when its name came in pieces.
    std::ofstream(folder / "mein brief.pdf") << "%!PS-Adobe-3.0\n";
    run = Run({"-printer", "q", "mein", "brief.pdf"});
    EXPECT_EQ(run.exitCode, kNotPdf);
    ExpectOneLineReason(run, "mein brief.pdf");
}

TEST_F(PdfPrintProgram, ReportsAnUnreachableSchedulerWithCodeFive)
{
    ASSERT_TRUE(WritePdf(folder / "a.pdf", "Lieferung"));
    const std::string server = "127.0.0.1:" + std::to_string(ClosedPort());
    const ProgramRun run = Run({"-printer", "q", "a.pdf"}, {"CUPS_SERVER=" + server});
    EXPECT_EQ(run.exitCode, kCupsUnreachable);
    ExpectOneLineReason(run, server);
}

TEST_F(PdfPrintProgram, HelpNamesTheExitCodesAndPrintsNothing)
{
    const ProgramRun run = Run({"--help"}, {"CUPS_SERVER=127.0.0.1:" + std::to_string(ClosedPort())});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.starts_with("usage: pdf_print")) << run.out;
    EXPECT_NE(run.out.find("\n  -wait SECONDS "), std::string::npos) << run.out;
    for (int code : {kBadArguments, kFileUnreadable, kNotPdf, kCupsUnreachable, kUnknownQueue, kJobRefused,
                     kQueueClosed, kNotPrinted})
        EXPECT_NE(run.out.find("\n  " + std::to_string(code) + "  "), std::string::npos) << code;
    EXPECT_EQ(run.err, "");
}
