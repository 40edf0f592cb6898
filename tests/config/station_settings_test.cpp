#include "config/station_settings.h"

#include "config/file_utilities.h"
#include "support/scratch_folder.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {

StationSettings FreshSettings(const std::string& iniPath, const std::string& programFolder = "/opt/station")
{
    StationSettings settings;
    settings.IniPath = iniPath;
    settings.ProgramFolder = programFolder;
    return settings;
}

// Key names of one section, in file order.
std::vector<std::string> KeysOf(const std::string& content, const std::string& section)
{
    std::vector<std::string> keys;
    std::istringstream lines(content);
    bool inside = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line[0] == '[')
            inside = line == "[" + section + "]";
        else if (inside && line.find('=') != std::string::npos)
            keys.push_back(line.substr(0, line.find('=')));
    }
    return keys;
}

}  // namespace

TEST(StationSettings, DefaultsWithoutAFile)
{
    ScratchFolder folder;
    for (int tessaline : {0, 1}) {
        StationSettings settings = FreshSettings(folder / "none.ini", "/srv/print");
        settings.TessalineMode = tessaline;
        settings.AutoStart = 1;
        settings.MainFolders = {"stale"};
        settings.SpoolFolders = {SpoolFolderEntry{"d", "f", "p", "", ""}};
        LoadSettings(settings);
        EXPECT_EQ(settings.Polling_Rate, 60);
        EXPECT_EQ(settings.AutoStart, 0);
        EXPECT_EQ(settings.OnErrorLogOnly, 0);
        EXPECT_EQ(settings.KorvidMode, 1);
        EXPECT_EQ(settings.LocalFsMode, 0);
        EXPECT_EQ(settings.KV_Server, kServiceHost);
        EXPECT_EQ(settings.KV_FTP_Store, kServiceHost);
        EXPECT_EQ(settings.KV_Port, "80");
        EXPECT_EQ(settings.KV_Main_Dir, "korvid");
        EXPECT_EQ(settings.KV_FTP_Store_Dir, "/pub");
        EXPECT_EQ(settings.KV_FTP_Store_Password, "");
        EXPECT_EQ(settings.LogFileMaxSize, 20000);
        EXPECT_EQ(settings.SpoolDir, "/srv/print");
        EXPECT_EQ(settings.LogFileName, tessaline ? "/srv/print/ts_print.log" : "/srv/print/kv_print.log");
        EXPECT_EQ(settings.Printer_PDF_Prog_Params, "-dPDFFitPage -color -printer \"$PRINTER$\" $FILE$");
        EXPECT_EQ(settings.Printer_PDF_Prog, "");
        EXPECT_TRUE(settings.MainFolders.empty());
        EXPECT_TRUE(settings.SpoolFolders.empty());
    }
    EXPECT_STREQ(kServiceHost, "korvid.example.org");
}

