// How a failure on the store is told: in the error text that the failing routine logs
// when it ends, and, unless OnErrorLogOnly = 1, in a box the first time in the cycle that
// a failure of its kind (the text's format) is reported.
#pragma once

#include "config/station_settings.h"
#include "spool/document_source.h"

#include <set>
#include <string>

class RunState;

class StoreReport {
public:
    StoreReport(const StationSettings& settings, RunState& run) : settings_(settings), run_(run) {}

    // The protocol as the caption names it: "FTP" or "SFTP".
    void SetProtocol(const std::string& name) { protocol_ = name; }
    // "<text>\n<reason>\n\nServer-Response: err-code: <code>, '<response>'", the error
    // text; without a reason its line is left out.
    std::string Report(const std::string& kind, const std::string& text, const SourceError& error);
    // The log-in and a base folder: ticks are held back while their box is open.
    std::string LogInFailed(const SourceError& error);
    std::string BaseFolderFailed(const std::string& path, const SourceError& error);

private:
    const StationSettings& settings_;
    RunState& run_;
    std::string protocol_ = "FTP";
    std::set<std::string> shown_;
};
