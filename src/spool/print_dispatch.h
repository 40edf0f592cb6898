// The print stage: every PDF file of the local spool tree goes to the external print
// program, with the printer of its category; a file leaves the tree only when the
// program returned 0.
#pragma once

#include <string>
#include <vector>

class ActivityLog;
class DisplayFields;
class ParamTable;
class PrintedLeftovers;
class PrintMemory;
class ProcessRunner;
class RunState;
class WaitCursor;
struct StationSettings;

// What the print stage works with: the settings it reads, the log, the parameter table
// it fills, the printed files that could not leave their folder, the desktop's wait
// cursor, fields and process starter, the failures it logged, and the run state that
// says whether the cycle ends after the document in hand.
struct PrintContext {
    const StationSettings& settings;
    ActivityLog& log;
    ParamTable& params;
    PrintedLeftovers& leftovers;
    WaitCursor& waitCursor;
    DisplayFields& display;
    ProcessRunner& processes;
    PrintMemory& failures;
    const RunState& run;
};

// Starts the print program with the arguments, in the working folder, and waits for it.
// False, without touching exitCode, for an empty program path; false also when the
// program could not be started or its command line would pass the limit (exitCode is
// then 0).
bool RunPrintProgram(ProcessRunner& processes, const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& workingFolder, int& exitCode);

// Prints one file of a category folder with the template expanded on the parameter
// table, logging "Drucke nun" and "Druck:" first; removes it from the folder when the
// program returned 0. Otherwise keeps it and logs the code (-1 when the program could
// not be started) and the last line the program wrote to its standard error. A file
// that fails again with the code logged for it is printed without any line; its lines
// come again with the first other outcome.
void PrintFile(const PrintContext& context, const std::string& folder, const std::string& fileName);

// Prints the PDF files of one category folder of the local spool tree in sorted order,
// with PRINTER, DRIVER and PORT as they are set, and shows the folder and the file in
// hand; a printed file that could not leave the folder is passed over. A cycle that is
// ending prints no further file.
void PrintFolder(const PrintContext& context, const std::string& folderName);

// Prints every category: DELV, RL, FRONTSH in the Korvid mode, the spool folder
// list in its order in the Tessaline mode.
void PrintAll(const PrintContext& context);
