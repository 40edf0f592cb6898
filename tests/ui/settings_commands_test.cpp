#include "ui/settings_commands.h"

#include "fakes/fake_desktop.h"
#include "fakes/recording_message_boxes.h"
#include "fakes/recording_process_runner.h"
#include "spool/fake_store.h"
#include "spool/station.h"
#include "support/scratch_folder.h"
#include "ui/settings_dialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

namespace {

// Runs each dialog as a test script says: it may edit the values and ends with "OK"
// (true) or "Abbrechen".
class ScriptedDialogs : public SettingsDialogs {
public:
    bool EditBaseSettings(BaseSettings& values) override
    {
        opened.push_back("base");
        if (editBase)
            editBase(values);
        return accept;
    }
    bool AssignPrinters(PrinterAssignment& assignment) override
    {
        opened.push_back("printers");
        if (editPrinters)
            editPrinters(assignment);
        return accept;
    }
    bool EditSpoolFolders(SpoolFolderPrinters& printers) override
    {
        opened.push_back("spool folders");
        if (editSpoolFolders)
            editSpoolFolders(printers);
        return accept;
    }
    bool SelectInstitution(const ServiceAddress& address, InstitutionData& institution) override
    {
        opened.push_back("institution list " + address.server + ":" + address.port + "/" + address.folder);
        if (editInstitution)
            editInstitution(institution);
        return accept;
    }
    bool EditInstitutionData(InstitutionData& institution) override
    {
        opened.push_back("institution data");
        if (editInstitution)
            editInstitution(institution);
        return accept;
    }

    bool accept = true;
    std::vector<std::string> opened;
    std::function<void(BaseSettings&)> editBase;
    std::function<void(PrinterAssignment&)> editPrinters;
    std::function<void(SpoolFolderPrinters&)> editSpoolFolders;
    std::function<void(InstitutionData&)> editInstitution;
};

class SettingsCommand : public ::testing::Test {
protected:
    Station& Make(int tessalineMode)
    {
        StationSettings settings;
        settings.TessalineMode = tessalineMode;
        settings.ProgramFolder = folder.Path();
        settings.IniPath = folder / (tessalineMode ? "ts_print.ini" : "kv_print.ini");
        settings.SpoolDir = folder / "spool";
        std::filesystem::create_directories(settings.SpoolDir);
        settings.LogFileName = settings.DefaultLogFileName();
        station = std::make_unique<Station>(settings, desktop.desktop, store);
        return *station;
    }
    StationSettings Saved() const
    {
        StationSettings loaded;
        loaded.IniPath = station->Settings().IniPath;
        loaded.ProgramFolder = station->Settings().ProgramFolder;
        loaded.TessalineMode = station->Settings().TessalineMode;
        LoadSettings(loaded);
        return loaded;
    }
    bool SettingsFileExists() const { return std::filesystem::exists(station->Settings().IniPath); }
    bool SpoolFolderExists(const std::string& name) const
    {
        return std::filesystem::is_directory(station->Settings().SpoolDir + "/SPOOL/" + name);
    }

    ScratchFolder folder;
    RecordingMessageBoxes boxes;
    RecordingProcessRunner processes;
    FakeDesktop desktop{processes};
    FakeStoreAccess store;
    std::unique_ptr<Station> station;
    ScriptedDialogs dialogs;
};

const char* const kRefusal = "Stoppen Sie zunächst die Aktivitäten durch Betätigen des STOPP-Buttons.";

}  // namespace

TEST_F(SettingsCommand, AllThreeAreRefusedWhileRunning)
{
    Station& station = Make(0);
    station.Run().Start();
    EXPECT_FALSE(BaseSettingsCommand(station, dialogs));
    EXPECT_FALSE(PrinterCommand(station, dialogs));
    EXPECT_FALSE(InstitutionCommand(station, dialogs));
    EXPECT_TRUE(dialogs.opened.empty());
    ASSERT_EQ(boxes.boxes.size(), 3u);
    for (const ShownBox& box : boxes.boxes) {
        EXPECT_EQ(box.text, kRefusal);
        EXPECT_EQ(box.caption, "Operation nicht möglich");
        EXPECT_EQ(box.style, BoxStyle::Error);
    }
    EXPECT_FALSE(SettingsFileExists());

    // After "Stopp" the same command opens its dialog.
    station.Run().Stop();
    dialogs.accept = false;
    BaseSettingsCommand(station, dialogs);
    EXPECT_EQ(dialogs.opened, std::vector<std::string>{"base"});
}

