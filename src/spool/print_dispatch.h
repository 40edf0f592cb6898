// The print stage: every PDF file of the local spool tree goes to the external print
// program, with the printer of its category; a file leaves the tree only when the
// program returned 0.
#pragma once

#include <string>
#include <vector>

class ActivityLog;
class ParamTable;
class PrintedLeftovers;
class ProcessRunner;
class WaitCursor;
struct StationSettings;

// What the print stage works with: the settings it reads, the log, the parameter table
// it fills, the printed files that could not leave their folder, and the desktop's wait
// cursor and process starter.
struct PrintContext {
    const StationSettings& settings;
    ActivityLog& log;
    ParamTable& params;
    PrintedLeftovers& leftovers;
    WaitCursor& waitCursor;
    ProcessRunner& processes;
};

// Starts the print program with the arguments, in the working folder, and waits for it.
// False, without touching exitCode, for an empty program path; false also when the
// program could not be started or its command line would pass the limit (exitCode is
// then 0).
bool RunPrintProgram(ProcessRunner& processes, const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& workingFolder, int& exitCode);

// Prints one file of a category folder with the template expanded on the parameter
// table; removes it from the folder when the program returned 0, otherwise logs the
// code (-1 when the program could not be started) and keeps it.
void PrintFile(const PrintContext& context, const std::string& folder, const std::string& fileName);

// Prints the PDF files of one category folder of the local spool tree in sorted order,
// with PRINTER, DRIVER and PORT as they are set; a printed file that could not leave
// the folder is passed over.
void PrintFolder(const PrintContext& context, const std::string& folderName);

// Prints every category: DELV, RL, FRONTSH in the Korvid mode, the spool folder
// list in its order in the Tessaline mode.
void PrintAll(const PrintContext& context);
