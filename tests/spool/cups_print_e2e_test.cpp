// The whole way of a document from the store to paper: a real FTP store (pyftpdlib) with
// documents in every category, one polling cycle of the station with the real store
// access and process runner, pdf_print with the default parameter template, the
// machine's CUPS scheduler and a cups-pdf queue that writes each job as a PDF file.
#include "config/station_settings.h"
#include "fixtures/cups_fixture.h"
#include "fixtures/make_pdf.h"
#include "spool/loopback_store.h"
#include "spool/polling_cycle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <regex>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

constexpr std::chrono::seconds kPrintLimit{90};

struct StoreDocument {
    std::string category;
    std::string name;  // begins with a key that no other document's name holds
    std::string text;
};

// A file the queue wrote, with the number of the CUPS job that made it.
struct PrintedFile {
    int job = 0;
    std::string path;
};

// The printed files whose names hold `token`, in the order of their jobs.
std::vector<PrintedFile> PrintedFiles(const CupsPdfQueue& pdfQueue, const std::string& token)
{
    static const std::regex jobSuffix(R"(-job_(\d+)\.pdf$)");
    std::vector<PrintedFile> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(pdfQueue.outputFolder)) {
        const std::string name = entry.path().filename().string();
        std::smatch match;
        if (name.find(token) != std::string::npos && std::regex_search(name, match, jobSuffix))
            files.push_back({std::stoi(match[1]), entry.path().string()});
    }
    std::sort(files.begin(), files.end(), [](const PrintedFile& a, const PrintedFile& b) { return a.job < b.job; });
    return files;
}

// The part of a document's name that identifies it in a printed file's name: the queue
// names the file after the job's title, the document's name with blanks replaced.
std::string Key(const StoreDocument& document)
{
    return document.name.substr(0, document.name.find_first_of(" ."));
}

class PrintThroughCups : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(store.Start(error)) << error;
        ASSERT_TRUE(SetUpCupsPdfQueue(pdfQueue, error)) << error;
    }

    void TearDown() override
    {
        std::error_code ignored;
        for (const PrintedFile& file : PrintedFiles(pdfQueue, token))
            fs::remove(file.path, ignored);
    }

    // The Korvid mode on the FTP store, every category printing on `queue`, with pdf_print
    // and the default parameter template; the SFTP component in the program folder.
    Station& MakeStation(const std::string& queue)
    {
        for (const char* category : {"FRONTSH", "RL", "DELV"})
            fs::create_directories(store.TreeFolder() + "/4711/SPOOL/" + category);
        store.GiveTree();
        StationSettings settings = StoreKorvidSettings(station.test.folder.Path(), "", "");
        store.Configure(settings, station.access);
        settings.Printer_Delivery = queue;
        settings.Printer_RL = queue;
        settings.Printer_FrontSheet = queue;
        settings.Printer_PDF_Prog = PDF_PRINT_PROGRAM;
        settings.Printer_PDF_Prog_Params = kDefaultPrintParams;
        fs::create_directories(settings.ProgramFolder);
        fs::create_symlink(PSFTP_DLL_DIR "/psftp_dll.so", settings.ProgramFolder + "/psftp_dll.so");
        return station.Make(settings);
    }

    void Put(const StoreDocument& document)
    {
        const std::string path = store.TreeFolder() + "/4711/SPOOL/" + document.category + "/" + document.name;
        ASSERT_TRUE(WritePdf(path, document.text)) << path;
        store.GiveTree();
    }

    Lines LogMessages() const { return Messages(FileLines(station.station->Settings().LogFileName)); }

    const std::string token = "cups" + std::to_string(getpid()) + "x";
    FtpLoopbackStore store{true};
    CupsPdfQueue pdfQueue;
    StoreStation station;
};

