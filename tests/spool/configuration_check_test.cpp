#include "spool/configuration_check.h"

#include "spool/test_station.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

const char* const kSftpBoxText =
    "Achtung: keine SFTP-Unterstützung gefunden !\n\nDie DLL psftp_dll.so fehlt!\n\nnur FTP möglich !";

using Field = std::string StationSettings::*;

// Korvid mode with the service, remote store, everything set; the SFTP component is
// there, so only the boxes of the settings show.
StationSettings CompleteSettings(const std::string& root)
{
    StationSettings settings = LocalKorvidSettings(root);
    settings.ProgramFolder = SFTP_STUB_COMPLETE_DIR;
    settings.LocalFsMode = 0;
    settings.KV_Server = "service.example";
    settings.KV_Port = "80";
    settings.KV_Main_Dir = "korvid";
    settings.KV_FTP_Store = "store.example";
    settings.KV_FTP_Store_Dir = "/pub";
    settings.KV_FTP_Store_User = "bib";
    settings.KV_FTP_Store_Password = "geheim";
    return settings;
}

const std::vector<std::pair<Field, std::string>> kStoreRows = {
    {&StationSettings::KV_FTP_Store, "Kein Server für FTP-Lager konfiguriert"},
    {&StationSettings::KV_FTP_Store_Dir, "Kein Hauptverzeichnis des FTP-Lagers konfiguriert"},
    {&StationSettings::KV_FTP_Store_User, "Kein Benutzer für FTP-Lager konfiguriert"},
    {&StationSettings::KV_FTP_Store_Password, "Kein Passwort für FTP-Lager konfiguriert"},
};
const std::vector<std::pair<Field, std::string>> kPrinterRows = {
    {&StationSettings::Printer_FrontSheet, "Kein Drucker für Deckblätter konfiguriert"},
    {&StationSettings::Printer_RL, "Kein Drucker für rote Leihscheine konfiguriert"},
    {&StationSettings::Printer_Delivery, "Kein Drucker für Auslieferungen konfiguriert"},
    {&StationSettings::Printer_PDF_Prog, "Kein Druckprogramm zum Ausdruck der PDF-Dateien konfiguriert"},
    {&StationSettings::Printer_PDF_Prog_Params, "Keine Parameter für das Druckprogramm konfiguriert"},
};

std::vector<std::pair<Field, std::string>> Rows(std::vector<std::pair<Field, std::string>> first,
                                                const std::vector<std::pair<Field, std::string>>& second,
                                                const std::vector<std::pair<Field, std::string>>& third)
{
    first.insert(first.end(), second.begin(), second.end());
    first.insert(first.end(), third.begin(), third.end());
    return first;
}

class CheckConfigurationTest : public ::testing::Test {
protected:
    CheckConfigurationTest() : test(true) {}

    // Runs the check and returns the texts of the boxes it showed.
    std::vector<std::string> Check(const StationSettings& settings, bool expected)
    {
        test.boxes.boxes.clear();
        Station& station = test.Make(settings);
        EXPECT_EQ(CheckConfiguration(station.Settings(), station.Log()), expected);
        std::vector<std::string> texts;
        for (const ShownBox& box : test.boxes.boxes)
            texts.push_back(box.text);
        return texts;
    }
    // With one required setting blank (three blanks), exactly its box is shown. A blank
    // program path also fails the search for the program, whose box comes first and,
    // with the service, ends the check on its own.
    void ExpectEachRowInTurn(const StationSettings& complete,
                             const std::vector<std::pair<Field, std::string>>& rows)
    {
        bool withService = complete.KorvidMode == 1 && !complete.TessalineMode;
        for (const auto& [field, message] : rows) {
            StationSettings settings = complete;
            settings.*field = "   ";
            bool programBlank = field == &StationSettings::Printer_PDF_Prog;
            std::vector<std::string> expected;
            if (programBlank)
                expected.push_back(ProgramBoxText("   "));
            if (!(programBlank && withService))
                expected.push_back(message);
            EXPECT_EQ(Check(settings, false), expected) << message;
        }
    }
    static std::string ProgramBoxText(const std::string& program)
    {
        return "das zum Drucken der PDFs konfigurierte Programm\n\n\t" + program +
               "\n\nwurde nicht gefunden.\n\nBitte überprüfen Sie die Einstellungen.";
    }

    TestStation test;
};

TEST(RequireValue, WhiteSpaceAloneIsMissing)
{
    RecordingMessageBoxes boxes;
    EXPECT_TRUE(RequireValue(" x ", "unused"));
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_FALSE(RequireValue("   ", "Kein Korvid-Server konfiguriert"));
    EXPECT_FALSE(RequireValue(" \t\n\v\f\r", "leer"));
    EXPECT_FALSE(RequireValue("", "leer"));
    ASSERT_EQ(boxes.boxes.size(), 3u);
    EXPECT_EQ(boxes.boxes[0].text, "Kein Korvid-Server konfiguriert");
    EXPECT_EQ(boxes.boxes[0].caption, "Konfigurations-Fehler!");
    EXPECT_EQ(boxes.boxes[0].style, 0x2010u);
}

