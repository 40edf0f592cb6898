// The print program's command line: the template becomes an argument vector before any
// parameter is replaced, and no shell ever sees it.
#pragma once

#include "spool/param_table.h"

#include <string>
#include <vector>

// The longest command line "\"<program>\" <arguments>" the print program is given.
constexpr std::size_t kCommandLineLimit = 1020;

// Whether the program and its arguments, written as one command line, stay within the
// limit. A longer line is not cut: a cut file name could name another document.
bool FitsCommandLine(const std::string& program, const std::vector<std::string>& arguments);

// Blanks and tabs separate the arguments; double quotes group blanks into one argument
// and are removed (a pair of quotes alone gives an empty argument). Nothing else is
// special: ';', '$', '`' and the backslash are ordinary characters.
std::vector<std::string> SplitCommandLine(const std::string& text);

// The template split into arguments, then the parameters replaced inside each one:
// whatever a value holds (blanks, quotes, a leading '-', ';'), it stays inside the
// argument its parameter stands in. An unquoted argument that expands to nothing is
// dropped, as the blanks around it would have been; a quoted one stays, empty.
std::vector<std::string> ExpandArguments(const std::string& templateText, const ParamTable& table);