TEST(StationSettings, SaveAndLoadEveryKeyAndBothLists)
{
    ScratchFolder folder;
    StationSettings saved = FreshSettings(folder / "kv_print.ini");
    int n = 0;
    for (int* field : {&saved.AutoStart, &saved.Polling_Rate, &saved.OnErrorLogOnly, &saved.LocalFsMode,
                       &saved.KV_Ftp_Passive, &saved.KV_Sftp_Mode, &saved.KV_Ftp_Tls, &saved.DoLog,
                       &saved.LogFileMaxSize})
        *field = 100 + n++;
    for (std::string* field :
         {&saved.LocalMainDir, &saved.KV_Server, &saved.KV_Port, &saved.KV_Main_Dir, &saved.KV_Inst_ID,
          &saved.KV_Inst_Name, &saved.KV_Inst_Abbrev, &saved.KV_FTP_Store, &saved.KV_FTP_Store_Dir,
          &saved.KV_FTP_Store_User, &saved.KV_FTP_Store_Password, &saved.LogFileName,
          &saved.Printer_FrontSheet, &saved.Printer_RL, &saved.Printer_Delivery,
          &saved.Printer_FrontSheet_Driver, &saved.Printer_RL_Driver, &saved.Printer_Delivery_Driver,
          &saved.Printer_FrontSheet_Port, &saved.Printer_RL_Driver_Port, &saved.Printer_Delivery_Driver_Port,
          &saved.Printer_PDF_Prog, &saved.SpoolDir, &saved.DlDir, &saved.KV_Ftp_Tls_Cert})
        *field = "value " + std::to_string(n++) + " \xc3\xa4";
    saved.Printer_PDF_Prog_Params = "\"$FILE$\" -printer \"$PRINTER$\"";
    saved.KV_Inst_Name = " padded ";
    saved.MainFolders = {"Main A", "Main B", "Main C"};
    saved.SpoolFolders = {{"Fernleihe", "FL", "lp0", "drv0", "usb://0"},
                          {"Kopien", "KOP", "lp1", "drv1", "ipp://host/1"}};
    EXPECT_TRUE(WriteSettingsFile(saved, nullptr));

    StationSettings loaded = FreshSettings(folder / "kv_print.ini");
    LoadSettings(loaded);
    EXPECT_EQ(loaded.AutoStart, saved.AutoStart);
    EXPECT_EQ(loaded.Polling_Rate, saved.Polling_Rate);
    EXPECT_EQ(loaded.OnErrorLogOnly, saved.OnErrorLogOnly);
    EXPECT_EQ(loaded.LocalFsMode, saved.LocalFsMode);
    EXPECT_EQ(loaded.KV_Ftp_Passive, saved.KV_Ftp_Passive);
    EXPECT_EQ(loaded.KV_Sftp_Mode, saved.KV_Sftp_Mode);
    EXPECT_EQ(loaded.KV_Ftp_Tls, saved.KV_Ftp_Tls);
    EXPECT_EQ(loaded.KV_Ftp_Tls_Cert, saved.KV_Ftp_Tls_Cert);
    EXPECT_EQ(loaded.DoLog, saved.DoLog);
    EXPECT_EQ(loaded.LogFileMaxSize, saved.LogFileMaxSize);
    EXPECT_EQ(loaded.LocalMainDir, saved.LocalMainDir);
    EXPECT_EQ(loaded.KV_Server, saved.KV_Server);
    EXPECT_EQ(loaded.KV_Port, saved.KV_Port);
    EXPECT_EQ(loaded.KV_Main_Dir, saved.KV_Main_Dir);
    EXPECT_EQ(loaded.KV_Inst_ID, saved.KV_Inst_ID);
    EXPECT_EQ(loaded.KV_Inst_Name, saved.KV_Inst_Name);
    EXPECT_EQ(loaded.KV_Inst_Abbrev, saved.KV_Inst_Abbrev);
    EXPECT_EQ(loaded.KV_FTP_Store, saved.KV_FTP_Store);
    EXPECT_EQ(loaded.KV_FTP_Store_Dir, saved.KV_FTP_Store_Dir);
    EXPECT_EQ(loaded.KV_FTP_Store_User, saved.KV_FTP_Store_User);
    EXPECT_EQ(loaded.KV_FTP_Store_Password, saved.KV_FTP_Store_Password);
    EXPECT_EQ(loaded.LogFileName, saved.LogFileName);
    EXPECT_EQ(loaded.Printer_FrontSheet, saved.Printer_FrontSheet);
    EXPECT_EQ(loaded.Printer_RL, saved.Printer_RL);
    EXPECT_EQ(loaded.Printer_Delivery, saved.Printer_Delivery);
    EXPECT_EQ(loaded.Printer_FrontSheet_Driver, saved.Printer_FrontSheet_Driver);
    EXPECT_EQ(loaded.Printer_RL_Driver, saved.Printer_RL_Driver);
    EXPECT_EQ(loaded.Printer_Delivery_Driver, saved.Printer_Delivery_Driver);
    EXPECT_EQ(loaded.Printer_FrontSheet_Port, saved.Printer_FrontSheet_Port);
    EXPECT_EQ(loaded.Printer_RL_Driver_Port, saved.Printer_RL_Driver_Port);
    EXPECT_EQ(loaded.Printer_Delivery_Driver_Port, saved.Printer_Delivery_Driver_Port);
    EXPECT_EQ(loaded.Printer_PDF_Prog, saved.Printer_PDF_Prog);
    EXPECT_EQ(loaded.Printer_PDF_Prog_Params, saved.Printer_PDF_Prog_Params);
    EXPECT_EQ(loaded.SpoolDir, saved.SpoolDir);
    EXPECT_EQ(loaded.DlDir, saved.DlDir);
    EXPECT_EQ(loaded.MainFolders, saved.MainFolders);
    EXPECT_EQ(loaded.SpoolFolders, saved.SpoolFolders);

    const std::string content = ReadTestFile(folder / "kv_print.ini");
    EXPECT_EQ(KeysOf(content, "MAIN"),
              (std::vector<std::string>{
                  "Polling_Rate", "AutoStart", "LocalFsMode", "OnErrorLogOnly", "LocalMainDir", "DoLog",
                  "LogFileName", "LogFileMaxSize", "SpoolDir", "DlDir", "KV_Port", "KV_Server",
                  "KV_Main_Dir", "KV_FTP_Store", "KV_FTP_Store_Dir", "KV_FTP_Store_User",
                  "KV_FTP_Store_Password", "KV_Ftp_Passive", "KV_Sftp_Mode", "KV_Ftp_Tls", "KV_Ftp_Tls_Cert",
                  "KV_Inst_ID", "KV_Inst_Name",
                  "KV_Inst_Abbrev", "Printer_FrontSheet", "Printer_RL", "Printer_Delivery",
                  "Printer_FrontSheet_Driver", "Printer_RL_Driver", "Printer_Delivery_Driver",
                  "Printer_FrontSheet_Port", "Printer_RL_Driver_Port", "Printer_Delivery_Driver_Port",
                  "Printer_PDF_Prog", "Printer_PDF_Prog_Params"}));
    EXPECT_EQ(KeysOf(content, "MAIN_FOLDER_LIST"), (std::vector<std::string>{"FOLDER1", "FOLDER2", "FOLDER3"}));
    EXPECT_EQ(KeysOf(content, "SPOOL_FOLDER_LIST"),
              (std::vector<std::string>{"FOLDER1", "Description1", "PrinterName1", "PrinterDriver1",
                                        "PrinterPort1", "FOLDER2", "Description2", "PrinterName2",
                                        "PrinterDriver2", "PrinterPort2"}));
    EXPECT_EQ(content.find(saved.KV_FTP_Store_Password), std::string::npos);
}

