#include "config/station_settings.h"

#include "config/file_utilities.h"
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

}  // namespace

std::string StationSettings::DefaultLogFileName() const
{
    return ProgramFolder + (TessalineMode == 1 ? "/ts_print.log" : "/kv_print.log");
}

void LoadSettings(StationSettings& s)
{
    const std::string& file = s.IniPath;
    auto text = [&](const char* key, const std::string& defaultValue) {
        return ReadIniText(kMain, key, defaultValue, file);
    };
    auto number = [&](const char* key, int defaultValue) {
        return ReadIniInt(kMain, key, defaultValue, file);
    };

    s.Polling_Rate = number("Polling_Rate", 60);
    const std::string defaultLogFile = s.DefaultLogFileName();
    s.LocalFsMode = number("LocalFsMode", 0);
    s.LocalMainDir = text("LocalMainDir", "");
    s.OnErrorLogOnly = number("OnErrorLogOnly", 0);
    s.AutoStart = number("AutoStart", 0);
    s.KorvidMode = number("KorvidMode", 1);
    s.DoLog = number("DoLog", 0);
    s.LogFileName = text("LogFileName", defaultLogFile);
    s.LogFileMaxSize = number("LogFileMaxSize", 20000);
    s.SpoolDir = text("SpoolDir", s.ProgramFolder);
    s.DlDir = text("DlDir", "");
    s.KV_Port = text("KV_Port", "80");
    s.KV_Server = text("KV_Server", kServiceHost);
    s.KV_Main_Dir = text("KV_Main_Dir", "korvid");
    s.KV_FTP_Store = text("KV_FTP_Store", kServiceHost);
    s.KV_FTP_Store_Dir = text("KV_FTP_Store_Dir", "/pub");
    s.KV_FTP_Store_User = text("KV_FTP_Store_User", "");
    s.KV_FTP_Store_Password = UnscramblePassword(text("KV_FTP_Store_Password", ""), kPasswordLead,
                                                 kPasswordTrailer, kPasswordSpacing);
    s.KV_Ftp_Passive = number("KV_Ftp_Passive", 0);
    s.KV_Sftp_Mode = number("KV_Sftp_Mode", 0);
    s.KV_Inst_ID = text("KV_Inst_ID", "");
    s.KV_Inst_Name = text("KV_Inst_Name", "");
    s.KV_Inst_Abbrev = text("KV_Inst_Abbrev", "");
    s.Printer_FrontSheet = text("Printer_FrontSheet", "");
    s.Printer_RL = text("Printer_RL", "");
    s.Printer_Delivery = text("Printer_Delivery", "");
    s.Printer_FrontSheet_Driver = text("Printer_FrontSheet_Driver", "");
    s.Printer_RL_Driver = text("Printer_RL_Driver", "");
    s.Printer_Delivery_Driver = text("Printer_Delivery_Driver", "");
    s.Printer_FrontSheet_Port = text("Printer_FrontSheet_Port", "");
    s.Printer_RL_Driver_Port = text("Printer_RL_Driver_Port", "");
    s.Printer_Delivery_Driver_Port = text("Printer_Delivery_Driver_Port", "");
    s.Printer_PDF_Prog = text("Printer_PDF_Prog", "");
    s.Printer_PDF_Prog_Params = text("Printer_PDF_Prog_Params", kDefaultPrintParams);

    // Both lists end at the first entry whose folder is empty or blank.
    s.MainFolders.clear();
    for (std::size_t n = 1;; ++n) {
        std::string folder = StripWhiteSpace(ReadIniText(kMainFolderList, Numbered("FOLDER", n), "", file));
        if (folder.empty())
            break;
        s.MainFolders.push_back(std::move(folder));
    }
    s.SpoolFolders.clear();
    for (std::size_t n = 1;; ++n) {
        SpoolFolderEntry entry;
        entry.Folder = StripWhiteSpace(ReadIniText(kSpoolFolderList, Numbered("FOLDER", n), "", file));
        if (entry.Folder.empty())
            break;
        entry.Description = StripWhiteSpace(ReadIniText(kSpoolFolderList, Numbered("Description", n), "", file));
        entry.PrinterName = StripWhiteSpace(ReadIniText(kSpoolFolderList, Numbered("PrinterName", n), "", file));
        entry.PrinterDriver = StripWhiteSpace(ReadIniText(kSpoolFolderList, Numbered("PrinterDriver", n), "", file));
        entry.PrinterPort = StripWhiteSpace(ReadIniText(kSpoolFolderList, Numbered("PrinterPort", n), "", file));
        s.SpoolFolders.push_back(std::move(entry));
    }
}