TEST_F(CheckConfigurationTest, KorvidWithTheServiceRequiresEveryRowInOrder)
{
    StationSettings complete = CompleteSettings(test.folder.Path());
    EXPECT_TRUE(Check(complete, true).empty());
    ExpectEachRowInTurn(complete,
                        Rows({{&StationSettings::KV_Server, "Kein Korvid-Server konfiguriert"},
                              {&StationSettings::KV_Port, "Kein Korvid-Server-Port konfiguriert"},
                              {&StationSettings::KV_Main_Dir, "Kein Korvid-Hauptverzeichnis konfiguriert"},
                              {&StationSettings::KV_Inst_ID, "Keine Korvid-Institution zugewiesen"}},
                             kStoreRows, kPrinterRows));

    // Only the first failing row is shown.
    StationSettings twoMissing = complete;
    twoMissing.KV_Port = "";
    twoMissing.Printer_RL = "";
    EXPECT_EQ(Check(twoMissing, false), std::vector<std::string>{"Kein Korvid-Server-Port konfiguriert"});
}

TEST_F(CheckConfigurationTest, KorvidWithTheServiceInLocalModeNeedsNoStore)
{
    StationSettings settings = CompleteSettings(test.folder.Path());
    settings.LocalFsMode = 1;
    for (Field field : {&StationSettings::KV_Server, &StationSettings::KV_Inst_ID, &StationSettings::KV_FTP_Store,
                        &StationSettings::KV_FTP_Store_User, &StationSettings::KV_FTP_Store_Password})
        settings.*field = "";
    EXPECT_TRUE(Check(settings, true).empty());
    ExpectEachRowInTurn(settings, kPrinterRows);
}

TEST_F(CheckConfigurationTest, AMissingProgramEndsTheServiceCheckWithItsOwnBox)
{
    StationSettings settings = CompleteSettings(test.folder.Path());
    settings.ProgramFolder = test.folder / "station";
    settings.Printer_PDF_Prog = test.folder / "missing/print";
    settings.KV_Server = "";
    EXPECT_EQ(Check(settings, false),
              (std::vector<std::string>{ProgramBoxText(settings.Printer_PDF_Prog), kSftpBoxText}));
    EXPECT_EQ(test.boxes.boxes[0].caption, "PDF-Druckprogramm nicht gefunden!");
    EXPECT_EQ(test.boxes.boxes[0].style, 0x2010u);
    EXPECT_EQ(test.boxes.boxes[1].caption, "FEHLER");
    EXPECT_EQ(test.boxes.boxes[1].style, 0x2010u);

    // A folder is no print program.
    settings.Printer_PDF_Prog = test.folder.Path();
    EXPECT_EQ(Check(settings, false).front(), ProgramBoxText(test.folder.Path()));
}

TEST_F(CheckConfigurationTest, KorvidWithoutTheServiceRequiresTheStoreEvenInLocalMode)
{
    StationSettings complete = CompleteSettings(test.folder.Path());
    complete.KorvidMode = 0;
    complete.LocalFsMode = 1;
    complete.KV_Server = "";
    EXPECT_TRUE(Check(complete, true).empty());
    ExpectEachRowInTurn(complete, Rows({{&StationSettings::KV_Inst_ID, "Keine Institution zugewiesen"}}, kStoreRows,
                                       kPrinterRows));

    // A missing program is reported, and so is the first missing row; the result is false.
    StationSettings settings = complete;
    settings.Printer_PDF_Prog = test.folder / "missing/print";
    EXPECT_EQ(Check(settings, false), std::vector<std::string>{ProgramBoxText(settings.Printer_PDF_Prog)});
    settings.KV_FTP_Store_User = "";
    EXPECT_EQ(Check(settings, false), (std::vector<std::string>{ProgramBoxText(settings.Printer_PDF_Prog),
                                                                 "Kein Benutzer für FTP-Lager konfiguriert"}));
}

TEST_F(CheckConfigurationTest, TessalineChecksTheStoreTheProgramAndEverySpoolFolder)
{
    StationSettings complete = CompleteSettings(test.folder.Path());
    complete.TessalineMode = 1;
    complete.KV_Inst_ID = "";
    complete.KV_Server = "";
    complete.Printer_Delivery = "";
    complete.SpoolFolders = {{"Aufsätze", "articles", "P1", "", ""}};
    EXPECT_TRUE(Check(complete, true).empty());
    ExpectEachRowInTurn(complete, Rows(kStoreRows, {kPrinterRows[3], kPrinterRows[4]}, {}));

    StationSettings settings = complete;
    settings.KV_FTP_Store_Password = "";
    settings.SpoolFolders = {{"Aufsätze", "articles", "", "", ""},
                             {"Fernleihe", "loans", "P2", "", ""},
                             {"", "loans/red", " ", "", ""}};
    EXPECT_EQ(Check(settings, false),
              (std::vector<std::string>{"Kein Passwort für FTP-Lager konfiguriert",
                                        "Kein Drucker für Aufsätze konfiguriert",
                                        "Kein Drucker für loans/red konfiguriert"}));

    settings.KV_FTP_Store_Password = "geheim";
    settings.LocalFsMode = 1;
    settings.KV_FTP_Store = "";
    settings.SpoolFolders = {};
    EXPECT_TRUE(Check(settings, true).empty());
}

TEST_F(CheckConfigurationTest, TheWarningsComeFirstAndRefuseNothing)
{
    StationSettings settings = CompleteSettings(test.folder.Path());
    settings.ProgramFolder = test.folder / "station";
    settings.LocalFsMode = 1;
    settings.LogFileMaxSize = 0;
    WriteTestFile(settings.LogFileName, std::string(1024, 'x'));
    EXPECT_EQ(Check(settings, true).back(), kSftpBoxText);
    ASSERT_EQ(test.boxes.boxes.size(), 2u);
    EXPECT_EQ(test.boxes.boxes[0].caption, "Log-Datei ist zu gross geworden!");

    settings.ProgramFolder = SFTP_STUB_INCOMPLETE_DIR;
    EXPECT_EQ(Check(settings, true).back(), kSftpBoxText);
}

}  // namespace
