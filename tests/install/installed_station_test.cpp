// kv_print and ts_print as a Linux desktop starts them after `cmake --install` into a
// fresh prefix: from the command of their desktop entry, for a user with a fresh home,
// without a display (message boxes then go to standard error).
#include "config/station_settings.h"
#include "fixtures/cups_fixture.h"
#include "fixtures/make_pdf.h"
#include "fixtures/run_program.h"
#include "support/scratch_folder.h"
#include "support/test_files.h"
#include "install/background_program.h"
#include "install/desktop_entry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Arguments = std::vector<std::string>;

constexpr std::chrono::seconds kStartLimit{60};
constexpr std::chrono::seconds kPrintLimit{90};
const char* const kModes[] = {"kv_print", "ts_print"};
const char* const kNoComponentBox = "[FEHLER] Achtung: keine SFTP-Unterstützung gefunden !";

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

bool IsExecutable(const std::string& path)
{
    return fs::is_regular_file(path) && access(path.c_str(), X_OK) == 0;
}

// The settings as the station reads them when started in `folder` as `mode`.
StationSettings SettingsIn(const std::string& folder, const std::string& mode)
{
    StationSettings settings;
    settings.ProgramFolder = folder;
    settings.IniPath = folder + "/" + mode + ".ini";
    settings.TessalineMode = mode == "ts_print" ? 1 : 0;
    LoadSettings(settings);
    return settings;
}

class InstalledStation : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(scratch.Path().empty());
        prefix = scratch / "prefix";
        home = scratch / "home";
        runtime = scratch / "runtime";
        fs::create_directories(home);
        fs::create_directories(runtime);
        fs::permissions(runtime, fs::perms::owner_all);
        const ProgramRun install = RunProgram({CMAKE_COMMAND_PATH, "--install", STATION_BUILD_DIR, "--prefix", prefix});
        ASSERT_EQ(install.exitCode, 0) << install.out << install.err;
    }

    std::string Installed(const std::string& relative) const { return prefix + "/" + relative; }
    std::string Program(const std::string& name) const { return Installed(STATION_BINDIR "/" + name); }
    std::string Station(const std::string& mode) const { return Installed(STATION_PKGLIBDIR "/" + mode); }
    std::string Component() const { return Installed(STATION_PKGLIBDIR "/psftp_dll.so"); }
    std::string DesktopEntry(const std::string& mode) const
    {
        return Installed(STATION_DATADIR "/applications/" + mode + ".desktop");
    }

    // A desktop session of the user without a display.
    Arguments Environment(const Arguments& more = {}) const
    {
        Arguments environment = {"HOME=" + home, "PATH=/usr/local/bin:/usr/bin:/bin",
                                 "QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + runtime};
        environment.insert(environment.end(), more.begin(), more.end());
        return environment;
    }

    // What the menu does: runs the command of the mode's desktop entry in the home folder.
    void StartFromMenu(BackgroundProgram& station, const std::string& mode, const Arguments& environment = {})
    {
        const Arguments command = ExecArguments(DesktopEntryValue(DesktopEntry(mode), "Exec"));
        ASSERT_FALSE(command.empty()) << DesktopEntry(mode);
        ASSERT_TRUE(station.Start(command, Environment(environment), home));
    }

    ScratchFolder scratch;
    std::string prefix;
    std::string home;
    std::string runtime;
};

