#include "config/station_settings.h"

#include "config/file_utilities.h"
#include "config/ini_file.h"
#include "config/password_scrambling.h"
#include "support/white_space.h"

#include <string>

const char* const kServiceHost = "korvid.example.org";
const char* const kDefaultPrintParams = "-dPDFFitPage -color -printer \"$PRINTER$\" $FILE$";

namespace {

constexpr const char* kMain = "MAIN";
constexpr const char* kMainFolderList = "MAIN_FOLDER_LIST";
constexpr const char* kSpoolFolderList = "SPOOL_FOLDER_LIST";

// Layout of the scrambled store password.
constexpr int kPasswordLead = 3;
constexpr int kPasswordTrailer = 4;
constexpr int kPasswordSpacing = 5;

std::string Numbered(const char* name, std::size_t n)
{
    return name + std::to_string(n);
}

// One key of MAIN: a number or a text field of the record. The password is the one
// text kept scrambled in the file.
struct MainKey {
    const char* name;
    int StationSettings::*number;
    std::string StationSettings::*text;
};

// Every key of MAIN that a save writes, in the order it writes them.
constexpr MainKey kMainKeys[] = {
    {"Polling_Rate", &StationSettings::Polling_Rate, nullptr},
    {"AutoStart", &StationSettings::AutoStart, nullptr},
    {"LocalFsMode", &StationSettings::LocalFsMode, nullptr},
    {"OnErrorLogOnly", &StationSettings::OnErrorLogOnly, nullptr},
    {"LocalMainDir", nullptr, &StationSettings::LocalMainDir},
    {"DoLog", &StationSettings::DoLog, nullptr},
    {"LogFileName", nullptr, &StationSettings::LogFileName},
    {"LogFileMaxSize", &StationSettings::LogFileMaxSize, nullptr},
    {"SpoolDir", nullptr, &StationSettings::SpoolDir},
    {"DlDir", nullptr, &StationSettings::DlDir},
    {"KV_Port", nullptr, &StationSettings::KV_Port},
    {"KV_Server", nullptr, &StationSettings::KV_Server},
    {"KV_Main_Dir", nullptr, &StationSettings::KV_Main_Dir},
    {"KV_FTP_Store", nullptr, &StationSettings::KV_FTP_Store},
    {"KV_FTP_Store_Dir", nullptr, &StationSettings::KV_FTP_Store_Dir},
    {"KV_FTP_Store_User", nullptr, &StationSettings::KV_FTP_Store_User},
    {"KV_FTP_Store_Password", nullptr, &StationSettings::KV_FTP_Store_Password},
    {"KV_Ftp_Passive", &StationSettings::KV_Ftp_Passive, nullptr},
    {"KV_Sftp_Mode", &StationSettings::KV_Sftp_Mode, nullptr},
    {"KV_Ftp_Tls", &StationSettings::KV_Ftp_Tls, nullptr},
    {"KV_Ftp_Tls_Cert", nullptr, &StationSettings::KV_Ftp_Tls_Cert},
    {"KV_Inst_ID", nullptr, &StationSettings::KV_Inst_ID},
    {"KV_Inst_Name", nullptr, &StationSettings::KV_Inst_Name},
    {"KV_Inst_Abbrev", nullptr, &StationSettings::KV_Inst_Abbrev},
    {"Printer_FrontSheet", nullptr, &StationSettings::Printer_FrontSheet},
    {"Printer_RL", nullptr, &StationSettings::Printer_RL},
    {"Printer_Delivery", nullptr, &StationSettings::Printer_Delivery},
    {"Printer_FrontSheet_Driver", nullptr, &StationSettings::Printer_FrontSheet_Driver},
    {"Printer_RL_Driver", nullptr, &StationSettings::Printer_RL_Driver},
    {"Printer_Delivery_Driver", nullptr, &StationSettings::Printer_Delivery_Driver},
    {"Printer_FrontSheet_Port", nullptr, &StationSettings::Printer_FrontSheet_Port},
    {"Printer_RL_Driver_Port", nullptr, &StationSettings::Printer_RL_Driver_Port},
    {"Printer_Delivery_Driver_Port", nullptr, &StationSettings::Printer_Delivery_Driver_Port},
    {"Printer_PDF_Prog", nullptr, &StationSettings::Printer_PDF_Prog},
    {"Printer_PDF_Prog_Params", nullptr, &StationSettings::Printer_PDF_Prog_Params},
};

bool IsPassword(const MainKey& key)
{
    return key.text == &StationSettings::KV_FTP_Store_Password;
}

// The five keys of one spool folder entry, in the order a save writes them.
struct EntryKey {
    const char* name;
    std::string SpoolFolderEntry::*field;
};
constexpr EntryKey kEntryKeys[] = {
    {"FOLDER", &SpoolFolderEntry::Folder},
    {"Description", &SpoolFolderEntry::Description},
    {"PrinterName", &SpoolFolderEntry::PrinterName},
    {"PrinterDriver", &SpoolFolderEntry::PrinterDriver},
    {"PrinterPort", &SpoolFolderEntry::PrinterPort},
};

// The record as the lines of the settings file: everything else in it stays. False
// when a value cannot be a line of the file; `refused` then names its setting.
bool PutRecord(const StationSettings& s, IniFile& ini, std::string& refused)
{
    auto put = [&](const char* section, const std::string& key, const std::string& value) {
        if (ini.SetValue(section, key, value))
            return true;
        if (refused.empty())
            refused = std::string(section) == kMain ? key : std::string(section) + "/" + key;
        return false;
    };
    bool ok = true;
    for (const MainKey& key : kMainKeys) {
        std::string value = key.number ? std::to_string(s.*key.number) : s.*key.text;
        if (IsPassword(key))
            value = ScramblePassword(value, kPasswordLead, kPasswordTrailer, kPasswordSpacing);
        ok = put(kMain, key.name, value) && ok;
    }
    ini.RemoveSection(kMainFolderList);
    for (std::size_t n = 1; n <= s.MainFolders.size(); ++n)
        ok = put(kMainFolderList, Numbered("FOLDER", n), s.MainFolders[n - 1]) && ok;
    ini.RemoveSection(kSpoolFolderList);
    for (std::size_t n = 1; n <= s.SpoolFolders.size(); ++n) {
        for (const EntryKey& key : kEntryKeys)
            ok = put(kSpoolFolderList, Numbered(key.name, n), s.SpoolFolders[n - 1].*key.field) && ok;
    }
    return ok;
}

}  // namespace

