// What the station derives at start from the name it was started under and the
// folder it was started in: product mode, program name, folders, texts.
#pragma once

#include <string>

struct StartValues {
    std::string ProgramName;    // as started, without folder and extension
    int TessalineMode = 0;      // started as ts_print (any letter case)
    std::string ProgramFolder;  // working folder at start, no trailing "/"
    std::string IniPath;        // "" when started under neither known name
    std::string VersionText;
    std::string WindowTitle;    // "%s - %s": program name, version text
    std::string AboutText;      // "Info über kv_print" / "Info über ts_print"
};

// buildStamp is the build's date and time as "Jun 25 2013 16:27:31".
StartValues DeriveStartValues(const std::string& programPath, const std::string& workingFolder,
                              const std::string& buildStamp);

// The date and time this program was built, in the form above.
std::string BuildStamp();