void SaveSettings(const StationSettings& s)
{
    const std::string& file = s.IniPath;
    auto text = [&](const char* key, const std::string& value) {
        WriteIniText(kMain, key, value.c_str(), file);
    };
    auto number = [&](const char* key, int value) {
        WriteIniInt(kMain, key, value, file);
    };

    number("Polling_Rate", s.Polling_Rate);
    number("AutoStart", s.AutoStart);
    number("LocalFsMode", s.LocalFsMode);
    number("OnErrorLogOnly", s.OnErrorLogOnly);
    text("LocalMainDir", s.LocalMainDir);
    number("DoLog", s.DoLog);
    text("LogFileName", s.LogFileName);
    number("LogFileMaxSize", s.LogFileMaxSize);
    text("SpoolDir", s.SpoolDir);
    text("DlDir", s.DlDir);
    text("KV_Port", s.KV_Port);
    text("KV_Server", s.KV_Server);
    text("KV_Main_Dir", s.KV_Main_Dir);
    text("KV_FTP_Store", s.KV_FTP_Store);
    text("KV_FTP_Store_Dir", s.KV_FTP_Store_Dir);
    text("KV_FTP_Store_User", s.KV_FTP_Store_User);
    text("KV_FTP_Store_Password",
         ScramblePassword(s.KV_FTP_Store_Password, kPasswordLead, kPasswordTrailer, kPasswordSpacing));
    number("KV_Ftp_Passive", s.KV_Ftp_Passive);
    number("KV_Sftp_Mode", s.KV_Sftp_Mode);
    text("KV_Inst_ID", s.KV_Inst_ID);
    text("KV_Inst_Name", s.KV_Inst_Name);
    text("KV_Inst_Abbrev", s.KV_Inst_Abbrev);
    text("Printer_FrontSheet", s.Printer_FrontSheet);
    text("Printer_RL", s.Printer_RL);
    text("Printer_Delivery", s.Printer_Delivery);
    text("Printer_FrontSheet_Driver", s.Printer_FrontSheet_Driver);
    text("Printer_RL_Driver", s.Printer_RL_Driver);
    text("Printer_Delivery_Driver", s.Printer_Delivery_Driver);
    text("Printer_FrontSheet_Port", s.Printer_FrontSheet_Port);
    text("Printer_RL_Driver_Port", s.Printer_RL_Driver_Port);
    text("Printer_Delivery_Driver_Port", s.Printer_Delivery_Driver_Port);
    text("Printer_PDF_Prog", s.Printer_PDF_Prog);
    text("Printer_PDF_Prog_Params", s.Printer_PDF_Prog_Params);

    WriteIniText(kMainFolderList, nullptr, nullptr, file);
    for (std::size_t n = 1; n <= s.MainFolders.size(); ++n)
        WriteIniText(kMainFolderList, Numbered("FOLDER", n).c_str(), s.MainFolders[n - 1].c_str(), file);

    WriteIniText(kSpoolFolderList, nullptr, nullptr, file);
    for (std::size_t n = 1; n <= s.SpoolFolders.size(); ++n) {
        const SpoolFolderEntry& entry = s.SpoolFolders[n - 1];
        WriteIniText(kSpoolFolderList, Numbered("FOLDER", n).c_str(), entry.Folder.c_str(), file);
        WriteIniText(kSpoolFolderList, Numbered("Description", n).c_str(), entry.Description.c_str(), file);
        WriteIniText(kSpoolFolderList, Numbered("PrinterName", n).c_str(), entry.PrinterName.c_str(), file);
        WriteIniText(kSpoolFolderList, Numbered("PrinterDriver", n).c_str(), entry.PrinterDriver.c_str(), file);
        WriteIniText(kSpoolFolderList, Numbered("PrinterPort", n).c_str(), entry.PrinterPort.c_str(), file);
    }
}
