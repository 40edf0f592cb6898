#include "app/start_values.h"

#include <strings.h>

namespace {

std::string BaseNameWithoutExtension(const std::string& path)
{
    std::string name = path.substr(path.find_last_of('/') + 1);
    std::string::size_type dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

bool SameName(const std::string& a, const char* b)
{
    return strcasecmp(a.c_str(), b) == 0;
}

}  // namespace

StartValues DeriveStartValues(const std::string& programPath, const std::string& workingFolder,
                              const std::string& buildStamp)
{
    StartValues v;
    v.ProgramName = BaseNameWithoutExtension(programPath);
    v.TessalineMode = SameName(v.ProgramName, "ts_print") ? 1 : 0;

    v.ProgramFolder = workingFolder;
    if (!v.ProgramFolder.empty() && v.ProgramFolder.back() == '/')
        v.ProgramFolder.pop_back();

    if (SameName(v.ProgramName, "kv_print"))
        v.IniPath = v.ProgramFolder + "/kv_print.ini";
    else if (v.TessalineMode)
        v.IniPath = v.ProgramFolder + "/ts_print.ini";

    v.VersionText = std::string(v.TessalineMode ? "Tessaline" : "KORVID")
                    + "-PDF-Ausgabeprogramm Version " STATION_VERSION " (" + buildStamp + ")";
    v.WindowTitle = v.ProgramName + " - " + v.VersionText;
    v.AboutText = v.TessalineMode ? "Info über ts_print" : "Info über kv_print";
    return v;
}

std::string BuildStamp()
{
    return std::string(__DATE__) + " " + __TIME__;
}