TEST_F(SettingsCommand, BaseSettingsTakesEverythingOverCreatesTheSpoolFoldersAndSaves)
{
    Station& station = Make(0);
    const std::string newSpool = folder / "neu";
    std::filesystem::create_directories(newSpool);
    dialogs.editBase = [&](BaseSettings& values) {
        values.Polling_Rate = 0;
        values.SpoolDir = newSpool;
        values.KV_FTP_Store_Password = "geh eim";
        values.LocalFsMode = 1;
    };
    EXPECT_TRUE(BaseSettingsCommand(station, dialogs));
    EXPECT_EQ(station.Settings().Polling_Rate, 0);
    EXPECT_EQ(station.Settings().SpoolDir, newSpool);
    for (const char* category : {"FRONTSH", "RL", "DELV"})
        EXPECT_TRUE(SpoolFolderExists(category)) << category;
    StationSettings saved = Saved();
    EXPECT_EQ(saved.Polling_Rate, 0);
    EXPECT_EQ(saved.SpoolDir, newSpool);
    EXPECT_EQ(saved.KV_FTP_Store_Password, "geh eim");
    EXPECT_EQ(saved.LocalFsMode, 1);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(SettingsCommand, CancelledBaseSettingsChangeNothing)
{
    Station& station = Make(0);
    dialogs.accept = false;
    dialogs.editBase = [](BaseSettings& values) { values.Polling_Rate = 5; };
    EXPECT_FALSE(BaseSettingsCommand(station, dialogs));
    EXPECT_EQ(station.Settings().Polling_Rate, 60);
    EXPECT_FALSE(SettingsFileExists());
    EXPECT_FALSE(SpoolFolderExists("DELV"));
}

TEST_F(SettingsCommand, PrintersOfTheKorvidMode)
{
    Station& station = Make(0);
    dialogs.editPrinters = [](PrinterAssignment& assignment) {
        assignment.delivery = {"station-pdf", "Generic", "cups-pdf:/"};
        assignment.program = "/usr/bin/lp";
    };
    EXPECT_TRUE(PrinterCommand(station, dialogs));
    EXPECT_EQ(dialogs.opened, std::vector<std::string>{"printers"});
    StationSettings saved = Saved();
    EXPECT_EQ(saved.Printer_Delivery, "station-pdf");
    EXPECT_EQ(saved.Printer_Delivery_Driver, "Generic");
    EXPECT_EQ(saved.Printer_Delivery_Driver_Port, "cups-pdf:/");
    EXPECT_EQ(saved.Printer_PDF_Prog, "/usr/bin/lp");
    // The Korvid mode's printer command creates no folders.
    EXPECT_FALSE(SpoolFolderExists("DELV"));

    dialogs.accept = false;
    dialogs.editPrinters = [](PrinterAssignment& assignment) { assignment.program = "/bin/false"; };
    EXPECT_FALSE(PrinterCommand(station, dialogs));
    EXPECT_EQ(station.Settings().Printer_PDF_Prog, "/usr/bin/lp");
}

TEST_F(SettingsCommand, SpoolFolderListCreatesTheFoldersAfterOkAndAfterCancel)
{
    Station& station = Make(1);
    station.Settings().SpoolFolders = {{"Aus", "DELV", "", "", ""}};
    dialogs.accept = false;
    dialogs.editSpoolFolders = [](SpoolFolderPrinters& printers) { printers.folders.push_back({"", "neu", "", "", ""}); };
    EXPECT_FALSE(PrinterCommand(station, dialogs));
    EXPECT_EQ(dialogs.opened, std::vector<std::string>{"spool folders"});
    EXPECT_TRUE(SpoolFolderExists("DELV"));
    EXPECT_FALSE(SpoolFolderExists("neu"));
    EXPECT_FALSE(SettingsFileExists());

    dialogs.accept = true;
    dialogs.editSpoolFolders = [](SpoolFolderPrinters& printers) {
        printers.folders.push_back({"Aufsätze", "a/b", "P", "D", "X"});
        printers.params = "$FILE$";
    };
    EXPECT_TRUE(PrinterCommand(station, dialogs));
    EXPECT_TRUE(SpoolFolderExists("a/b"));
    StationSettings saved = Saved();
    EXPECT_EQ(saved.SpoolFolders,
              (std::vector<SpoolFolderEntry>{{"Aus", "DELV", "", "", ""}, {"Aufsätze", "a/b", "P", "D", "X"}}));
    EXPECT_EQ(saved.Printer_PDF_Prog_Params, "$FILE$");
}

TEST_F(SettingsCommand, InstitutionDoesNothingAtAllInTheTessalineMode)
{
    Station& station = Make(1);
    EXPECT_FALSE(InstitutionCommand(station, dialogs));
    station.Run().Start();
    EXPECT_FALSE(InstitutionCommand(station, dialogs));
    EXPECT_TRUE(dialogs.opened.empty());
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(SettingsCommand, InstitutionFromTheServiceList)
{
    Station& station = Make(0);
    station.Settings().KV_Server = "web.example.org";
    station.Settings().KV_Port = "8080";
    station.Settings().KV_Main_Dir = "kv";
    dialogs.editInstitution = [](InstitutionData& institution) { institution = {"1003", "Stadtbibliothek A", "STB-A"}; };
    EXPECT_TRUE(InstitutionCommand(station, dialogs));
    EXPECT_EQ(dialogs.opened, std::vector<std::string>{"institution list web.example.org:8080/kv"});
    StationSettings saved = Saved();
    EXPECT_EQ(saved.KV_Inst_ID, "1003");
    EXPECT_EQ(saved.KV_Inst_Name, "Stadtbibliothek A");
    EXPECT_EQ(saved.KV_Inst_Abbrev, "STB-A");
}

TEST_F(SettingsCommand, InstitutionByHandKeepsTheAbbreviation)
{
    Station& station = Make(0);
    station.Settings().KorvidMode = 0;
    station.Settings().KV_Inst_Abbrev = "ALT";
    dialogs.editInstitution = [](InstitutionData& institution) {
        EXPECT_EQ(institution.abbreviation, "ALT");
        institution.id = " 42 ";
        institution.name = "  Bibliothek ";
    };
    EXPECT_TRUE(InstitutionCommand(station, dialogs));
    EXPECT_EQ(dialogs.opened, std::vector<std::string>{"institution data"});
    EXPECT_EQ(station.Settings().KV_Inst_ID, " 42 ");
    EXPECT_EQ(station.Settings().KV_Inst_Name, "  Bibliothek ");
    EXPECT_EQ(station.Settings().KV_Inst_Abbrev, "ALT");
    EXPECT_TRUE(SettingsFileExists());

    dialogs.accept = false;
    dialogs.editInstitution = [](InstitutionData& institution) { institution.id = "99"; };
    EXPECT_FALSE(InstitutionCommand(station, dialogs));
    EXPECT_EQ(station.Settings().KV_Inst_ID, " 42 ");
}