TEST_F(PrintThroughCups, EveryDocumentOfTheStoreIsPrintedOnceInTheOrderOfThePrintPass)
{
    Station& korvid = MakeStation(pdfQueue.queue);
    const std::vector<StoreDocument> documents = {
        {"FRONTSH", token + "f1.pdf", "Deckblatt eins " + token},
        {"RL", token + "r2.pdf", "Leihschein zwei " + token},
        {"RL", token + "r1.pdf", "Leihschein eins " + token},
        {"DELV", token + "d2 Aufsatz.pdf", "Lieferung zwei " + token},
        {"DELV", token + "d1.pdf", "Lieferung eins " + token},
    };
    for (const StoreDocument& document : documents)
        Put(document);

    korvid.StartPolling();
    korvid.StopPolling();

    // Deliveries first, then red loan slips, then cover sheets; each folder by name.
    const std::vector<StoreDocument> printOrder = {documents[4], documents[3], documents[2], documents[1],
                                                   documents[0]};
    for (const StoreDocument& document : printOrder)
        ASSERT_FALSE(WaitForPrintedPdf(pdfQueue, Key(document), kPrintLimit).empty())
            << Key(document) << " was not printed into " << pdfQueue.outputFolder;
    const std::vector<PrintedFile> printed = PrintedFiles(pdfQueue, token);
    ASSERT_EQ(printed.size(), printOrder.size());
    for (std::size_t i = 0; i < printed.size(); ++i) {
        EXPECT_NE(fs::path(printed[i].path).filename().string().find(Key(printOrder[i])), std::string::npos)
            << i << ": " << printed[i].path;
        EXPECT_NE(PdfText(printed[i].path).find(printOrder[i].text), std::string::npos) << printed[i].path;
    }

    EXPECT_EQ(FilesBelow(store.TreeFolder()), Lines{});
    EXPECT_EQ(FilesBelow(station.SpoolRoot()), Lines{});
    const Lines log = LogMessages();
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& m) { return m.starts_with("Druck: "); }), 5);
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& m) { return m.find("hat Code") != std::string::npos; }), 0);
    EXPECT_TRUE(station.test.boxes.boxes.empty());
}

TEST_F(PrintThroughCups, DocumentsThatPdfPrintRefusesStayUntilTheirQueueExists)
{
    const std::string missingQueue = "no-such-queue-" + token;
    Station& korvid = MakeStation(missingQueue);
    const std::vector<StoreDocument> documents = {
        {"DELV", token + "d1.pdf", "Lieferung eins " + token},
        {"RL", token + "r1.pdf", "Leihschein eins " + token},
        {"FRONTSH", token + "f1.pdf", "Deckblatt eins " + token},
    };
    for (const StoreDocument& document : documents)
        Put(document);

    korvid.StartPolling();

    // Fetched from the store, but kept in the spool tree; the log names pdf_print's
    // code for a queue that CUPS does not know.
    EXPECT_EQ(FilesBelow(store.TreeFolder()), Lines{});
    EXPECT_EQ(FilesBelow(station.SpoolRoot()),
              (Lines{"DELV/" + documents[0].name, "FRONTSH/" + documents[2].name, "RL/" + documents[1].name}));
    const Lines log = LogMessages();
    for (const StoreDocument& document : documents) {
        const std::string line = "Drucken der Datei: " + document.name + ": " + PDF_PRINT_PROGRAM + " hat Code 6 zurückgeliefert!";
        EXPECT_EQ(std::count(log.begin(), log.end(), line), 1) << line;
    }
    EXPECT_TRUE(PrintedFiles(pdfQueue, token).empty());

    // With the queue assigned, the next cycle that fetches a document prints the ones
    // that waited as well.
    korvid.Settings().Printer_Delivery = pdfQueue.queue;
    korvid.Settings().Printer_RL = pdfQueue.queue;
    korvid.Settings().Printer_FrontSheet = pdfQueue.queue;
    const StoreDocument late = {"DELV", token + "d2.pdf", "Lieferung zwei " + token};
    Put(late);
    korvid.OnPollingTick(POLL_TIMER_ID);
    korvid.StopPolling();

    for (const StoreDocument& document : {documents[0], late, documents[1], documents[2]})
        EXPECT_FALSE(WaitForPrintedPdf(pdfQueue, Key(document), kPrintLimit).empty()) << Key(document);
    EXPECT_EQ(PrintedFiles(pdfQueue, token).size(), 4u);
    EXPECT_EQ(FilesBelow(station.SpoolRoot()), Lines{});
}

}  // namespace
