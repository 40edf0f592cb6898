#include "spool/spool_layout.h"

#include "config/file_utilities.h"
#include "platform/message_box.h"
#include "spool/activity_log.h"
#include "spool/text_format.h"

#include <algorithm>
#include <sys/stat.h>

namespace {

std::string Slashed(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// <folder>/SPOOL, without a doubled separator.
std::string SpoolBelow(const std::string& folder)
{
    std::string root = folder;
    if (!root.empty() && root.back() != '/' && root.back() != '\\')
        root += '/';
    return root + "SPOOL";
}

// One level, no parents; the result of the creation call (0, or -1).
int MakeFolder(const std::string& path)
{
    return mkdir(path.c_str(), 0777);
}

void ReportFolderNotCreated(const std::string& text)
{
    ShowMessageBox(text, "FEHLER", BoxStyle::Error);
}

bool CreateRoot(const std::string& root, const char* failureFormat, ActivityLog& log)
{
    if (PathExists(root)) {
        log.AddLogLine(FormatText("Spool-Verzeichnis ist: %s", root.c_str()));
        return true;
    }
    int result = MakeFolder(root);
    if (result != 0) {
        ReportFolderNotCreated(FormatText(failureFormat, result, root.c_str()));
        return false;
    }
    log.AddLogLine(FormatText("Verz. %s erzeugt!", root.c_str()));
    return true;
}

bool CreateKorvidFolders(const std::string& root, ActivityLog& log)
{
    if (!CreateRoot(root, "Fehler %d beim Erzeugen des Verzeichnisses: %s", log))
        return false;
    bool allThere = true;
    for (const char* folder : {"RL", "FRONTSH", "DELV"}) {
        std::string path = root + "/" + folder;
        if (PathExists(path))
            continue;
        int result = MakeFolder(path);
        if (result == 0) {
            log.AddLogLine(FormatText("Verz. %s erzeugt!", path.c_str()));
        } else {
            ReportFolderNotCreated(FormatText("Fehler %d beim Erzeugen des Verzeichnisses: %s", result, path.c_str()));
            allThere = false;
        }
    }
    return allThere;
}

bool CreateTessalineFolders(const std::string& root, const std::vector<SpoolFolderEntry>& entries,
                            ActivityLog& log)
{
    if (!CreateRoot(root, "1 Fehler %d beim Erzeugen des Verzeichnisses: %s", log))
        return false;
    bool allThere = true;
    for (const SpoolFolderEntry& entry : entries) {
        std::string path = Slashed(root + "/" + entry.Folder);
        if (PathExists(path))
            continue;
        std::string error;
        if (ut_create_complete_path(path, &error)) {
            log.AddLogLine(FormatText("Verz. %s erzeugt!", path.c_str()));
        } else {
            ShowMessageBox(error, "ERROR", BoxStyle::Error);
            ReportFolderNotCreated(FormatText("2 Fehler beim Erzeugen des Verzeichnisses: %s", path.c_str()));
            allThere = false;
        }
    }
    return allThere;
}

}  // namespace

std::vector<SpoolCategory> SpoolCategories(const StationSettings& settings)
{
    if (settings.TessalineMode) {
        std::vector<SpoolCategory> categories;
        for (const SpoolFolderEntry& entry : settings.SpoolFolders)
            categories.push_back({entry.Folder, entry.Description, entry.PrinterName, entry.PrinterDriver,
                                  entry.PrinterPort});
        return categories;
    }
    return {
        {"FRONTSH", "Deckblätter", settings.Printer_FrontSheet, settings.Printer_FrontSheet_Driver,
         settings.Printer_FrontSheet_Port},
        {"RL", "rote Leihscheine", settings.Printer_RL, settings.Printer_RL_Driver, settings.Printer_RL_Driver_Port},
        {"DELV", "Auslieferungen", settings.Printer_Delivery, settings.Printer_Delivery_Driver,
         settings.Printer_Delivery_Driver_Port},
    };
}

std::string LocalSpoolRoot(const StationSettings& settings)
{
    return SpoolBelow(settings.SpoolDir.empty() ? settings.ProgramFolder : settings.SpoolDir);
}

std::string LocalSubfolder(const std::string& folder, const std::string& name)
{
    return folder + "/" + Slashed(name);
}

std::string RemoteSpoolBase(const StationSettings& settings, const std::string& name)
{
    return settings.KV_FTP_Store_Dir + "/" + name + "/SPOOL";
}

std::string LocalSourceBase(const StationSettings& settings, const std::string& name)
{
    if (settings.TessalineMode)
        return LocalSubfolder(settings.LocalMainDir, name);
    return LocalSubfolder(settings.LocalMainDir, name) + "/SPOOL";
}

bool CreateSpoolFolders(const StationSettings& settings, ActivityLog& log)
{
    std::string root = LocalSpoolRoot(settings);
    if (settings.TessalineMode)
        return CreateTessalineFolders(root, settings.SpoolFolders, log);
    return CreateKorvidFolders(root, log);
}
