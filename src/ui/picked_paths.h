// What the base settings dialog makes of the paths its pickers return.
#pragma once

#include <string>

// The spool folder: without a trailing separator; the root stays "/".
std::string PickedSpoolFolder(const std::string& path);
// The local main folder: with exactly one trailing separator.
std::string PickedLocalFolder(const std::string& path);
// The log file: ".log" is appended to a file name without an extension.
std::string PickedLogFile(const std::string& path);
