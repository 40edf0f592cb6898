// A settings file that holds the store password and is readable by others than its
// user is reported in the log at start.
#pragma once

#include <string>

class ActivityLog;

// The warning for the settings file at `iniPath`; empty when only its user can read it,
// when it holds no store password, or when there is no such file.
std::string SettingsFileWarning(const std::string& iniPath);

// Logs the warning once, when there is one.
void WarnAboutSettingsFile(const std::string& iniPath, ActivityLog& log);
