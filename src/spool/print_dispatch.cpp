#include "spool/print_dispatch.h"

#include "config/file_utilities.h"
#include "platform/process_runner.h"
#include "spool/command_line.h"
#include "spool/pdf_search.h"
#include "spool/program_message.h"
#include "spool/spool_layout.h"
#include "spool/station.h"
#include "spool/text_format.h"
#include "support/sorted_string_list.h"

#include <algorithm>
#include <filesystem>
#include <list>
#include <map>
#include <set>

namespace {

// The folder as the print program will see it as its current folder.
std::string FullFolderPath(const std::string& folder)
{
    std::error_code error;
    std::filesystem::path full = std::filesystem::canonical(folder, error);
    if (error)
        full = std::filesystem::absolute(folder, error);
    return full.string();
}

// A failure is remembered while its file waits; a file of the same name that comes
// later is a new document. Files of subfolders belong to other categories.
void ForgetFailuresOfGoneFiles(std::map<std::string, int>& failed, const std::string& prefix,
                               const std::list<std::string>& paths)
{
    std::set<std::string> waiting(paths.begin(), paths.end());
    for (auto at = failed.lower_bound(prefix); at != failed.end() && at->first.starts_with(prefix);) {
        bool gone = at->first.find('/', prefix.size()) == std::string::npos && !waiting.count(at->first);
        at = gone ? failed.erase(at) : std::next(at);
    }
}

}  // namespace

bool RunPrintProgram(ProcessRunner& processes, const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& workingFolder, int& exitCode)
{
    if (program.empty())
        return false;
    exitCode = 0;
    return FitsCommandLine(program, arguments) && processes.Run(program, arguments, workingFolder, exitCode);
}

void PrintFile(Station& station, const std::string& folder, const std::string& fileName)
{
    const StationSettings& settings = station.Settings();
    ActivityLog& log = station.Log();
    ParamTable& params = station.Params();
    std::string path = folder + (folder.back() == '/' ? "" : "/") + fileName;
    long long kbytes = FileSize(path) / 1024;
    auto logStart = [&] {
        log.AddLogLine(FormatText("Drucke nun %s (%lldKB)", fileName.c_str(), kbytes), LogTarget::ListOnly);
        log.AddLogLine(FormatText("Druck: %s (%lld KB)", path.c_str(), kbytes), LogTarget::FileOnly);
    };
    // A document whose failure was logged is tried quietly: its lines come again only
    // when the outcome differs.
    std::map<std::string, int>& failed = station.Run().failedPrints;
    auto logged = failed.find(path);
    bool retried = logged != failed.end();
    if (!retried)
        logStart();

    std::vector<std::string> arguments = ExpandArguments(settings.Printer_PDF_Prog_Params, params);
    ProcessRunner& processes = station.Seams().processes;
    int code = 0;
    if (!RunPrintProgram(processes, settings.Printer_PDF_Prog, arguments, folder, code))
        code = -1;
    if (retried && logged->second == code)
        return;
    if (retried)
        logStart();
    if (code == 0) {
        failed.erase(path);
        RemovePrintedFile(folder, fileName, log, station.Leftovers());
        return;
    }
    failed[path] = code;
    log.AddLogLine(FormatText("Drucken der Datei: %s: %s hat Code %d zurückgeliefert!", fileName.c_str(),
                              settings.Printer_PDF_Prog.c_str(), code));
    std::string message = code == -1 ? "" : ProgramMessage(processes.LastErrorLine());
    if (!message.empty())
        log.AddLogLine(FormatText("Meldung des Druckprogramms: %s", message.c_str()));
}

void PrintFolder(Station& station, const std::string& folderName)
{
    const StationSettings& settings = station.Settings();
    ParamTable& params = station.Params();
    std::string folder = LocalSubfolder(LocalSpoolRoot(settings), folderName);
    params.SetParam("CWD", folderName);
    if (!PathExists(settings.Printer_PDF_Prog) || !PathExists(folder))
        return;

    std::string separator = folder.back() == '/' ? "" : "/";
    std::list<std::string> paths;
    for (const std::string& name : FindPdfFiles(folder)) {
        if (!station.Leftovers().Holds(folder + separator + name))
            paths.push_back(folder + separator + name);
    }
    ForgetFailuresOfGoneFiles(station.Run().failedPrints, folder + separator, paths);
    if (paths.empty())
        return;

    WaitCursor& cursor = station.Seams().waitCursor;
    DisplayFields& display = station.Seams().display;
    cursor.Show();
    display.SetFolderText(folderName);
    SortStringList(paths);
    std::string currentFolder = FullFolderPath(folder);
    for (const std::string& path : paths) {
        // "Stopp", or the end of the program: the rest waits for the next Start.
        if (station.Run().cycleEnding)
            break;
        std::string fileName = std::filesystem::path(path).filename().string();
        params.SetParam("FILENAME", path);
        params.SetParam("PATH", currentFolder);
        params.SetParam("FILE", fileName);
        display.SetFileText(fileName);
        PrintFile(station, folder, fileName);
    }
    display.SetFileText("");
    display.SetFolderText("");
    cursor.Hide();
}

void PrintAll(Station& station)
{
    std::vector<SpoolCategory> categories = SpoolCategories(station.Settings());
    if (!station.Settings().TessalineMode)
        std::reverse(categories.begin(), categories.end());
    for (const SpoolCategory& category : categories) {
        if (station.Run().cycleEnding)
            return;
        ParamTable& params = station.Params();
        params.SetParam("PRINTER", category.printer);
        params.SetParam("DRIVER", category.driver);
        params.SetParam("PORT", category.port);
        PrintFolder(station, category.folder);
    }
}
