// The station's settings record and its settings file.
#pragma once

#include <string>
#include <vector>

// One spool folder of the Tessaline mode, with its printer.
struct SpoolFolderEntry {
    std::string Description;
    std::string Folder;
    std::string PrinterName;
    std::string PrinterDriver;
    std::string PrinterPort;

    bool operator==(const SpoolFolderEntry&) const = default;
};

// The host both server settings default to.
extern const char* const kServiceHost;
// The print program's parameter template until the user sets another.
extern const char* const kDefaultPrintParams;

struct StationSettings {
    // Keys of the section MAIN, in the order of the record.
    int AutoStart = 0;
    int Polling_Rate = 60;
    int OnErrorLogOnly = 0;
    int KorvidMode = 1;
    int LocalFsMode = 0;
    std::string LocalMainDir;
    std::string KV_Server = kServiceHost;
    std::string KV_Port = "80";
    std::string KV_Main_Dir = "korvid";
    std::string KV_Inst_ID;
    std::string KV_Inst_Name;
    std::string KV_Inst_Abbrev;
    std::string KV_FTP_Store = kServiceHost;
    std::string KV_FTP_Store_Dir = "/pub";
    std::string KV_FTP_Store_User;
    std::string KV_FTP_Store_Password;  // plain here, scrambled in the file
    int KV_Ftp_Passive = 0;
    int KV_Sftp_Mode = 0;
    int KV_Ftp_Tls = 0;           // 1: the FTP store only over TLS (explicit FTPS)
    std::string KV_Ftp_Tls_Cert;  // SHA-256 fingerprint of a store certificate the user trusts
    int DoLog = 0;
    std::string LogFileName;  // default: DefaultLogFileName()
    int LogFileMaxSize = 20000;
    std::string Printer_FrontSheet;
    std::string Printer_RL;
    std::string Printer_Delivery;
    std::string Printer_FrontSheet_Driver;
    std::string Printer_RL_Driver;
    std::string Printer_Delivery_Driver;
    std::string Printer_FrontSheet_Port;
    std::string Printer_RL_Driver_Port;
    std::string Printer_Delivery_Driver_Port;
    std::string Printer_PDF_Prog;
    std::string Printer_PDF_Prog_Params = kDefaultPrintParams;
    std::string SpoolDir;  // default: ProgramFolder
    std::string DlDir;

    // Not keys of MAIN.
    std::string IniPath;        // full path of the settings file; empty: no settings file
    std::string ProgramFolder;  // working folder at start, without a trailing separator
    int TessalineMode = 0;      // from the program's own name, never stored
    std::vector<std::string> MainFolders;        // section MAIN_FOLDER_LIST
    std::vector<SpoolFolderEntry> SpoolFolders;  // section SPOOL_FOLDER_LIST

    // ProgramFolder + "/kv_print.log", or "/ts_print.log" in the Tessaline mode.
    std::string DefaultLogFileName() const;
};

// Fills every field from the file at IniPath; missing keys take their defaults.
// Never fails. IniPath, ProgramFolder and TessalineMode must be set before.
void LoadSettings(StationSettings& settings);

// Writes the whole record to the file at IniPath in one replacement of the file, which
// is as it was when this fails. KorvidMode is never written.
bool WriteSettingsFile(const StationSettings& settings, std::string* error);
