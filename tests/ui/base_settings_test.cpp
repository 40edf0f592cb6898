#include "ui/base_settings.h"

#include <gtest/gtest.h>

TEST(BaseSettings, TakesOverWhatTheDialogEditsAndNothingElse)
{
    StationSettings settings;
    settings.KorvidMode = 0;
    settings.TessalineMode = 1;
    settings.ProgramFolder = "/opt/station";
    settings.KV_Inst_ID = "4711";
    settings.Printer_RL = "Rot";
    settings.AutoStart = 1;
    settings.SpoolFolders = {{"Aus", "DELV", "", "", ""}};

    BaseSettings values = BaseSettingsOf(settings);
    EXPECT_EQ(values.KorvidMode, 0);
    EXPECT_EQ(values.TessalineMode, 1);
    EXPECT_EQ(values.ProgramFolder, "/opt/station");
    values.LocalFsMode = 1;
    values.LocalMainDir = "/srv/quelle/";
    values.KV_Server = "web.example.org";
    values.KV_Port = "8080x";
    values.KV_Main_Dir = "kv";
    values.KV_FTP_Store = "ftp.example.org";
    values.KV_FTP_Store_User = "nutzer";
    values.KV_FTP_Store_Password = " geheim ";
    values.KV_FTP_Store_Dir = "/lager";
    values.KV_Ftp_Passive = 1;
    values.KV_Sftp_Mode = 1;
    values.KV_Ftp_Tls = 1;
    values.KV_Ftp_Tls_Cert = "AB:CD";
    values.OnErrorLogOnly = 1;
    values.Polling_Rate = 0;
    values.SpoolDir = "/srv/spool";
    values.DoLog = 1;
    values.LogFileName = "/srv/history.log";
    values.LogFileMaxSize = 1000;
    values.MainFolders = {"nord", "süd"};
    values.DlDir = "/srv/dl";
    // Handed in only: these never reach the record.
    values.KorvidMode = 1;
    values.TessalineMode = 0;
    values.ProgramFolder = "/elsewhere";

    TakeOverBaseSettings(values, settings);
    BaseSettings back = BaseSettingsOf(settings);
    EXPECT_EQ(back.KorvidMode, 0);
    EXPECT_EQ(back.TessalineMode, 1);
    EXPECT_EQ(back.ProgramFolder, "/opt/station");
    back.KorvidMode = 1;
    back.TessalineMode = 0;
    back.ProgramFolder = "/elsewhere";
    EXPECT_EQ(back, values);
    EXPECT_EQ(settings.KV_Inst_ID, "4711");
    EXPECT_EQ(settings.Printer_RL, "Rot");
    EXPECT_EQ(settings.AutoStart, 1);
    EXPECT_EQ(settings.SpoolFolders.size(), 1u);
}
