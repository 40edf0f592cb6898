// The filter text of the program file selection: display names and patterns separated
// by "^", ended by "^^", as in "Programm-Dateien^*.exe^Alle Dateien^*.*^^".
#pragma once

#include <string>
#include <vector>

struct FileFilter {
    std::string name;
    std::string pattern;
};

// The filters in order; parsing stops at an empty name or a name without a pattern.
std::vector<FileFilter> ParseFileFilter(const std::string& text);
// The filter as the file dialog takes it, "Programm-Dateien (*.exe)". "*.*" means every
// file, also one without a dot in its name, and becomes "*".
std::string NameFilterText(const FileFilter& filter);

// The program file selection's filter text. A program of this platform has no
// extension of its own: the first filter shows every file.
extern const char* const kProgramFileFilter;
