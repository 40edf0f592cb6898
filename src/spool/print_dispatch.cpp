#include "spool/print_dispatch.h"

#include "config/file_utilities.h"
#include "platform/display_fields.h"
#include "platform/process_runner.h"
#include "platform/wait_cursor.h"
#include "spool/activity_log.h"
#include "spool/command_line.h"
#include "spool/param_table.h"
#include "spool/pdf_search.h"
#include "spool/printed_leftovers.h"
#include "spool/program_message.h"
#include "spool/run_state.h"
#include "spool/spool_layout.h"
#include "spool/text_format.h"
#include "support/sorted_string_list.h"

#include <algorithm>
#include <filesystem>
#include <list>

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
}  // namespace

bool RunPrintProgram(ProcessRunner& processes, const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& workingFolder, int& exitCode)
{
    if (program.empty())
        return false;
    exitCode = 0;
    return FitsCommandLine(program, arguments) && processes.Run(program, arguments, workingFolder, exitCode);
}

void PrintFile(const PrintContext& context, const std::string& folder, const std::string& fileName)
{
    const StationSettings& settings = context.settings;
    ActivityLog& log = context.log;
    ParamTable& params = context.params;
    std::string path = folder + (folder.back() == '/' ? "" : "/") + fileName;
    long long kbytes = FileSize(path) / 1024;
    auto logStart = [&] {
        log.AddLogLine(FormatText("Drucke nun %s (%lldKB)", fileName.c_str(), kbytes), LogTarget::ListOnly);
        log.AddLogLine(FormatText("Druck: %s (%lld KB)", path.c_str(), kbytes), LogTarget::FileOnly);
    };
    // A document whose failure was logged is tried quietly: its lines come again only
    // when the outcome differs.
    PrintMemory& failed = context.failures;
    std::optional<int> logged = failed.LoggedFailure(path);
    bool retried = logged.has_value();
    if (!retried)
        logStart();

    std::vector<std::string> arguments = ExpandArguments(settings.Printer_PDF_Prog_Params, params);
    ProcessRunner& processes = context.processes;
    int code = 0;
    if (!RunPrintProgram(processes, settings.Printer_PDF_Prog, arguments, folder, code))
        code = -1;
    if (retried && *logged == code)
        return;
    if (retried)
        logStart();
    if (code == 0) {
        failed.Printed(path);
        RemovePrintedFile(folder, fileName, log, context.leftovers);
        return;
    }
    failed.PrintFailed(path, code);
    log.AddLogLine(FormatText("Drucken der Datei: %s: %s hat Code %d zurückgeliefert!", fileName.c_str(),
                              settings.Printer_PDF_Prog.c_str(), code));
    std::string message = code == -1 ? "" : ProgramMessage(processes.LastErrorLine());
    if (!message.empty())
        log.AddLogLine(FormatText("Meldung des Druckprogramms: %s", message.c_str()));
}

void PrintFolder(const PrintContext& context, const std::string& folderName)
{
    const StationSettings& settings = context.settings;
    ParamTable& params = context.params;
    std::string folder = LocalSubfolder(LocalSpoolRoot(settings), folderName);
    params.SetParam("CWD", folderName);
    if (!PathExists(settings.Printer_PDF_Prog) || !PathExists(folder))
        return;

    std::string separator = folder.back() == '/' ? "" : "/";
    std::list<std::string> paths;
    for (const std::string& name : FindPdfFiles(folder)) {
        if (!context.leftovers.Holds(folder + separator + name))
            paths.push_back(folder + separator + name);
    }
    context.failures.KeepWaiting(folder + separator, paths);
    if (paths.empty())
        return;

    WaitCursor& cursor = context.waitCursor;
    DisplayFields& display = context.display;
    cursor.Show();
    display.SetFolderText(folderName);
    SortStringList(paths);
    std::string currentFolder = FullFolderPath(folder);
    for (const std::string& path : paths) {
        // "Stopp", or the end of the program: the rest waits for the next Start.
        if (context.run.CycleEnding())
            break;
        std::string fileName = std::filesystem::path(path).filename().string();
        params.SetParam("FILENAME", path);
        params.SetParam("PATH", currentFolder);
        params.SetParam("FILE", fileName);
        display.SetFileText(fileName);
        PrintFile(context, folder, fileName);
    }
    display.SetFileText("");
    display.SetFolderText("");
    cursor.Hide();
}

void PrintAll(const PrintContext& context)
{
    std::vector<SpoolCategory> categories = SpoolCategories(context.settings);
    if (!context.settings.TessalineMode)
        std::reverse(categories.begin(), categories.end());
    for (const SpoolCategory& category : categories) {
        if (context.run.CycleEnding())
            return;
        ParamTable& params = context.params;
        params.SetParam("PRINTER", category.printer);
        params.SetParam("DRIVER", category.driver);
        params.SetParam("PORT", category.port);
        PrintFolder(context, category.folder);
    }
}
