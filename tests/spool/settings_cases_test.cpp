// What the station tells about settings it cannot keep or use: the box, the log line or
// the saved value of each case, with the scratch folder written as "<Ordner>".
#include "config/station_settings.h"
#include "spool/configuration_check.h"
#include "spool/settings_file_check.h"
#include "spool/test_station.h"
#include "support/white_space.h"
#include "tools/unprivileged.h"

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

namespace {

std::string LastBox(const TestStation& test)
{
    return test.boxes.boxes.empty() ? "" : test.boxes.boxes.back().caption + ": " + test.boxes.boxes.back().text;
}

std::string SaveFailure(const std::string& error)
{
    return "ERROR: Die Einstellungsdatei konnte nicht geschrieben werden:\n\nDatei: <Ordner>/station/kv_print.ini\n\n"
           "Fehler: " + error + "\n\nDie Datei ist unverändert.";
}

// The warning at start about a settings file that others can read.
std::string WarningWithPassword(StationSettings& s, const std::string& password)
{
    s.KV_FTP_Store_Password = password;
    SaveSettings(s);
    chmod(s.IniPath.c_str(), 0644);
    return SettingsFileWarning(s.IniPath);
}

struct SettingsCase {
    const char* name;
    std::function<std::string(TestStation&, StationSettings&)> run;
    std::string told;
};

const SettingsCase kCases[] = {
    {"a pasted line break becomes a blank, which the file keeps",
     [](TestStation& test, StationSettings& s) {
         s.KV_FTP_Store_User = "bib\r\nlio\nthek";
         LineBreaksToBlanks(s.KV_FTP_Store_User);
         SaveSettings(s);
         LoadSettings(s);
         return s.KV_FTP_Store_User + LastBox(test);
     },
     "bib lio thek"},
    {"a line break that still reaches a save names its setting",
     [](TestStation& test, StationSettings& s) {
         s.KV_Inst_Name = "Stadt\nbibliothek";
         SaveSettings(s);
         return LastBox(test);
     },
     SaveFailure("Die Einstellung KV_Inst_Name enthält einen Zeilenumbruch.")},
    {"a settings file its user may not write is not replaced, though the folder is theirs",
     [](TestStation& test, StationSettings& s) {
         SaveSettings(s);
         const std::string before = ReadTestFile(s.IniPath);
         chmod(test.folder.Path().c_str(), 0755);
         for (const std::string& path : {test.folder / "station", s.IniPath})
             if (chown(path.c_str(), kNobody, kNobody) != 0)
                 return std::string("chown");
         chmod(s.IniPath.c_str(), 0444);
         RunUnprivileged([&] {
             s.Polling_Rate = 30;
             SaveSettings(s);
             WriteTestFile(test.folder / "station/told", LastBox(test));
             return 0;
         });
         return ReadTestFile(test.folder / "station/told") + (ReadTestFile(s.IniPath) == before ? "" : " (ersetzt)");
     },
     SaveFailure("Permission denied")},
    {"the warning when the file holds a store password",
     [](TestStation&, StationSettings& s) { return WarningWithPassword(s, "geheim"); },
     "Achtung: die Einstellungsdatei <Ordner>/station/kv_print.ini ist auch für andere lesbar (Modus 0644), sie "
     "enthält das Passwort des Lagers!"},
    {"no warning without a password", [](TestStation&, StationSettings& s) { return WarningWithPassword(s, ""); },
     ""},
    {"a local main folder that does not exist refuses the Start",
     [](TestStation& test, StationSettings& s) {
         s.LocalMainDir = test.folder / "fehlt";
         const bool started = CheckConfiguration(test.Make(s));
         return (started ? "Start, " : "") + LastBox(test);
     },
     "Lokales Haupt-Verzeichnis nicht gefunden!: das für den lokalen Modus konfigurierte Haupt-Verzeichnis\n\n\t"
     "<Ordner>/fehlt\n\nwurde nicht gefunden.\n\nBitte überprüfen Sie die Einstellungen."},
};

TEST(SettingsCases, EachCaseIsToldAsTheUserNeedsIt)
{
    for (const SettingsCase& c : kCases) {
        TestStation test(true);
        StationSettings settings = LocalKorvidSettings(test.folder.Path());
        std::string told = c.run(test, settings);
        for (std::size_t at; (at = told.find(test.folder.Path())) != std::string::npos;)
            told.replace(at, test.folder.Path().size(), "<Ordner>");
        EXPECT_EQ(told, c.told) << c.name;
    }
}

}  // namespace
