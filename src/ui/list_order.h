// The order of the list dialogs' lines: by text, without regard to case.
#pragma once

#include <string>
#include <vector>

// Compares UTF-8 texts with the letters of ASCII and Latin-1 (A to Z, Ä, Ö, Ü, ...) folded
// to lower case.
bool LessWithoutCase(const std::string& a, const std::string& b);

// The position at which a line goes into lines kept in that order: after every line
// that does not come after it.
std::size_t SortedPosition(const std::vector<std::string>& lines, const std::string& line);