std::string StationSettings::DefaultLogFileName() const
{
    return ProgramFolder + (TessalineMode == 1 ? "/ts_print.log" : "/kv_print.log");
}

void LoadSettings(StationSettings& s)
{
    IniFile ini(s.IniPath);
    ini.Load();
    const StationSettings defaults = [&] {
        StationSettings d;
        d.LogFileName = s.DefaultLogFileName();
        d.SpoolDir = s.ProgramFolder;
        return d;
    }();
    for (const MainKey& key : kMainKeys) {
        if (key.number) {
            s.*key.number = ini.ReadInt(kMain, key.name, defaults.*key.number);
        } else {
            s.*key.text = ini.ReadText(kMain, key.name, defaults.*key.text);
            if (IsPassword(key))
                s.*key.text = UnscramblePassword(s.*key.text, kPasswordLead, kPasswordTrailer, kPasswordSpacing);
        }
    }
    s.KorvidMode = ini.ReadInt(kMain, "KorvidMode", 1);

    // Both lists end at the first entry whose folder is empty or blank.
    auto read = [&](const char* section, const char* name, std::size_t n) {
        return StripWhiteSpace(ini.ReadText(section, Numbered(name, n), ""));
    };
    s.MainFolders.clear();
    for (std::size_t n = 1;; ++n) {
        std::string folder = read(kMainFolderList, "FOLDER", n);
        if (folder.empty())
            break;
        s.MainFolders.push_back(std::move(folder));
    }
    s.SpoolFolders.clear();
    for (std::size_t n = 1; !read(kSpoolFolderList, "FOLDER", n).empty(); ++n) {
        SpoolFolderEntry entry;
        for (const EntryKey& key : kEntryKeys)
            entry.*key.field = read(kSpoolFolderList, key.name, n);
        s.SpoolFolders.push_back(std::move(entry));
    }
}

bool WriteSettingsFile(const StationSettings& s, std::string* error)
{
    IniFile ini(s.IniPath);
    std::string refused;
    // A file that exists but cannot be read is never replaced by the record alone.
    bool saved = ini.Load() && PutRecord(s, ini, refused) && ini.Save();
    if (!saved && error)
        *error = refused.empty() ? LastErrorText() : "Die Einstellung " + refused + " enthält einen Zeilenumbruch.";
    return saved;
}
