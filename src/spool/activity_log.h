// The activity log: every notable event becomes one numbered, time-stamped line in the
// main window's list and, with DoLog = 1, in the log file.
#pragma once

#include "config/station_settings.h"
#include "platform/log_list.h"
#include "platform/log_viewer.h"

#include <cstdio>
#include <ctime>
#include <string>

enum class LogTarget { ListAndFile, ListOnly, FileOnly };

// Beyond this many lines the list loses its oldest lines in one block.
constexpr int kLogListLimit = 10000;
constexpr int kLogListTrim = 1000;

// The number of the last line made in this process; 0 before the first. Every line
// counts, whatever its target, and the count never restarts.
int LineCounter();

// "%02d.%02d. %02d:%02d:%02d": day, month, hour, minute, second; no year.
std::string LogTimeStamp(const std::tm& time);

class ActivityLog {
public:
    ActivityLog(const StationSettings& settings, LogList& list);
    ~ActivityLog();
    ActivityLog(const ActivityLog&) = delete;
    ActivityLog& operator=(const ActivityLog&) = delete;

    // Formats "<time stamp number> message" and hands it to its target. The file is
    // opened on the first line for it and stays open; each line is flushed. A file
    // that cannot be opened costs the line and nothing else.
    void AddLogLine(const std::string& message, LogTarget target = LogTarget::ListAndFile);

    // Warns, without refusing anything, when the log file has grown beyond
    // LogFileMaxSize KBytes.
    void CheckLogFileSize() const;
    // Opens the log file in the desktop's viewer, or says that there is none.
    void ViewLog(LogViewer& viewer) const;
    // Asks, then closes and deletes the log file. The numbering goes on.
    void ClearLog();
    void CloseLogFile();
    bool IsLogFileOpen() const { return file_ != nullptr; }
    // The two log commands of the menu are enabled only while DoLog = 1.
    bool CommandsEnabled() const { return settings_.DoLog == 1; }

private:
    const StationSettings& settings_;
    LogList& list_;
    std::FILE* file_ = nullptr;
};
