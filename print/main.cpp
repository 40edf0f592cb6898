// pdf_print: the station's print program. Sends one PDF file to a CUPS queue and ends
// with 0 once CUPS printed the job; see the usage text for options and exit codes.
#include "cups_requests.h"
#include "cups_submission.h"
#include "exit_codes.h"
#include "job_watch.h"
#include "pdf_document_check.h"
#include "pdf_file_check.h"
#include "print_options.h"
#include "translation.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The usage text with the start bound filled in.
std::string Usage()
{
    return Fill(Tr(
        "usage: pdf_print [-printer QUEUE] [-dPDFFitPage] [-color | -mono] [-copies N]\n"
        "                 [-wait SECONDS] FILE\n"
        "\n"
        "Sends the PDF file FILE (relative to the working folder) to the CUPS queue QUEUE,\n"
        "or to the default queue when -printer is missing or empty, and waits until CUPS\n"
        "reports the job's end. A damaged document is not sent. Nothing is sent to a queue\n"
        "that is stopped or rejects jobs, whose printer reports that it cannot print, or\n"
        "that still has an earlier job of the same station. A job that the printer\n"
        "has taken none of when it reports that it cannot print, or when its printer\n"
        "could not be connected to %1 s after it was first in line, is canceled.\n"
        "\n"
        "  -printer QUEUE  the CUPS queue\n"
        "  -dPDFFitPage    scale each page to fit the paper (fit-to-page)\n"
        "  -color, -mono   print in colour or in black and white (print-color-mode)\n"
        "  -copies N       number of copies, 1 to 999\n"
        "  -wait SECONDS   wait at most this long for the job's end, 0 to 86400 (default\n"
        "                  300); a job still waiting or printing then stays with CUPS,\n"
        "                  which prints it later, and pdf_print ends with 0 and says so on\n"
        "                  standard error. -wait 0 ends as soon as CUPS accepted the job.\n"
        "\n"
        "Exit codes:\n"
        "  0  CUPS printed the job, or still holds it when the wait ended\n"
        "  2  bad arguments: unknown option, option without its value, no file\n"
        "  3  the file is missing, a folder or cannot be read\n"
        "  4  the file is not a PDF document (no \"%PDF-\" in its first 1024 bytes)\n"
        "  5  the CUPS scheduler cannot be reached\n"
        "  6  CUPS has no such queue, or no default queue when none was named\n"
        "  7  CUPS refused the job\n"
        "  8  the queue does not take jobs now: it is stopped or rejects jobs, its\n"
        "     printer reports that it cannot print, or an earlier job holds it; nothing\n"
        "     was sent\n"
        "  9  CUPS did not print the job: it was aborted or canceled, or the printer\n"
        "     took none of it and pdf_print canceled it\n"
        "  10  the document is damaged: it cannot be opened, has no pages, or a page\n"
        "      cannot be read; nothing was sent\n"),
        {std::to_string(kStartSeconds)});
}

// Every message is one line on standard error, so the station can log the last one.
int Fail(int code, const std::string& reason)
{
    std::fprintf(stderr, "pdf_print: %s\n", OneLine(reason.c_str()).c_str());
    return code;
}

}  // namespace

int main(int argc, char** argv)
{
    UseUserLanguage();
    const ParsedOptions parsed = ParsePrintOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.ok)
        return Fail(kBadArguments, Fill(Tr("%1 (pdf_print --help shows the usage)"), {parsed.reason}));
    if (parsed.options.help) {
        std::fputs(Usage().c_str(), stdout);
        return kPrinted;
    }

    std::string reason;
    switch (CheckPdfFile(parsed.options.file, reason)) {
    case PdfFileCheck::Unreadable:
        return Fail(kFileUnreadable, reason);
    case PdfFileCheck::NotPdf:
        return Fail(kNotPdf, reason);
    case PdfFileCheck::Pdf:
        break;
    }
    const std::string damage = PdfDamage(parsed.options.file);
    if (!damage.empty())
        return Fail(kDamagedPdf, Fill(Tr("the document \"%1\" is damaged: %2"), {parsed.options.file, damage}));

    const Submission submission = SubmitToCups(parsed.options);
    if (submission.code != kPrinted)
        return Fail(submission.code, submission.reason);
    std::printf("pdf_print: %s\n",
                Fill(Tr("job %1 on queue %2"), {std::to_string(submission.jobId), submission.queue}).c_str());
    if (!submission.note.empty())
        Fail(kPrinted, submission.note);
    return kPrinted;
}
