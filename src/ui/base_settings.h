// The values the base settings dialog edits, taken from the settings record and, after
// "OK", handed back to it.
#pragma once

#include "config/station_settings.h"

#include <string>
#include <vector>

struct BaseSettings {
    int LocalFsMode = 0;
    std::string LocalMainDir;
    std::string KV_Server;
    std::string KV_Port;
    std::string KV_Main_Dir;
    std::string KV_FTP_Store;
    std::string KV_FTP_Store_User;
    std::string KV_FTP_Store_Password;
    std::string KV_FTP_Store_Dir;
    int KV_Ftp_Passive = 0;
    int KV_Sftp_Mode = 0;
    int KV_Ftp_Tls = 0;
    std::string KV_Ftp_Tls_Cert;  // no control: set by the store test's trust question
    int OnErrorLogOnly = 0;
    int Polling_Rate = 0;
    std::string SpoolDir;
    int DoLog = 0;
    std::string LogFileName;
    int LogFileMaxSize = 0;
    std::vector<std::string> MainFolders;
    std::string DlDir;  // handed back unchanged

    // Handed in only.
    int KorvidMode = 1;
    int TessalineMode = 0;
    std::string ProgramFolder;  // where the SFTP component is loaded from

    bool operator==(const BaseSettings&) const = default;
};

BaseSettings BaseSettingsOf(const StationSettings& settings);
// Every value the dialog hands back replaces the record's; the values handed in only
// stay as the record has them.
void TakeOverBaseSettings(const BaseSettings& values, StationSettings& settings);
