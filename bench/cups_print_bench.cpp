// pdf_print into the cups-pdf queue, whole processes from the first start to the last
// file printed, against lp doing the same; and what the damaged-PDF check costs of it.
#include "bench/bench_table.h"
#include "bench/side_by_side.h"

#include "fixtures/cups_fixture.h"
#include "fixtures/make_pdf.h"
#include "fixtures/run_program.h"
#include "pdf_document_check.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kDocuments = 50;
constexpr int kRounds = 3;
constexpr int kLargePages = 200;
constexpr int kImageSide = 320;  // a grey image of 100 KB on every page of the large PDF
constexpr std::chrono::seconds kPrintLimit{300};

// A PDF of `pages` pages, each with a line of text and an uncompressed image.
std::string LargePdf(const std::string& text, int pages)
{
    std::vector<std::string> objects = {"<< /Type /Catalog /Pages 2 0 R >>", "",
                                        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    std::string kids;
    const std::string image(static_cast<size_t>(kImageSide) * kImageSide, '\x5a');
    for (int page = 1; page <= pages; ++page) {
        const std::string content = "BT /F1 24 Tf 72 760 Td (" + text + " " + std::to_string(page)
            + ") Tj ET q 400 0 0 400 72 200 cm /Im Do Q\n";
        objects.push_back("<< /Type /XObject /Subtype /Image /Width " + std::to_string(kImageSide) + " /Height "
                          + std::to_string(kImageSide) + " /ColorSpace /DeviceGray /BitsPerComponent 8 /Length "
                          + std::to_string(image.size()) + " >>\nstream\n" + image + "\nendstream");
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream");
        const size_t first = objects.size() - 1;
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 3 0 R >>"
                          " /XObject << /Im " + std::to_string(first) + " 0 R >> >> /Contents "
                          + std::to_string(first + 1) + " 0 R >>");
        kids += std::to_string(objects.size()) + " 0 R ";
    }
    objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) + " >>";
    std::string pdf = "%PDF-1.4\n";
    std::string xref = "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t i = 0; i < objects.size(); ++i) {
        char entry[21];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", pdf.size());
        xref += entry;
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    return pdf + xref + "trailer\n<< /Size " + std::to_string(objects.size() + 1)
        + " /Root 1 0 R >>\nstartxref\n" + std::to_string(pdf.size()) + "\n%%EOF\n";
}

// The documents of one round, each with a token of its own in its name.
std::vector<std::string> WriteDocuments(const std::string& folder, const std::string& round)
{
    fs::create_directories(folder);
    std::vector<std::string> names;
    for (int i = 0; i < kDocuments; ++i) {
        // No name is the start of another, so each is found by its own.
        names.push_back("bench" + std::to_string(getpid()) + round + "n" + std::to_string(i) + "x.pdf");
        WritePdf(folder + "/" + names.back(), "Leihschein " + names.back());
    }
    return names;
}

bool AllPrinted(const CupsPdfQueue& queue, const std::vector<std::string>& names)
{
    bool all = true;
    for (const std::string& name : names) {
        const std::string printed = WaitForPrintedPdf(queue, fs::path(name).stem().string(), kPrintLimit);
        all = all && !printed.empty();
        fs::remove(printed);
    }
    return all;
}

// pdf_print for one document after the other, as the print pass starts it.
double PdfPrintPass(const CupsPdfQueue& queue, const std::string& folder, const std::vector<std::string>& names)
{
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& name : names) {
        const ProgramRun run = RunProgram({PDF_PRINT_PROGRAM, "-printer", queue.queue, name}, folder);
        if (run.exitCode != 0)
            std::fprintf(stderr, "%s: %s", name.c_str(), run.err.c_str());
    }
    const double seconds = SecondsSince(start);
    if (!AllPrinted(queue, names))
        std::fprintf(stderr, "pdf_print pass: not every document was printed\n");
    return seconds;
}

// lp for every document, then the wait until the queue has written them all.
double LpPass(const CupsPdfQueue& queue, const std::string& folder, const std::vector<std::string>& names)
{
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& name : names)
        RunProgram({"/usr/bin/lp", "-d", queue.queue, name}, folder);
    const bool all = AllPrinted(queue, names);
    const double seconds = SecondsSince(start);
    if (!all)
        std::fprintf(stderr, "lp pass: not every document was printed\n");
    return seconds;
}

double CheckAll(const std::string& folder, const std::vector<std::string>& names)
{
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& name : names)
        if (!PdfDamage(folder + "/" + name).empty())
            std::fprintf(stderr, "the check refused %s\n", name.c_str());
    return SecondsSince(start);
}

}  // namespace

std::vector<BenchRow> CupsPrintRows(const std::string& scratch)
{
    CupsPdfQueue queue;
    std::string reason;
    if (!SetUpCupsPdfQueue(queue, reason))
        return {{"print pass into cups-pdf", "no CUPS: " + reason, "-", "-", "-"}};
    double pass = 1e9;
    double lp = 1e9;
    double check = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        const std::string folder = scratch + "/cups" + std::to_string(round);
        pass = std::min(pass, PdfPrintPass(queue, folder, WriteDocuments(folder, "p" + std::to_string(round))));
        lp = std::min(lp, LpPass(queue, folder, WriteDocuments(folder, "l" + std::to_string(round))));
        check = std::min(check, CheckAll(folder, WriteDocuments(folder, "c" + std::to_string(round))));
        fs::remove_all(folder);
    }

    const std::string large = "bench" + std::to_string(getpid()) + "large.pdf";
    std::ofstream(scratch + "/" + large, std::ios::binary) << LargePdf("Seite", kLargePages);
    const double largeCheck = CheckAll(scratch, {large});
    const auto start = std::chrono::steady_clock::now();
    const int code = RunProgram({PDF_PRINT_PROGRAM, "-printer", queue.queue, large}, scratch).exitCode;
    const double largePrint = SecondsSince(start);
    AllPrinted(queue, {large});
    fs::remove(scratch + "/" + large);

    return {{"print pass into cups-pdf, 50 small PDFs, pdf_print per document, start to printed (best of 3)",
             Format("%.2f s", pass), Format("%.2f s (lp, then wait)", lp), Format("%.2f x", pass / lp), "<= 1.5 x"},
            {"damaged-PDF check of the same 50 PDFs (the part of the pass above; without it: the rest)",
             Format("%.3f s", check), Format("%.2f s (the pass)", pass), Format("%.2f %%", 100 * check / pass),
             "< 5 %"},
            {"damaged-PDF check of one PDF of 200 pages, 20 MB, against its print into cups-pdf",
             Format("%.3f s", largeCheck),
             code == 0 ? Format("%.2f s (pdf_print)", largePrint) : "pdf_print failed: " + std::to_string(code),
             Format("%.2f %%", 100 * largeCheck / largePrint), "< 5 %"}};
}
