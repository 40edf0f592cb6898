// What the station tells of a setting it cannot keep or use: the box, the warning at start
// and the value as the file keeps it, with the scratch folder written as "<Ordner>".
#include "spool/configuration_check.h"
#include "spool/settings_save.h"
#include "spool/settings_file_check.h"
#include "spool/test_station.h"
#include "support/white_space.h"
#include "tools/unprivileged.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

enum class Then { PasteAndSave, Save, SaveToReadOnlyFile, Start };

struct SettingsCase {
    std::string StationSettings::*field;
    std::string value;
    Then then;
    std::string told;
};

const std::string kNotSaved = "ERROR: Die Einstellungsdatei konnte nicht geschrieben werden:\n\nDatei: "
                              "<Ordner>/station/kv_print.ini\n\nFehler: ";
const std::string kUnchanged = "\n\nDie Datei ist unverändert.";

const SettingsCase kCases[] = {
    {&StationSettings::KV_FTP_Store_User, "bib\r\nlio\nthek", Then::PasteAndSave, "bib lio thek"},
    {&StationSettings::KV_FTP_Store_Password, "geheim", Then::Save,
     "Achtung: die Einstellungsdatei <Ordner>/station/kv_print.ini ist auch für andere lesbar (Modus 0644), sie "
     "enthält das Passwort des Lagers!geheim"},
    {&StationSettings::KV_Inst_Name, "Stadt\nbibliothek", Then::Save,
     kNotSaved + "Die Einstellung KV_Inst_Name enthält einen Zeilenumbruch." + kUnchanged},
    {&StationSettings::KV_Inst_ID, "0815", Then::SaveToReadOnlyFile,
     kNotSaved + "Permission denied" + kUnchanged + "4711"},
    {&StationSettings::LocalMainDir, "<Ordner>/fehlt", Then::Start,
     "Lokales Haupt-Verzeichnis nicht gefunden!: das für den lokalen Modus konfigurierte Haupt-Verzeichnis\n\n\t"
     "<Ordner>/fehlt\n\nwurde nicht gefunden.\n\nBitte überprüfen Sie die Einstellungen."},
};

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at; (at = text.find(from)) != std::string::npos;)
        text.replace(at, from.size(), to);
    return text;
}

std::string Told(TestStation& test, const SettingsCase& c)
{
    const std::string folder = test.folder / "station";
    test.boxes.onShow = [&] {
        WriteTestFile(folder + "/box", test.boxes.boxes.back().caption + ": " + test.boxes.boxes.back().text);
    };
    StationSettings s = LocalKorvidSettings(test.folder.Path());
    if (c.then == Then::SaveToReadOnlyFile) {
        SaveSettings(s);
        chmod(test.folder.Path().c_str(), 0755);
        chmod(s.IniPath.c_str(), 0444);
        if (chown(folder.c_str(), kNobody, 0) != 0 || chown(s.IniPath.c_str(), kNobody, 0) != 0)
            return "chown";
    }
    s.*c.field = Replaced(c.value, "<Ordner>", test.folder.Path());
    if (c.then == Then::PasteAndSave)
        LineBreaksToBlanks(s.*c.field);
    if (c.then == Then::Start) {
        Station& station = test.Make(s);
        const bool started = CheckConfiguration(station.Settings(), station.Log());
        return (started ? "Start " : "") + ReadTestFile(folder + "/box");
    }
    if (c.then == Then::SaveToReadOnlyFile)
        RunUnprivileged([&] { SaveSettings(s); return 0; });
    else
        SaveSettings(s);
    chmod(s.IniPath.c_str(), 0644);
    LoadSettings(s);
    return ReadTestFile(folder + "/box") + SettingsFileWarning(s.IniPath) + s.*c.field;
}

TEST(SettingsCases, EachIsToldAsTheUserNeedsIt)
{
    for (const SettingsCase& c : kCases) {
        TestStation test(true);
        EXPECT_EQ(Replaced(Told(test, c), test.folder.Path(), "<Ordner>"), c.told);
    }
}

}  // namespace
