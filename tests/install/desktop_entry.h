// Reads what a desktop menu reads from a desktop entry file.
#pragma once

#include <string>
#include <vector>

// The value of `key` in the group [Desktop Entry], with its escapes resolved (a
// backslash before s, n, t, r or another backslash); "" when the file or the key is
// missing.
std::string DesktopEntryValue(const std::string& file, const std::string& key);

// The program and arguments of an Exec value: blanks separate, double quotes group,
// and inside them a backslash takes the next character literally.
std::vector<std::string> ExecArguments(const std::string& exec);
