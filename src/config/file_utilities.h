// Small file-system and settings-file operations that the settings store and the
// spool engine rest on. Failures they report themselves go to a message box.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Settings file. A missing or unreadable file reads as all defaults. An empty file name
// means the station has no settings file: reads give the defaults, writes do nothing
// and succeed without a box.
std::string ReadIniText(const std::string& section, const std::string& key,
                        const std::string& defaultValue, const std::string& file);
int ReadIniInt(const std::string& section, const std::string& key, int defaultValue,
               const std::string& file);
// A null key and a null value delete the whole section; a null value deletes the key.
// A failed write shows the "could not write ini-key" box (unless all three are null).
bool WriteIniText(const char* section, const char* key, const char* value, const std::string& file);
bool WriteIniInt(const char* section, const char* key, int value, const std::string& file);

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
// Creates the folder and every missing parent; "/" and "\\" both separate.
bool ut_create_complete_path(const std::string& path, bool showMessages);
// The text of errno.
std::string LastErrorText();
// A box with the task-modal bit added; caption "Frage:" when empty. An empty text
// shows nothing and answers Cancel.
int AskUser(const std::string& caption, const std::string& text, unsigned style);
