// Documents whose names look like options, quotes or shell code, printed by the print
// pass through the default parameter template, the real pdf_print and a cups-pdf queue.
#include "fixtures/cups_fixture.h"
#include "fixtures/make_pdf.h"
#include "spool/print_dispatch.h"
#include "spool/spool_layout.h"
#include "spool/store_station.h"
#include "spool/test_station.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The texts of the printed files that hold `token`, once `count` of them are there or
// the time is up; the files are removed.
std::vector<std::string> PrintedTexts(const CupsPdfQueue& pdfQueue, const std::string& token, std::size_t count)
{
    std::vector<std::string> texts;
    std::vector<fs::path> paths;
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    do {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        texts.clear();
        paths.clear();
        for (const fs::directory_entry& entry : fs::directory_iterator(pdfQueue.outputFolder)) {
            std::string text = PdfText(entry.path().string());
            if (text.find(token) != std::string::npos) {
                texts.push_back(text);
                paths.push_back(entry.path());
            }
        }
    } while (texts.size() < count && std::chrono::steady_clock::now() < end);
    std::error_code ignored;
    for (const fs::path& path : paths)
        fs::remove(path, ignored);
    return texts;
}

TEST(PrintNames, EveryNamePrintsItsOwnDocumentOnceThroughPdfPrint)
{
    CupsPdfQueue pdfQueue;
    std::string reason;
    ASSERT_TRUE(SetUpCupsPdfQueue(pdfQueue, reason)) << reason;
    TestStation test;
    StationSettings settings = LocalKorvidSettings(test.folder.Path());
    settings.Printer_PDF_Prog = PDF_PRINT_PROGRAM;
    settings.Printer_PDF_Prog_Params = kDefaultPrintParams;
    settings.Printer_Delivery = pdfQueue.queue;
    fs::create_directories(settings.SpoolDir);
    Station& station = test.Make(settings);
    ASSERT_TRUE(CreateSpoolFolders(station.Settings(), station.Log()));
    const std::string delv = LocalSpoolRoot(station.Settings()) + "/DELV";

    const std::string token = "names" + std::to_string(getpid()) + "x";
    const std::vector<std::string> names = {"x -h y.pdf", "-copies 999 b.pdf", "two  blanks.pdf", "a\"b.pdf",
                                            "$(touch x).pdf", "-h.pdf", "--help.pdf", "-printer.pdf"};
    for (std::size_t i = 0; i < names.size(); ++i)
        ASSERT_TRUE(WritePdf(delv + "/" + names[i], "Dokument " + std::to_string(i) + " " + token));
    station.Params().SetParam("PRINTER", pdfQueue.queue);

    PrintFolder(station.Cycle().Printing(), "DELV");

    std::vector<std::string> texts = PrintedTexts(pdfQueue, token, names.size());
    EXPECT_EQ(texts.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string text = "Dokument " + std::to_string(i) + " " + token;
        EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                                [&](const std::string& t) { return t.find(text) != std::string::npos; }),
                  1)
            << names[i];
    }
    EXPECT_EQ(FilesBelow(delv), std::vector<std::string>{});
    EXPECT_FALSE(fs::exists(delv + "/x"));
    std::vector<std::string> log = Messages(FileLines(station.Settings().LogFileName));
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& m) { return m.find("hat Code") != std::string::npos; }), 0);
}

}  // namespace