TEST_F(InstalledStation, PutsProgramsIconsAndMenuEntriesWhereTheDesktopLooks)
{
    for (const std::string mode : kModes) {
        SCOPED_TRACE(mode);
        // The programs are in the package's folder; the search path has the launcher.
        EXPECT_TRUE(IsExecutable(Station(mode)));
        EXPECT_FALSE(fs::exists(Program(mode)));
        EXPECT_TRUE(ReadTestFile(Installed(STATION_DATADIR "/icons/hicolor/scalable/apps/" + mode + ".svg"))
                        .starts_with("<svg"));

        const ProgramRun check = RunProgram({"/usr/bin/desktop-file-validate", DesktopEntry(mode)});
        EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
        EXPECT_EQ(check.out + check.err, "");
        EXPECT_EQ(DesktopEntryValue(DesktopEntry(mode), "Type"), "Application");
        EXPECT_EQ(DesktopEntryValue(DesktopEntry(mode), "Icon"), mode);
        EXPECT_EQ(ExecArguments(DesktopEntryValue(DesktopEntry(mode), "Exec")),
                  (Arguments{Program("print-station"), mode}));
    }
    EXPECT_TRUE(IsExecutable(Program("print-station")));
    EXPECT_TRUE(IsExecutable(Program("pdf_print")));
    // The component is a private module, linked into each station folder.
    EXPECT_TRUE(fs::is_regular_file(Component()));
    EXPECT_FALSE(fs::exists(Program("psftp_dll.so")));
}

TEST_F(InstalledStation, FirstStartFromTheMenuMakesTheStationFolder)
{
    for (const std::string mode : kModes) {
        SCOPED_TRACE(mode);
        const std::string folder = home + "/.local/share/" + mode;
        const std::string log = folder + "/" + mode + ".log";
        BackgroundProgram station;
        StartFromMenu(station, mode);

        // The window logs the version and makes the spool tree in its program folder.
        ASSERT_TRUE(WaitUntil([&] { return Contains(ReadTestFile(log), "Verz. " + folder + "/SPOOL erzeugt!"); },
                              kStartLimit))
            << station.Output();
        EXPECT_TRUE(Contains(ReadTestFile(log), "-PDF-Ausgabeprogramm Version 3.0.2 ("));
        EXPECT_TRUE(station.IsRunning()) << station.Output();
        station.Stop();

        EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
        const StationSettings settings = SettingsIn(folder, mode);
        EXPECT_EQ(settings.Printer_PDF_Prog, Program("pdf_print"));
        EXPECT_EQ(settings.Printer_PDF_Prog_Params, "-dPDFFitPage -color -printer \"$PRINTER$\" $FILE$");
        EXPECT_EQ(settings.DoLog, 1);
        EXPECT_EQ(settings.AutoStart, 0);
        EXPECT_TRUE(fs::is_symlink(folder + "/psftp_dll.so"));
        EXPECT_EQ(fs::canonical(folder + "/psftp_dll.so"), fs::canonical(Component()));
    }
}

TEST_F(InstalledStation, LaterStartsKeepTheUsersSettingsAndRenewTheComponentLink)
{
    const std::string folder = home + "/.local/share/kv_print";
    const std::string log = folder + "/kv_print.log";
    const std::string versionLine = "KORVID-PDF-Ausgabeprogramm Version 3.0.2 (";
    {
        BackgroundProgram station;
        StartFromMenu(station, "kv_print");
        ASSERT_TRUE(WaitUntil([&] { return Count(ReadTestFile(log), versionLine) == 1; }, kStartLimit))
            << station.Output();
    }
    // The user assigns a printer in the settings, and the link is lost.
    StationSettings settings = SettingsIn(folder, "kv_print");
    settings.Printer_Delivery = "Lieferdrucker";
    settings.Polling_Rate = 30;
    WriteSettingsFile(settings, nullptr);
    const std::string saved = ReadTestFile(settings.IniPath);
    fs::remove(folder + "/psftp_dll.so");

    {
        BackgroundProgram station;
        StartFromMenu(station, "kv_print");
        ASSERT_TRUE(WaitUntil([&] { return Count(ReadTestFile(log), versionLine) == 2; }, kStartLimit))
            << station.Output();
    }
    EXPECT_EQ(ReadTestFile(settings.IniPath), saved);
    EXPECT_EQ(SettingsIn(folder, "kv_print").Printer_Delivery, "Lieferdrucker");
    EXPECT_EQ(fs::canonical(folder + "/psftp_dll.so"), fs::canonical(Component()));

    // A component file of the user's own stays.
    fs::remove(folder + "/psftp_dll.so");
    WriteTestFile(folder + "/psftp_dll.so", "own");
    {
        BackgroundProgram station;
        StartFromMenu(station, "kv_print");
        ASSERT_TRUE(WaitUntil([&] { return Count(ReadTestFile(log), versionLine) == 3; }, kStartLimit))
            << station.Output();
    }
    EXPECT_FALSE(fs::is_symlink(folder + "/psftp_dll.so"));
    EXPECT_EQ(ReadTestFile(folder + "/psftp_dll.so"), "own");
}