TEST(StationSettings, GapInTheSpoolFolderNumberingEndsTheList)
{
    ScratchFolder folder;
    const std::string file = folder / "ts_print.ini";
    WriteTestFile(file,
              "[SPOOL_FOLDER_LIST]\n"
              "FOLDER1= FL \nDescription1= Fernleihe \nPrinterName1=lp0\n"
              "FOLDER2=KOP\nPrinterPort2=usb://1\n"
              "FOLDER4=LOST\nDescription4=lost\n");
    StationSettings settings = FreshSettings(file);
    LoadSettings(settings);
    ASSERT_EQ(settings.SpoolFolders.size(), 2u);
    EXPECT_EQ(settings.SpoolFolders[0], (SpoolFolderEntry{"Fernleihe", "FL", "lp0", "", ""}));
    EXPECT_EQ(settings.SpoolFolders[1], (SpoolFolderEntry{"", "KOP", "", "", "usb://1"}));

    WriteSettingsFile(settings, nullptr);
    const std::string content = ReadTestFile(file);
    EXPECT_EQ(content.find("FOLDER4"), std::string::npos);
    EXPECT_EQ(content.find("Description4"), std::string::npos);
    StationSettings again = FreshSettings(file);
    LoadSettings(again);
    EXPECT_EQ(again.SpoolFolders, settings.SpoolFolders);
}

TEST(StationSettings, BlankFolderEntryEndsAList)
{
    ScratchFolder folder;
    const std::string file = folder / "ts_print.ini";
    WriteTestFile(file,
              "[MAIN_FOLDER_LIST]\nFOLDER1=  first  \nFOLDER2=\"   \"\nFOLDER3=third\n"
              "[SPOOL_FOLDER_LIST]\nFOLDER1=\t\nDescription1=unused\n");
    StationSettings settings = FreshSettings(file);
    LoadSettings(settings);
    EXPECT_EQ(settings.MainFolders, std::vector<std::string>{"first"});
    EXPECT_TRUE(settings.SpoolFolders.empty());
}

