// Small file-system and settings-file operations that the settings store and the
// spool engine rest on. An operation that fails says so in its result, and with a text
// for the user where its caller asks for one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Settings file. A missing or unreadable file reads as all defaults. An empty file name
// means the station has no settings file: reads give the defaults, writes do nothing
// and succeed.
std::string ReadIniText(const std::string& section, const std::string& key,
                        const std::string& defaultValue, const std::string& file);
int ReadIniInt(const std::string& section, const std::string& key, int defaultValue,
               const std::string& file);
// A null key and a null value delete the whole section; a null value deletes the key.
// A failed write fills *error with the "could not write ini-key" text; all three null
// (the flush request) never fails.
bool WriteIniText(const char* section, const char* key, const char* value, const std::string& file,
                  std::string* error = nullptr);
bool WriteIniInt(const char* section, const char* key, int value, const std::string& file,
                 std::string* error = nullptr);

// True when the path is not empty and readable; files and folders alike.
bool PathExists(const std::string& path);
// Size in bytes, or -1.
std::int64_t FileSize(const std::string& path);
// The absolute path of a relative path; "" for "".
std::string FullPath(const std::string& path);
// Copies source to target (relative to folder when the folder is given and exists);
// fails when the target exists and overwrite is false.
bool CopyFileIn(const std::string& source, const std::string& target, bool overwrite,
                const std::string& folder = "");
// Cuts the text at each delimiter, trims the pieces and keeps the non-empty ones.
// False, and the list untouched, for an empty text or empty delimiters.
bool SplitList(const std::string& text, const std::string& delimiters, std::vector<std::string>& list);
// Creates the folder and every missing parent; "/" and "\\" both separate. Stops at the
// first folder it cannot create and fills *error with the text that names it.
bool ut_create_complete_path(const std::string& path, std::string* error);
// The text of errno.
std::string LastErrorText();