TEST_F(InstalledStation, TheAdministratorsTemplateMakesAStationThatPrintsAtOnce)
{
    CupsPdfQueue pdfQueue;
    std::string reason;
    ASSERT_TRUE(SetUpCupsPdfQueue(pdfQueue, reason)) << reason;

    const std::string token = "installed" + std::to_string(getpid());
    const std::string text = "Lieferung " + token;
    fs::create_directories(scratch / "store/4711/SPOOL/DELV");
    ASSERT_TRUE(WritePdf(scratch / ("store/4711/SPOOL/DELV/" + token + ".pdf"), text));
    const std::string settingsTemplate = "[MAIN]\n"
                                         "AutoStart=1\n"
                                         "DoLog=1\n"
                                         "Polling_Rate=10\n"
                                         "LocalFsMode=1\n"
                                         "LocalMainDir=" + (scratch / "store") + "\n"
                                         "KV_Inst_ID=4711\n"
                                         "KV_Inst_Name=Stadtbibliothek\n"
                                         "Printer_Delivery=" + pdfQueue.queue + "\n"
                                         "Printer_RL=" + pdfQueue.queue + "\n"
                                         "Printer_FrontSheet=" + pdfQueue.queue + "\n"
                                         "Printer_PDF_Prog=" + Program("pdf_print") + "\n";
    WriteTestFile(Installed("etc/print-station/kv_print/kv_print.ini"), settingsTemplate);

    // The user's data folder is elsewhere.
    const std::string folder = scratch / "data/kv_print";
    const std::string log = folder + "/kv_print.log";
    BackgroundProgram station;
    StartFromMenu(station, "kv_print", {"XDG_DATA_HOME=" + (scratch / "data")});

    const std::string printed = WaitForPrintedPdf(pdfQueue, token, kPrintLimit);
    ASSERT_FALSE(printed.empty()) << "nothing with " << token << " in " << pdfQueue.outputFolder << "\n"
                                  << ReadTestFile(log) << station.Output();
    EXPECT_TRUE(Contains(PdfText(printed), text)) << printed;
    fs::remove(printed);
    EXPECT_TRUE(Contains(ReadTestFile(log), "Start (Polling-Rate 10 Sekunden)"));
    // The check at Start found the SFTP component and everything else it requires.
    EXPECT_FALSE(Contains(station.Output(), "SFTP-Unterstützung")) << station.Output();
    EXPECT_FALSE(Contains(station.Output(), "[Konfigurations-Fehler!]")) << station.Output();
    EXPECT_TRUE(station.IsRunning()) << station.Output();
    station.Stop();
    EXPECT_EQ(ReadTestFile(folder + "/kv_print.ini"), settingsTemplate);
    EXPECT_FALSE(fs::exists(home + "/.local/share/kv_print"));

    // Without its settings file the station gets the template again; the rest stays.
    fs::remove(folder + "/kv_print.ini");
    {
        BackgroundProgram again;
        StartFromMenu(again, "kv_print", {"XDG_DATA_HOME=" + (scratch / "data")});
        ASSERT_TRUE(WaitUntil([&] { return Count(ReadTestFile(log), "Start (Polling-Rate 10 Sekunden)") == 2; },
                              kStartLimit))
            << again.Output();
    }
    EXPECT_EQ(ReadTestFile(folder + "/kv_print.ini"), settingsTemplate);

    // The same station started without its launcher and without the component: the
    // check at Start says so in its box.
    fs::remove(folder + "/psftp_dll.so");
    BackgroundProgram bare;
    ASSERT_TRUE(bare.Start({Station("kv_print")}, Environment(), folder));
    EXPECT_TRUE(WaitUntil([&] { return Contains(bare.Output(), kNoComponentBox); }, kStartLimit)) << bare.Output();
}

}  // namespace