TEST(StationSettings, KorvidModeIsReadButNeverWritten)
{
    ScratchFolder folder;
    const std::string file = folder / "kv_print.ini";
    StationSettings settings = FreshSettings(file);
    settings.KorvidMode = 0;
    WriteSettingsFile(settings, nullptr);
    EXPECT_EQ(ReadTestFile(file).find("KorvidMode"), std::string::npos);
    LoadSettings(settings);
    EXPECT_EQ(settings.KorvidMode, 1);

    WriteIniText("MAIN", "KorvidMode", "0", file);
    LoadSettings(settings);
    EXPECT_EQ(settings.KorvidMode, 0);
    settings.KorvidMode = 1;
    WriteSettingsFile(settings, nullptr);
    EXPECT_NE(ReadTestFile(file).find("KorvidMode=0\n"), std::string::npos);
}

TEST(StationSettings, PasswordIsStoredScrambled)
{
    ScratchFolder folder;
    const std::string file = folder / "kv_print.ini";
    StationSettings settings = FreshSettings(file);
    WriteSettingsFile(settings, nullptr);
    EXPECT_EQ(ReadIniText("MAIN", "KV_FTP_Store_Password", "", file).size(), 16u);
    LoadSettings(settings);
    EXPECT_EQ(settings.KV_FTP_Store_Password, "");

    settings.KV_FTP_Store_Password = "lager-Passwort";
    WriteSettingsFile(settings, nullptr);
    const std::string first = ReadIniText("MAIN", "KV_FTP_Store_Password", "", file);
    WriteSettingsFile(settings, nullptr);
    const std::string second = ReadIniText("MAIN", "KV_FTP_Store_Password", "", file);
    EXPECT_NE(first, second);
    for (const std::string& text : {first, second}) {
        WriteIniText("MAIN", "KV_FTP_Store_Password", text.c_str(), file);
        StationSettings loaded = FreshSettings(file);
        LoadSettings(loaded);
        EXPECT_EQ(loaded.KV_FTP_Store_Password, "lager-Passwort");
    }

    settings.KV_FTP_Store_Password = std::string(5332, 'p');
    WriteSettingsFile(settings, nullptr);
    EXPECT_NE(ReadTestFile(file).find("KV_FTP_Store_Password=\n"), std::string::npos);
    LoadSettings(settings);
    EXPECT_EQ(settings.KV_FTP_Store_Password, "");
}

TEST(StationSettings, ForeignLinesSurviveASave)
{
    ScratchFolder folder;
    const std::string file = folder / "kv_print.ini";
    const std::string foreignHead = "; settings of another program\n[Window]\nLeft=10\nTop=20\n\n";
    const std::string foreignTail = "\n[Recent Files]\nFile1=/home/a.txt\n; end\n";
    WriteTestFile(file, foreignHead + "[MAIN]\nPolling_Rate=30\n; keep this\nFavourite=blue\n" + foreignTail);
    StationSettings settings = FreshSettings(file);
    LoadSettings(settings);
    EXPECT_EQ(settings.Polling_Rate, 30);
    WriteSettingsFile(settings, nullptr);

    const std::string content = ReadTestFile(file);
    EXPECT_EQ(content.rfind(foreignHead + "[MAIN]\nPolling_Rate=30\n; keep this\nFavourite=blue\nAutoStart=0\n", 0), 0u);
    EXPECT_NE(content.find(foreignTail), std::string::npos);
}

TEST(StationSettings, AByteOrderMarkIsReadOverAndANewFileIsTheOwnersOnly)
{
    ScratchFolder folder;
    const std::string file = folder / "kv_print.ini";
    WriteTestFile(file, "\xEF\xBB\xBF[MAIN]\nPolling_Rate=30\n");
    StationSettings settings = FreshSettings(file);
    LoadSettings(settings);
    EXPECT_EQ(settings.Polling_Rate, 30);
    WriteSettingsFile(settings, nullptr);
    const std::string content = ReadTestFile(file);
    EXPECT_EQ(content.rfind("[MAIN]\nPolling_Rate=30\n", 0), 0u);
    EXPECT_EQ(content.find("[MAIN]", 1), std::string::npos);
    settings.IniPath = folder / "new.ini";
    WriteSettingsFile(settings, nullptr);
    EXPECT_EQ(std::filesystem::status(settings.IniPath).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}
