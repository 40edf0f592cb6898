#include "ui/base_settings.h"

BaseSettings BaseSettingsOf(const StationSettings& settings)
{
    BaseSettings values;
    values.LocalFsMode = settings.LocalFsMode;
    values.LocalMainDir = settings.LocalMainDir;
    values.KV_Server = settings.KV_Server;
    values.KV_Port = settings.KV_Port;
    values.KV_Main_Dir = settings.KV_Main_Dir;
    values.KV_FTP_Store = settings.KV_FTP_Store;
    values.KV_FTP_Store_User = settings.KV_FTP_Store_User;
    values.KV_FTP_Store_Password = settings.KV_FTP_Store_Password;
    values.KV_FTP_Store_Dir = settings.KV_FTP_Store_Dir;
    values.KV_Ftp_Passive = settings.KV_Ftp_Passive;
    values.KV_Sftp_Mode = settings.KV_Sftp_Mode;
    values.KV_Ftp_Tls = settings.KV_Ftp_Tls;
    values.KV_Ftp_Tls_Cert = settings.KV_Ftp_Tls_Cert;
    values.OnErrorLogOnly = settings.OnErrorLogOnly;
    values.Polling_Rate = settings.Polling_Rate;
    values.SpoolDir = settings.SpoolDir;
    values.DoLog = settings.DoLog;
    values.LogFileName = settings.LogFileName;
    values.LogFileMaxSize = settings.LogFileMaxSize;
    values.MainFolders = settings.MainFolders;
    values.DlDir = settings.DlDir;
    values.KorvidMode = settings.KorvidMode;
    values.TessalineMode = settings.TessalineMode;
    values.ProgramFolder = settings.ProgramFolder;
    return values;
}

void TakeOverBaseSettings(const BaseSettings& values, StationSettings& settings)
{
    settings.LocalFsMode = values.LocalFsMode;
    settings.LocalMainDir = values.LocalMainDir;
    settings.KV_Server = values.KV_Server;
    settings.KV_Port = values.KV_Port;
    settings.KV_Main_Dir = values.KV_Main_Dir;
    settings.KV_FTP_Store = values.KV_FTP_Store;
    settings.KV_FTP_Store_User = values.KV_FTP_Store_User;
    settings.KV_FTP_Store_Password = values.KV_FTP_Store_Password;
    settings.KV_FTP_Store_Dir = values.KV_FTP_Store_Dir;
    settings.KV_Ftp_Passive = values.KV_Ftp_Passive;
    settings.KV_Sftp_Mode = values.KV_Sftp_Mode;
    settings.KV_Ftp_Tls = values.KV_Ftp_Tls;
    settings.KV_Ftp_Tls_Cert = values.KV_Ftp_Tls_Cert;
    settings.OnErrorLogOnly = values.OnErrorLogOnly;
    settings.Polling_Rate = values.Polling_Rate;
    settings.SpoolDir = values.SpoolDir;
    settings.DoLog = values.DoLog;
    settings.LogFileName = values.LogFileName;
    settings.LogFileMaxSize = values.LogFileMaxSize;
    settings.MainFolders = values.MainFolders;
    settings.DlDir = values.DlDir;
}
